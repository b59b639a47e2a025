#include "archive/ArchiveVerification.h"

#include "archive/ArchiveTarget.h"
#include "archive/ArchiveTexts.h"
#include "archive/ColonFreeAlias.h"
#include "archive/Registration.h"
#include "archive/TDm_Ldb.h"
#include "reading/DisplayedMessage.h"
#include "reading/MessageFileKind.h"
#include "reading/MessageIndex.h"

#include <QProcess>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

using namespace ArchiveTexts;

namespace ArchiveVerification {
namespace {

constexpr int kMessageIdColumn = 256; // as Registration fits it

// The summary counts errors and warnings. Warnings alone (orphan pages: space
// a crashed or killed writer allocated and never used) lose nothing; any
// error, or any other text, is a problem.
} // namespace

bool engineOutputShowsDamage(const QString& output)
{
    if (output.isEmpty())
        return false;
    static const QRegularExpression count(QStringLiteral("Number of ([a-z ]+?) : (\\d+)"));
    bool counted = false;
    for (auto it = count.globalMatch(output); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        counted = true;
        if (!m.captured(1).contains(QLatin1String("warning")) && m.captured(2).toInt() > 0)
            return true;
    }
    return !counted;
}

namespace {

// gfix -v -full -n: every page read and checked, nothing mended. It prints
// nothing for a sound file and a summary of errors otherwise.
void engineValidation(TDm_Ldb& dm, Report& report)
{
    dm.close();
    // gfix is a Firebird client too: a file name with ":" needs its alias.
    std::unique_ptr<ColonFreeAlias> alias;
    QString name = dm.target().databaseName();
    if (dm.target().localPathUnusable()) {
        QString error;
        alias = ColonFreeAlias::make(dm.target().path, &error);
        if (!alias) {
            report.problems.append({{}, {}, error});
            return;
        }
        name = alias->path();
    }
    QProcess gfix;
    gfix.setProcessChannelMode(QProcess::MergedChannels);
    gfix.start(dm.upgradeToolPath(),
               {QStringLiteral("-v"), QStringLiteral("-full"), QStringLiteral("-n"), QStringLiteral("-user"),
                ArchiveCredentials::User, QStringLiteral("-password"), ArchiveCredentials::Password, name});
    if (!gfix.waitForStarted()) {
        report.problems.append({{}, {}, kVerifyNoValidation.arg(dm.upgradeToolPath())});
        return;
    }
    gfix.waitForFinished(-1);
    const QString output = QString::fromLocal8Bit(gfix.readAll()).simplified();
    if (gfix.exitCode() != 0 || engineOutputShowsDamage(output))
        report.problems.append({{}, {}, kVerifyEngineFound + output});
}

void orphans(TDm_Ldb& dm, const QString& sql, const QString& text, Report& report)
{
    QSqlQuery query(dm.database());
    query.setForwardOnly(true);
    if (!query.exec(sql)) {
        report.problems.append({{}, {}, kVerifyReadFailed + query.lastError().text()});
        return;
    }
    while (query.next())
        report.problems.append({query.value(0).toString(), query.value(1).toDateTime(), text});
}

// Every stored .eml file parses and derives its key. A key the user typed
// (an edited ID, a date for a message without one) is reported too: the
// stored file does not say it.
void storedMessages(TDm_Ldb& dm, const Progress& progress, Report& report)
{
    QSqlQuery count(dm.database());
    const int total = count.exec(QStringLiteral("select count(*) from Message_DatTBL")) && count.next()
        ? count.value(0).toInt()
        : 0;
    count.finish();
    QSqlQuery query(dm.database());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("select Message_ID, Message_Date, Message_FileName, MailDat from Message_DatTBL"))) {
        report.problems.append({{}, {}, kVerifyReadFailed + query.lastError().text()});
        return;
    }
    while (query.next()) {
        const QString id = query.value(0).toString();
        const QDateTime date = query.value(1).toDateTime();
        const QString name = query.value(2).toString();
        const QByteArray bytes = query.value(3).toByteArray();
        ++report.messagesChecked;
        if (progress)
            progress(report.messagesChecked, total);
        if (messageFileKind(name) != MessageFileKind::Eml)
            continue; // .msg files are not read here yet
        QString error;
        const auto shown = DisplayedMessage::fromBytes(bytes, name, {}, &error);
        if (!shown) {
            report.problems.append({id, date, kVerifyUnreadable + error});
            continue;
        }
        const QString derivedId = Registration::fitColumn(shown->field(DisplayedMessage::MessageId), kMessageIdColumn);
        if (derivedId != id || shown->date() != date)
            report.problems.append(
                {id, date, kVerifyKeyDiffers.arg(derivedId, shown->field(DisplayedMessage::MessageDate))});
    }
    if (query.lastError().isValid())
        report.problems.append({{}, {}, kVerifyReadFailed + query.lastError().text()});
    query.finish();
}

} // namespace

QString Problem::describe() const
{
    if (messageId.isEmpty())
        return text;
    return QStringLiteral("%1 %2: %3").arg(messageId, MessageFields::formatMessageDate(date), text);
}

Report verify(TDm_Ldb& dm, const Progress& progress)
{
    Report report;
    engineValidation(dm, report);
    QString error;
    if (!dm.open(&error)) {
        report.problems.append({{}, {}, error});
        return report;
    }
    orphans(
        dm,
        QStringLiteral("select i.Message_ID, i.Message_Date from Message_IdxTbl i where not exists (select 1 "
                       "from Message_DatTBL d where d.Message_ID = i.Message_ID and d.Message_Date = i.Message_Date)"),
        kVerifyIndexWithoutData, report);
    orphans(
        dm,
        QStringLiteral("select d.Message_ID, d.Message_Date from Message_DatTBL d where not exists (select 1 "
                       "from Message_IdxTbl i where i.Message_ID = d.Message_ID and i.Message_Date = d.Message_Date)"),
        kVerifyDataWithoutIndex, report);
    storedMessages(dm, progress, report);
    report.completed = true;
    return report;
}

} // namespace ArchiveVerification
