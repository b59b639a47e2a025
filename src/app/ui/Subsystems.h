#pragma once

class TFrmQuillet;

// Attaches the subsystems' controllers to a new main window, in the order
// the program starts them: reading (with TNEF), then — unless creation
// stopped — the archive, which connects at once, with its list and the
// registration commands.
void attachSubsystems(TFrmQuillet& window);
