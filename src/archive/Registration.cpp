#include "archive/Registration.h"

#include "archive/ArchiveTexts.h"
#include "archive/TDm_Ldb.h"
#include "reading/DisplayedMessage.h"
#include "reading/MessageFileKind.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

using namespace ArchiveTexts;

namespace Registration {
namespace {

const QString kIndexExists = QStringLiteral(
    "select count(*) from Message_IdxTbl where Message_ID = :Message_ID and Message_Date = :Message_Date");
const QString kDataStored = QStringLiteral(
    "select MailDat from Message_DatTBL where Message_ID = :Message_ID and Message_Date = :Message_Date");
const QString kIndexInsert = QStringLiteral(
    "insert into Message_IdxTbl (Message_ID,Message_Date,Account_Key,Sender_Name,Sender_Address,Recieve_Name,"
    "Recieve_Address,Message_Subject,Message_dtype,Message_ftype,MailBody) values (:Message_ID,:Message_Date,"
    ":Account_Key,:Sender_Name,:Sender_Address,:Recieve_Name,:Recieve_Address,:Message_Subject,:Message_dtype,"
    ":Message_ftype,:MailBody)");
const QString kIndexUpdate = QStringLiteral(
    "update Message_IdxTbl set Account_Key = :Account_Key,Sender_Name  = :Sender_Name,Sender_Address = "
    ":Sender_Address,Recieve_Name = :Recieve_Name, Recieve_Address  = :Recieve_Address,Message_Subject = "
    ":Message_Subject,Message_dtype = :Message_dtype, Message_ftype = :Message_ftype, MailBody  = :MailBody where "
    "Message_ID = :old_Message_ID and Message_Date = :old_Message_Date");
const QString kDataInsert = QStringLiteral(
    "insert into Message_DatTBL (Message_ID,Message_Date,Message_FileName,Message_FileExt,MailDat) values "
    "(:Message_ID,:Message_Date,:Message_FileName,:Message_FileExt,:MailDat)");
const QString kDataUpdate = QStringLiteral(
    "update Message_DatTBL set Message_FileName = :Message_FileName,Message_FileExt = :Message_FileExt,MailDat = "
    ":MailDat where Message_ID = :old_Message_ID and Message_Date = :old_Message_Date");

// The sizes of the schema's text columns, in characters. Archives written
// elsewhere use the same sizes, so values are fitted to them, not the
// columns widened.
struct Column
{
    const char* name;
    int size;
};
constexpr Column kIndexColumns[]
    = {{"Message_ID", 256},  {"Account_Key", 256},     {"Sender_Name", 64},     {"Sender_Address", 256},
       {"Recieve_Name", 64}, {"Recieve_Address", 256}, {"Message_Subject", 256}};
constexpr Column kDataColumns[] = {{"Message_FileName", 256}, {"Message_FileExt", 16}};

// Binds each parameter the statement names; an "old_" key takes the same
// value as the new one.
void bind(QSqlQuery& query, const QString& sql, const QVariantMap& values)
{
    static const QRegularExpression parameter(QStringLiteral(":(\\w+)"));
    query.prepare(sql);
    for (auto it = parameter.globalMatch(sql); it.hasNext();) {
        const QString name = it.next().captured(1);
        const QString key = name.startsWith(QLatin1String("old_")) ? name.mid(4) : name;
        query.bindValue(u':' + name, values.value(key));
    }
}

// Runs one statement; an update must change exactly the row of the key, so
// that a failed write is never taken for a success.
bool run(QSqlQuery& query, const QString& sql, const QVariantMap& values, QString* error, bool oneRow)
{
    bind(query, sql, values);
    bool ok = query.exec();
    if (!ok)
        *error = query.lastError().text();
    else if (oneRow && query.numRowsAffected() != 1) {
        ok = false;
        *error = QStringLiteral("%1 rows changed instead of 1").arg(query.numRowsAffected());
    }
    query.finish();
    return ok;
}

void fitColumns(QVariantMap& values, const Column* begin, const Column* end, QStringList* shortened)
{
    for (const Column* c = begin; c != end; ++c) {
        const QString key = QString::fromLatin1(c->name);
        const QString value = values.value(key).toString();
        const QString fitted = fitColumn(value, c->size);
        if (fitted.size() != value.size()) {
            values.insert(key, fitted);
            shortened->append(key);
        }
    }
}

QString extensionOf(const QString& fileName)
{
    const QString suffix = QFileInfo(fileName).suffix();
    return suffix.isEmpty() ? QString() : (u'.' + suffix).trimmed();
}

Result failure(Result::Status status, const QString& message)
{
    Result result;
    result.status = status;
    result.message = message;
    return result;
}

} // namespace

Input inputFrom(const DisplayedMessage& shown)
{
    Input input;
    input.fields = shown.fields();
    input.date = shown.date();
    input.MDatType = shown.MDatType();
    input.mailBody = shown.body();
    input.fileName = shown.fileName();
    input.bytes = shown.bytes();
    return input;
}

QString fileTypeCode(const QString& path)
{
    return ::fileTypeCode(messageFileKind(path));
}

QString fitColumn(const QString& value, int maxChars)
{
    int chars = 0;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value.at(i).isLowSurrogate() && i > 0 && value.at(i - 1).isHighSurrogate())
            continue; // the second half of a character already counted
        if (++chars > maxChars)
            return value.left(i);
    }
    return value;
}

