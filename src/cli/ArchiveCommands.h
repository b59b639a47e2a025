#pragma once

#include "cli/CliCommands.h"

// "tallowin-cli archive ...": creating archives and the default archive.
int runArchiveCommand(const QStringList& arguments, CliStreams streams);
