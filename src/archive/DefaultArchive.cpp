#include "archive/DefaultArchive.h"

#include "archive/ArchiveTarget.h"
#include "archive/FirebirdClient.h"
#include "settings/IniFile.h"
#include "settings/SettingsFolders.h"
#include "settings/SettingsKeys.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QString defaultArchivePath()
{
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (!QDir::isAbsolutePath(dataHome))
        dataHome = QDir::homePath() + QStringLiteral("/.local/share");
    return QDir::cleanPath(dataHome + QStringLiteral("/Brenvale/Ledgerbox/Tallowin.fdb"));
}

DefaultArchiveSetup ensureDefaultArchive(const SettingsFolders& folders, const QString& programFile)
{
    DefaultArchiveSetup setup;
    setup.archivePath = defaultArchivePath();
    if (QFileInfo(folders.individual).isDir() || QFileInfo(folders.common).isDir()) {
        setup.configPath = configFilePath(folders.chooseAppDataFolder(), programFile);
        return setup; // the user's settings decide
    }

    if (!QFileInfo::exists(setup.archivePath)) {
        QDir().mkpath(QFileInfo(setup.archivePath).absolutePath());
        setup.error = createArchive(ArchiveTarget{QString(), setup.archivePath});
        if (!setup.error.isEmpty())
            return setup;
        setup.createdArchive = true;
    } else if (const QString wrong = checkArchive(ArchiveTarget{QString(), setup.archivePath}); !wrong.isEmpty()) {
        // Settings are not pointed at an archive that cannot be used.
        setup.error = QStringLiteral("既存のアーカイブを使えません: %1\r\n%2").arg(setup.archivePath, wrong);
        return setup;
    }

    if (!QDir().mkpath(folders.individual)) {
        setup.error = QStringLiteral("設定フォルダーを作成できません: ") + folders.individual;
        return setup;
    }
    const QFileInfoList initialFiles = QDir(folders.initial).entryInfoList(QDir::Files | QDir::Hidden);
    for (const QFileInfo& file : initialFiles)
        QFile::copy(file.filePath(), QDir(folders.individual).filePath(file.fileName()));

    setup.configPath = configFilePath(folders.individual, programFile);
    IniFile ini;
    ini.load(setup.configPath);
    // An empty host: the embedded engine, guarded by the lock file.
    ini.writeString(SettingsKeys::MailDB, QStringLiteral("Server"), QString());
    ini.writeString(SettingsKeys::MailDB, QStringLiteral("DBPath"), setup.archivePath);
    if (!ini.save(setup.configPath)) {
        setup.error = QStringLiteral("設定ファイルを書き込めません: ") + setup.configPath;
        return setup;
    }
    setup.createdConfig = true;
    return setup;
}