Result registerMessage(TDm_Ldb& dm, const Input& input, const std::function<bool()>& beforeDataRow,
                       bool inCallersTransaction)
{
    const MessageIndexFields& f = input.fields;
    if (f.Message_ID.trimmed().isEmpty())
        return failure(Result::Status::EmptyId, kEmptyId);
    if (!input.date.isValid())
        return failure(Result::Status::NoDate, kNoDate);

    Result result;
    QVariantMap index{{QStringLiteral("Message_ID"), f.Message_ID},
                      {QStringLiteral("Message_Date"), input.date},
                      {QStringLiteral("Account_Key"), f.Account_Key},
                      {QStringLiteral("Sender_Name"), f.Sender_Name},
                      {QStringLiteral("Sender_Address"), f.Sender_Address},
                      {QStringLiteral("Recieve_Name"), f.Recieve_Name},
                      {QStringLiteral("Recieve_Address"), f.Recieve_Address},
                      {QStringLiteral("Message_Subject"), f.Message_Subject},
                      {QStringLiteral("Message_dtype"), QString::number(input.MDatType).left(1)},
                      {QStringLiteral("Message_ftype"), fileTypeCode(input.fileName)},
                      {QStringLiteral("MailBody"), input.mailBody}};
    fitColumns(index, std::begin(kIndexColumns), std::end(kIndexColumns), &result.shortened);
    QVariantMap data{{QStringLiteral("Message_ID"), index.value(QStringLiteral("Message_ID"))},
                     {QStringLiteral("Message_Date"), input.date},
                     {QStringLiteral("Message_FileName"), input.fileName.trimmed()},
                     {QStringLiteral("Message_FileExt"), extensionOf(input.fileName)},
                     {QStringLiteral("MailDat"), input.bytes}};
    fitColumns(data, std::begin(kDataColumns), std::end(kDataColumns), &result.shortened);

    QString error;
    if (!dm.open(&error))
        return failure(Result::Status::IndexFailed, kIndexFailed + error);
    QSqlDatabase db = dm.database();
    QSqlQuery& query = dm.FDQry();
    // In a transaction of the caller's (a batch of an import), a savepoint
    // makes this message's two rows one unit all the same.
    if (inCallersTransaction)
        query.exec(QStringLiteral("SAVEPOINT REGISTRATION"));
    else
        db.transaction();
    const auto fail = [&](Result::Status status, const QString& message) {
        query.finish();
        if (inCallersTransaction)
            query.exec(QStringLiteral("ROLLBACK TO SAVEPOINT REGISTRATION"));
        else
            db.rollback();
        query.finish();
        return failure(status, message);
    };

    // Whether the key is archived decides between insert and update: a
    // failed insert is an error to report, never a sign that the row exists.
    bind(query, kIndexExists, index);
    if (!query.exec() || !query.next())
        return fail(Result::Status::IndexFailed, kIndexFailed + query.lastError().text());
    result.replaced = query.value(0).toInt() > 0;
    query.finish();
    if (!run(query, result.replaced ? kIndexUpdate : kIndexInsert, index, &error, result.replaced))
        return fail(Result::Status::IndexFailed, kIndexFailed + error);

    if (beforeDataRow && !beforeDataRow())
        return fail(Result::Status::DataFailed, kDataFailed);
    bind(query, kDataStored, data);
    if (!query.exec())
        return fail(Result::Status::DataFailed, kDataFailed + query.lastError().text());
    const bool dataStored = query.next();
    if (dataStored) {
        result.replaced = true;
        result.replacedOther = query.value(0).toByteArray() != input.bytes;
    }
    query.finish();
    if (!run(query, dataStored ? kDataUpdate : kDataInsert, data, &error, dataStored))
        return fail(Result::Status::DataFailed, kDataFailed + error);
    if (inCallersTransaction) {
        query.exec(QStringLiteral("RELEASE SAVEPOINT REGISTRATION ONLY"));
        query.finish();
    } else if (!db.commit()) {
        return fail(Result::Status::DataFailed, kDataFailed + db.lastError().text());
    }
    return result;
}

StoredState storedState(TDm_Ldb& dm, const Input& input)
{
    if (input.fields.Message_ID.trimmed().isEmpty() || !input.date.isValid() || !dm.open())
        return StoredState::None;
    QSqlQuery query(dm.database());
    const QVariantMap key{{QStringLiteral("Message_ID"), fitColumn(input.fields.Message_ID, kIndexColumns[0].size)},
                          {QStringLiteral("Message_Date"), input.date}};
    bind(query, kDataStored, key);
    StoredState state = StoredState::None;
    if (query.exec() && query.next())
        state = query.value(0).toByteArray() == input.bytes ? StoredState::Same : StoredState::Different;
    query.finish();
    return state;
}

bool replacesAnotherMessage(TDm_Ldb& dm, const Input& input)
{
    return storedState(dm, input) == StoredState::Different;
}

QString completionText(const Result& result)
{
    if (result.shortened.isEmpty())
        return kDone;
    return kDone
        + QStringLiteral(" (長すぎる項目を列の長さに合わせて短くしました: %1)")
              .arg(result.shortened.join(QStringLiteral(", ")));
}

} // namespace Registration
