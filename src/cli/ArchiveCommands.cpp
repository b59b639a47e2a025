#include "cli/ArchiveCommands.h"

#include "app/SettingsFolders.h"
#include "archive/ArchiveTarget.h"
#include "archive/DefaultArchive.h"
#include "archive/FirebirdClient.h"
#include "archive/TDm_Ldb.h"
#include "platform/ChildProcessRunner.h"

namespace {

const char* const kUsage =
    "usage: tallowin-cli archive create [--host HOST] PATH\n"
    "       tallowin-cli archive check [--host HOST] PATH\n"
    "       tallowin-cli archive init-default\n";

// Takes "--host HOST" out of the arguments.
bool takeHost(QStringList& arguments, QString& host)
{
    const qsizetype at = arguments.indexOf(QStringLiteral("--host"));
    if (at < 0)
        return true;
    if (at + 1 >= arguments.size())
        return false;
    host = arguments.at(at + 1);
    arguments.remove(at, 2);
    return true;
}

int create(QStringList arguments, CliStreams s)
{
    QString host;
    if (!takeHost(arguments, host) || arguments.size() != 1) {
        s.err << kUsage;
        return 2;
    }
    const ArchiveTarget target{host, arguments.first()};
    const QString error = createArchive(target);
    if (!error.isEmpty()) {
        s.err << error << '\n';
        return 1;
    }
    s.out << target.databaseName() << '\n';
    return 0;
}

// Opens and closes the archive, as the connection check of the window does.
int check(QStringList arguments, CliStreams s)
{
    QString host;
    if (!takeHost(arguments, host) || arguments.size() != 1) {
        s.err << kUsage;
        return 2;
    }
    bool terminated = false;
    ChildProcessRunner runner(terminated);
    TDm_Ldb dm(runner, programFolder());
    QString error;
    if (!dm.checkConnection(ArchiveTarget{host, arguments.first()}, &error)) {
        s.out << "Data Base 接続NG!!\n";
        s.err << error << '\n';
        return 1;
    }
    s.out << "Data Base 接続OK!!\n";
    return 0;
}

int initDefault(const QStringList& arguments, CliStreams s)
{
    if (!arguments.isEmpty()) {
        s.err << kUsage;
        return 2;
    }
    const DefaultArchiveSetup setup =
        ensureDefaultArchive(SettingsFolders::locate(programFolder()), QStringLiteral("tallowin"));
    if (!setup.error.isEmpty()) {
        s.err << setup.error << '\n';
        return 1;
    }
    if (setup.createdArchive)
        s.out << "created archive: " << setup.archivePath << '\n';
    if (setup.createdConfig)
        s.out << "created settings: " << setup.configPath << '\n';
    if (!setup.createdArchive && !setup.createdConfig)
        s.out << "settings in use: " << setup.configPath << '\n';
    return 0;
}

} // namespace

int runArchiveCommand(const QStringList& arguments, CliStreams streams)
{
    const QString verb = arguments.value(0);
    if (verb == QLatin1String("create"))
        return create(arguments.mid(1), streams);
    if (verb == QLatin1String("check"))
        return check(arguments.mid(1), streams);
    if (verb == QLatin1String("init-default"))
        return initDefault(arguments.mid(1), streams);
    streams.err << kUsage;
    return 2;
}
