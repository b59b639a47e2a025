#pragma once

#include <QStringList>
#include <QTextStream>

// The command-line program's commands. Each takes its arguments (after the
// command name) and the two output streams, and returns the exit status.
// The commands call the same core functions as the windows do.
struct CliStreams
{
    QTextStream& out;
    QTextStream& err;
};

int runCli(const QStringList& arguments, CliStreams streams);
