#include "platform/Shell.h"

#include "platform/ChildProcessRunner.h"

#include <QDir>
#include <QFile>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

XdgShell::XdgShell(ChildProcessRunner& runner)
    : m_runner(runner)
{ }

QString XdgShell::findDesktopEntry(const QString& desktopId)
{
    if (desktopId.isEmpty())
        return {};
    return QStandardPaths::locate(QStandardPaths::ApplicationsLocation, desktopId);
}

QString XdgShell::execOf(const QString& desktopEntryPath)
{
    QFile file(desktopEntryPath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    bool inEntry = false;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        if (line.startsWith(u'['))
            inEntry = line == QLatin1String("[Desktop Entry]");
        else if (inEntry && line.startsWith(QLatin1String("Exec=")))
            return line.mid(5);
    }
    return {};
}

QStringList XdgShell::commandFor(const QString& exec, const QString& path)
{
    // Exec values split like a shell would, with the field codes of the
    // Desktop Entry Specification replaced.
    QStringList words = QProcess::splitCommand(exec);
    QStringList command;
    bool fileGiven = false;
    for (const QString& word : words) {
        if (word == QLatin1String("%f") || word == QLatin1String("%F")) {
            command << path;
            fileGiven = true;
        } else if (word == QLatin1String("%u") || word == QLatin1String("%U")) {
            command << QUrl::fromLocalFile(path).toString();
            fileGiven = true;
        } else if (word == QLatin1String("%i") || word == QLatin1String("%c") || word == QLatin1String("%k")) {
            continue;
        } else {
            QString w = word;
            w.replace(QLatin1String("%%"), QLatin1String("%"));
            command << w;
        }
    }
    if (!fileGiven && !command.isEmpty())
        command << path;
    return command;
}

bool XdgShell::openAndWait(const QString& path)
{
    const QString type = QMimeDatabase().mimeTypeForFile(path).name();
    QProcess query;
    query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), type});
    QString desktopId;
    if (query.waitForFinished(5000))
        desktopId = QString::fromUtf8(query.readAllStandardOutput()).trimmed();
    const QStringList command = commandFor(execOf(findDesktopEntry(desktopId)), path);
    if (!command.isEmpty()) {
        const auto result = m_runner.runAndWait(command.first(), command.mid(1));
        return result.started;
    }
    if (QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty())
        return false;
    return m_runner.runAndWait(QStringLiteral("xdg-open"), {path}).started;
}
