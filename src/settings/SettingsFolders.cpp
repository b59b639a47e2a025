#include "settings/SettingsFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

const QString kVendorFolder = QStringLiteral("Brenvale/Ledgerbox");

QString absoluteEnvFolder(const char* name)
{
    const QString value = qEnvironmentVariable(name);
    return QDir::isAbsolutePath(value) ? value : QString();
}

} // namespace

SettingsFolders SettingsFolders::locate(const QString& programFolder)
{
    SettingsFolders f;
    QString configHome = absoluteEnvFolder("XDG_CONFIG_HOME");
    if (configHome.isEmpty())
        configHome = QDir::homePath() + QStringLiteral("/.config");
    f.individual = QDir::cleanPath(configHome + u'/' + kVendorFolder);

    QString configDir;
    const QStringList dirs = qEnvironmentVariable("XDG_CONFIG_DIRS").split(u':', Qt::SkipEmptyParts);
    for (const QString& d : dirs) {
        if (QDir::isAbsolutePath(d)) {
            configDir = d;
            break;
        }
    }
    if (configDir.isEmpty())
        configDir = QStringLiteral("/etc/xdg");
    f.common = QDir::cleanPath(configDir + u'/' + kVendorFolder);

    f.initial = QDir::cleanPath(programFolder + QStringLiteral("/config"));
    return f;
}

QString SettingsFolders::chooseAppDataFolder() const
{
    if (!individual.isEmpty() && QFileInfo(individual).isDir())
        return individual;
    if (!common.isEmpty() && QFileInfo(common).isDir())
        return common;
    return initial;
}

QString programFolder()
{
    QString dir = QCoreApplication::applicationDirPath();
    if (!dir.endsWith(u'/'))
        dir += u'/';
    return dir;
}

QString programFileName()
{
    return QFileInfo(QCoreApplication::applicationFilePath()).fileName();
}

QString configFilePath(const QString& appDataFolder, const QString& programFile)
{
    const QFileInfo info(programFile);
    const QString base = info.suffix().isEmpty() ? info.fileName() : info.completeBaseName();
    return QDir(appDataFolder).filePath(base + QStringLiteral(".ini"));
}

QString workFolderPath(const QString& appDataFolder)
{
    return QDir(appDataFolder).filePath(QStringLiteral("mail_dat"));
}

QString tnefFolderPath(const QString& appDataFolder)
{
    return workFolderPath(appDataFolder) + QStringLiteral("/2nd");
}

QString attachmentFolderPath(const QString& appDataFolder)
{
    return workFolderPath(appDataFolder) + QStringLiteral("/att");
}

QString webViewDataFolderPath(const QString& appDataFolder, const QString& programFile)
{
    return QDir(appDataFolder).filePath(programFile + QStringLiteral(".WebView2"));
}
