#include "cli/CliCommands.h"

#include "cli/ArchiveCommands.h"

#include "base/AppInfo.h"
#include "reading/MessageSummary.h"
#include "reading/MimeMessage.h"
#include "reading/tnef/TnefExtraction.h"
#include "settings/IniFile.h"
#include "settings/ParameterTable.h"
#include "settings/SettingsFolders.h"

#include <QFileInfo>
#include <QJsonDocument>

#include <functional>
#include <map>

namespace {

using Command = std::function<int(const QStringList&, CliStreams)>;

struct CommandEntry
{
    QString usage;
    Command run;
};

int printVersion(const QStringList&, CliStreams s)
{
    s.out << AppInfo::Title << ' ' << AppInfo::versionLine() << '\n';
    return 0;
}

// Prints where the settings are read from, as the program would choose them.
int printSettingsFolders(const QStringList&, CliStreams s)
{
    const SettingsFolders folders = SettingsFolders::locate(programFolder());
    const QString inUse = folders.chooseAppDataFolder();
    s.out << "individual: " << folders.individual << '\n'
          << "common:     " << folders.common << '\n'
          << "initial:    " << folders.initial << '\n'
          << "in use:     " << inUse << '\n'
          << "file:       " << configFilePath(inUse, QStringLiteral("tallowin")) << '\n';
    return 0;
}

} // namespace

QStringList accountRowsInUse()
{
    const SettingsFolders folders = SettingsFolders::locate(programFolder());
    IniFile ini;
    ini.load(configFilePath(folders.chooseAppDataFolder(), QStringLiteral("tallowin")));
    ParameterTable table;
    table.read(ini);
    return table.accountRows();
}

namespace {

// Parses and derives a message as the display does; prints one JSON object.
int showMessage(const QStringList& arguments, CliStreams s)
{
    if (arguments.size() != 1) {
        s.err << "usage: tallowin-cli show FILE\n";
        return 2;
    }
    if (!QFileInfo(arguments.first()).isFile()) {
        s.err << "tallowin-cli: cannot read " << arguments.first() << '\n';
        return 1;
    }
    const MessageSummary summary = summariseFile(arguments.first(), accountRowsInUse());
    s.out << QString::fromUtf8(QJsonDocument(summary.toJson()).toJson(QJsonDocument::Indented));
    return 0;
}

// Unpacks a TNEF stream, or the TNEF attachments of a message, into a folder.
int unpackTnef(const QStringList& arguments, CliStreams s)
{
    if (arguments.size() != 2) {
        s.err << "usage: tallowin-cli tnef FILE OUTDIR\n";
        return 2;
    }
    QFile file(arguments.at(0));
    if (!file.open(QIODevice::ReadOnly)) {
        s.err << "tallowin-cli: cannot read " << arguments.at(0) << '\n';
        return 1;
    }
    if (!QFileInfo(arguments.at(1)).isDir()) {
        s.err << "tallowin-cli: no such folder " << arguments.at(1) << '\n';
        return 1;
    }
    const QByteArray bytes = file.readAll();
    QList<QByteArray> streams;
    if (TnefExtraction::looksLikeTnef(bytes)) {
        streams << bytes;
    } else if (const auto message = MimeMessage::parse(bytes)) {
        for (const MimePart& part : message->parts()) {
            if (TnefExtraction::isTnefPart(part))
                streams << message->attachmentContent(part);
        }
    }
    if (streams.isEmpty()) {
        s.err << "tallowin-cli: no TNEF stream in " << arguments.first() << '\n';
        return 1;
    }
    TnefExtraction::UnpackedNames listed;
    for (const QByteArray& stream : streams) {
        QStringList names;
        QString error;
        int skipped = 0;
        const bool ok = TnefExtraction::unpack(stream, arguments.at(1), &names, &error, &skipped);
        for (const QString& name : listed.add(names))
            s.out << name << '\n';
        if (!ok) {
            s.out.flush();
            s.err << error << '\n';
            return 1;
        }
        if (skipped > 0) {
            s.out.flush();
            s.err << TnefExtraction::skippedText(skipped) << '\n';
        }
    }
    return 0;
}

const std::map<QString, CommandEntry>& commands()
{
    static const std::map<QString, CommandEntry> table{
        {QStringLiteral("version"), {QStringLiteral("version"), printVersion}},
        {QStringLiteral("settings-folders"), {QStringLiteral("settings-folders"), printSettingsFolders}},
        {QStringLiteral("show"), {QStringLiteral("show FILE"), showMessage}},
        {QStringLiteral("tnef"), {QStringLiteral("tnef FILE OUTDIR"), unpackTnef}},
        {QStringLiteral("archive"),
         {QStringLiteral("archive create|check|register|list|fetch|verify|import|init-default ... (tallowin-cli "
                         "archive for details)"),
          runArchiveCommand}},
    };
    return table;
}

int printUsage(QTextStream& stream)
{
    stream << "usage: tallowin-cli COMMAND [ARGUMENTS]\ncommands:\n";
    for (const auto& [name, entry] : commands())
        stream << "  " << entry.usage << '\n';
    return 2;
}

} // namespace

int runCli(const QStringList& arguments, CliStreams streams)
{
    // What a killed run left behind goes first.
    TnefExtraction::removeAbandonedScratchFolders();
    if (arguments.isEmpty())
        return printUsage(streams.err);
    const QString name = arguments.first();
    if (name == QLatin1String("help") || name == QLatin1String("--help") || name == QLatin1String("-h")) {
        printUsage(streams.out);
        return 0;
    }
    if (name == QLatin1String("--version"))
        return printVersion({}, streams);
    const auto it = commands().find(name);
    if (it == commands().end()) {
        streams.err << "tallowin-cli: unknown command: " << name << '\n';
        return printUsage(streams.err);
    }
    // -h / --help after a command prints its usage (archive has its own per verb).
    const QStringList rest = arguments.mid(1);
    if (name != QLatin1String("archive")
        && (rest.contains(QStringLiteral("-h")) || rest.contains(QStringLiteral("--help")))) {
        streams.out << "usage: tallowin-cli " << it->second.usage << '\n';
        return 0;
    }
    return it->second.run(rest, streams);
}
