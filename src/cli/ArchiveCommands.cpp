#include "cli/ArchiveCommands.h"

#include "archive/ArchiveFetch.h"
#include "archive/ArchiveListModel.h"
#include "archive/ArchiveTarget.h"
#include "archive/ArchiveTexts.h"
#include "archive/ArchiveVerification.h"
#include "archive/DefaultArchive.h"
#include "archive/FirebirdClient.h"
#include "archive/MailboxImport.h"
#include "archive/Registration.h"
#include "archive/TDm_Ldb.h"
#include "platform/ChildProcessRunner.h"
#include "reading/DisplayedMessage.h"
#include "reading/MessageFileKind.h"
#include "reading/MessageSummary.h"
#include "reading/ReadingTexts.h"
#include "settings/SettingsFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <map>

namespace {

const char* const kUsage = "usage: tallowin-cli archive create [--host HOST] PATH\n"
                           "       tallowin-cli archive check [--host HOST] PATH\n"
                           "       tallowin-cli archive register [--host HOST] DB FILE...\n"
                           "       tallowin-cli archive list [--host HOST] [--body] DB\n"
                           "       tallowin-cli archive fetch [--host HOST] DB ID DATE OUTDIR\n"
                           "       tallowin-cli archive verify [--host HOST] DB\n"
                           "       tallowin-cli archive import [--host HOST] [--commit-every N] DB MAILBOX...\n"
                           "       tallowin-cli archive init-default\n";

// What every archive sub-command shares: "--host HOST" (empty: the
// embedded engine), its flags, and its other arguments.
struct Invocation
{
    QString host;
    QStringList flags;
    QMap<QString, QString> options; // options with a value, such as --commit-every N
    QStringList arguments;
};

int create(const Invocation& call, CliStreams s)
{
    const ArchiveTarget target{call.host, call.arguments.first()};
    const QString error = createArchive(target);
    if (!error.isEmpty()) {
        s.err << error << '\n';
        return 1;
    }
    s.out << target.databaseName() << '\n';
    return 0;
}

// Opens and closes the archive, as the connection check of the window does.
int check(const Invocation& call, CliStreams s)
{
    bool terminated = false;
    ChildProcessRunner runner(terminated);
    TDm_Ldb dm(runner, programFolder());
    QString error;
    if (!dm.checkConnection(ArchiveTarget{call.host, call.arguments.first()}, &error)) {
        s.out << "Data Base 接続NG!!\n";
        s.err << error << '\n';
        return 1;
    }
    s.out << "Data Base 接続OK!!\n";
    return 0;
}

// A database module for one command, opened on the archive.
struct OpenArchive
{
    bool terminated = false;
    ChildProcessRunner runner{terminated};
    TDm_Ldb dm{runner, programFolder()};
};

bool openArchive(OpenArchive& archive, const QString& host, const QString& path, CliStreams s)
{
    archive.dm.pointConnection(ArchiveTarget{host, path});
    QString error;
    if (!archive.dm.open(&error)) {
        s.err << error << '\n';
        return false;
    }
    return true;
}

// Registers each file as opening it and executing "DB更新" would.
int registerFiles(const Invocation& call, CliStreams s)
{
    QStringList arguments = call.arguments;
    OpenArchive archive;
    if (!openArchive(archive, call.host, arguments.takeFirst(), s))
        return 1;
    const QStringList accounts = accountRowsInUse();
    bool allRegistered = true;
    for (const QString& file : arguments) {
        // One line per file as it is done, also when the output is a pipe:
        // a run that is killed has reported what it stored.
        s.out.flush();
        const QString name = QFileInfo(file).fileName();
        if (!QFileInfo(file).isFile()) {
            s.out << name << ": "
                  << "cannot read " << file << '\n';
            allRegistered = false;
            continue;
        }
        // The window's rule: only mail files are registered.
        if (messageFileKind(file) != MessageFileKind::Eml) {
            s.out << name << ": "
                  << (messageFileKind(file) == MessageFileKind::Msg ? ArchiveTexts::kMsgNotYet : ReadingTexts::kNotMail)
                  << '\n';
            allRegistered = false;
            continue;
        }
        QString error;
        const std::unique_ptr<DisplayedMessage> shown = displayWithoutWindow(file, accounts, &error);
        if (!shown) {
            s.out << name << ": " << QString(error).replace(QLatin1String("\r\n"), QLatin1String(" ")) << '\n';
            allRegistered = false;
            continue;
        }
        const Registration::Result result = Registration::registerMessage(archive.dm, Registration::inputFrom(*shown));
        if (result.ok()) {
            s.out << name << (result.replacedOther ? ": replaced\n" : ": registered\n");
        } else {
            QString reason = result.message;
            if (result.status == Registration::Result::Status::EmptyId)
                reason += ArchiveTexts::kMissingIdReason;
            s.out << name << ": " << reason.replace(QLatin1String("\r\n"), QLatin1String(" ")) << '\n';
            allRegistered = false;
        }
    }
    return allRegistered ? 0 : 1;
}

// The rows of MAIL_VIEW in the list's initial order, as JSON.
int listArchive(const Invocation& call, CliStreams s)
{
    const bool withBody = call.flags.contains(QStringLiteral("--body"));
    OpenArchive archive;
    if (!openArchive(archive, call.host, call.arguments.first(), s))
        return 1;
    QString error;
    if (!archive.dm.openList(&error)) {
        s.err << error << '\n';
        return 1;
    }
    ArchiveListModel* list = archive.dm.FDTbl1();
    list->loadAllFileNames();
    QJsonArray rows;
    const QStringList& columns = ArchiveListModel::columnNames();
    for (int r = 0; r < list->rowCount(); ++r) {
        QJsonObject row;
        for (int c = 0; c < columns.size(); ++c) {
            if (c == ArchiveListModel::BodyColumn && !withBody)
                continue;
            row.insert(columns.at(c), list->data(list->index(r, c), ArchiveListModel::FullTextRole).toString());
        }
        rows.append(row);
    }
    s.out << QString::fromUtf8(QJsonDocument(rows).toJson(QJsonDocument::Indented));
    return 0;
}

// Writes one stored message file into a folder and prints its path.
int fetchMessage(const Invocation& call, CliStreams s)
{
    const QStringList& arguments = call.arguments;
    const QDateTime date = MessageFields::parseMessageDate(arguments.at(2));
    if (!date.isValid()) {
        s.err << "tallowin-cli: not a message date (yyyy/MM/dd H:mm:ss): " << arguments.at(2) << '\n';
        return 2;
    }
    if (!QFileInfo(arguments.at(3)).isDir()) {
        s.err << "tallowin-cli: no such folder " << arguments.at(3) << '\n';
        return 1;
    }
    OpenArchive archive;
    if (!openArchive(archive, call.host, arguments.at(0), s))
        return 1;
    const ArchiveFetch::Result result = ArchiveFetch::FetchMsgDat(archive.dm, arguments.at(1), date, arguments.at(3));
    if (!result.ok) {
        s.err << QString(result.error).replace(QLatin1String("\r\n"), QLatin1String("\n")) << '\n';
        return 1;
    }
    s.out << result.path << '\n';
    return 0;
}

// Checks the archive through and reports each problem with its key.
int verifyArchive(const Invocation& call, CliStreams s)
{
    OpenArchive archive;
    archive.dm.pointConnection(ArchiveTarget{call.host, call.arguments.first()});
    const ArchiveVerification::Report report = ArchiveVerification::verify(archive.dm);
    for (const ArchiveVerification::Problem& problem : report.problems) {
        s.out << QString(problem.describe()).replace(QLatin1String("\r\n"), QLatin1String(" ")) << '\n';
        s.out.flush();
    }
    s.out << (report.ok() ? ArchiveTexts::kVerifyOk.arg(report.messagesChecked)
                          : ArchiveTexts::kVerifyFoundProblems.arg(report.problems.size()).arg(report.messagesChecked))
          << '\n';
    return report.ok() ? 0 : 1;
}

// Registers every message of mbox files and Maildir folders; one line per
// message that was not registered, then a summary per mailbox.
int importMailboxes(const Invocation& call, CliStreams s)
{
    QStringList arguments = call.arguments;
    bool numeric = true;
    const int commitEvery = call.options.value(QStringLiteral("--commit-every"), QStringLiteral("1")).toInt(&numeric);
    if (!numeric || commitEvery < 1) {
        s.err << "tallowin-cli: --commit-every takes a number of messages, 1 or more\n";
        return 2;
    }
    OpenArchive archive;
    if (!openArchive(archive, call.host, arguments.takeFirst(), s))
        return 1;
    MailboxImport::Options options;
    options.accountRows = accountRowsInUse();
    options.commitEvery = commitEvery;
    options.refused = [&s](const MailboxImport::Refusal& r) {
        s.out << r.mailbox << " #" << r.position << ": " << r.reason << '\n';
        s.out.flush();
    };
    bool allImported = true;
    for (const QString& mailbox : arguments) {
        const MailboxImport::Summary summary = MailboxImport::import(archive.dm, mailbox, options);
        s.out << mailbox << ": " << summary.describe() << '\n';
        if (!summary.error.isEmpty())
            s.err << QString(summary.error).replace(QLatin1String("\r\n"), QLatin1String(" ")) << '\n';
        s.out.flush();
        allImported = allImported && summary.ok();
    }
    return allImported ? 0 : 1;
}

int initDefault(const Invocation&, CliStreams s)
{
    const DefaultArchiveSetup setup
        = ensureDefaultArchive(SettingsFolders::locate(programFolder()), QStringLiteral("tallowin"));
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

struct Verb
{
    const char* usage;
    int minArguments;
    int maxArguments; // -1: any number
    bool takesHost;
    QStringList flags; // switches without a value
    int (*run)(const Invocation&, CliStreams);
    QStringList valueOptions = {}; // options followed by a value
};

const std::map<QString, Verb>& verbs()
{
    static const std::map<QString, Verb> table{
        {QStringLiteral("create"), {"archive create [--host HOST] PATH", 1, 1, true, {}, create}},
        {QStringLiteral("check"), {"archive check [--host HOST] PATH", 1, 1, true, {}, check}},
        {QStringLiteral("register"), {"archive register [--host HOST] DB FILE...", 2, -1, true, {}, registerFiles}},
        {QStringLiteral("list"),
         {"archive list [--host HOST] [--body] DB", 1, 1, true, {QStringLiteral("--body")}, listArchive}},
        {QStringLiteral("fetch"), {"archive fetch [--host HOST] DB ID DATE OUTDIR", 4, 4, true, {}, fetchMessage}},
        {QStringLiteral("verify"), {"archive verify [--host HOST] DB", 1, 1, true, {}, verifyArchive}},
        {QStringLiteral("import"),
         {"archive import [--host HOST] [--commit-every N] DB MAILBOX...",
          2,
          -1,
          true,
          {},
          importMailboxes,
          {QStringLiteral("--commit-every")}}},
        {QStringLiteral("init-default"), {"archive init-default", 0, 0, false, {}, initDefault}},
    };
    return table;
}

// Takes "--host HOST" and the verb's flags out of the arguments; false when
// what is left does not fit the verb.
bool parse(const Verb& verb, QStringList arguments, Invocation* call)
{
    const qsizetype at = verb.takesHost ? arguments.indexOf(QStringLiteral("--host")) : -1;
    if (at >= 0) {
        if (at + 1 >= arguments.size())
            return false;
        call->host = arguments.at(at + 1);
        arguments.remove(at, 2);
    }
    for (const QString& flag : verb.flags) {
        if (arguments.removeAll(flag) > 0)
            call->flags << flag;
    }
    for (const QString& option : verb.valueOptions) {
        const qsizetype index = arguments.indexOf(option);
        if (index < 0)
            continue;
        if (index + 1 >= arguments.size())
            return false;
        call->options.insert(option, arguments.at(index + 1));
        arguments.remove(index, 2);
    }
    call->arguments = arguments;
    const int n = int(arguments.size());
    return n >= verb.minArguments && (verb.maxArguments < 0 || n <= verb.maxArguments);
}

} // namespace

int runArchiveCommand(const QStringList& arguments, CliStreams streams)
{
    const QString first = arguments.value(0);
    if (first == QLatin1String("-h") || first == QLatin1String("--help")) {
        streams.out << kUsage;
        return 0;
    }
    const auto it = verbs().find(first);
    if (it == verbs().end()) {
        streams.err << kUsage;
        return 2;
    }
    const Verb& verb = it->second;
    const QStringList rest = arguments.mid(1);
    if (rest.contains(QStringLiteral("-h")) || rest.contains(QStringLiteral("--help"))) {
        streams.out << "usage: tallowin-cli " << verb.usage << '\n';
        return 0;
    }
    Invocation call;
    if (!parse(verb, rest, &call)) {
        streams.err << "usage: tallowin-cli " << verb.usage << '\n';
        return 2;
    }
    return verb.run(call, streams);
}
