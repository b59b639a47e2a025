#pragma once

#include <QString>
#include <QStringList>

// The program's one optional argument: a theme number for this run, or a
// request for the list of arguments.
struct CommandLineChoice
{
    bool showHelp = false;
    bool themeGiven = false; // a theme came from the command line; the stored one is not read
    int theme = 0;
};

inline const QString kCommandLineHelpText = QStringLiteral("コマンドライン引数\r\n0:Win/1:ライト/2:ダーク/3:Win10");

// arguments: the program's arguments without the program name.
CommandLineChoice parseCommandLine(const QStringList& arguments);
