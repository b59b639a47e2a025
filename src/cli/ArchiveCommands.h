#pragma once

#include "cli/CliCommands.h"

// "tallowin-cli archive ...": creating archives and the default archive.
int runArchiveCommand(const QStringList& arguments, CliStreams streams);

// The MailAccount rows of the configuration the program would use.
QStringList accountRowsInUse();
