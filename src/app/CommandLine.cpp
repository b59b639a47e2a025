#include "app/CommandLine.h"

CommandLineChoice parseCommandLine(const QStringList& arguments)
{
    CommandLineChoice choice;
    if (arguments.isEmpty())
        return choice;
    const QString first = arguments.first();
    if (first.contains(QLatin1String("help"), Qt::CaseInsensitive)) {
        choice.showHelp = true;
        return choice;
    }
    bool ok = false;
    const int number = first.trimmed().toInt(&ok);
    if (!ok)
        return choice;
    choice.themeGiven = true;
    choice.theme = (number < 0 || number > 3) ? 0 : number;
    return choice;
}
