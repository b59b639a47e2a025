#include "archive/Registration.h"

#include "archive/TDm_Ldb.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

namespace Registration {
namespace {

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

// Runs one statement, binding each parameter it names; an "old_" key
// takes the same value as the new one.
bool run(QSqlQuery& query, const QString& sql, const QVariantMap& values, QString* error)
{
    static const QRegularExpression parameter(QStringLiteral(":(\\w+)"));
    query.prepare(sql);
    for (auto it = parameter.globalMatch(sql); it.hasNext();) {
        const QString name = it.next().captured(1);
        const QString key = name.startsWith(QLatin1String("old_")) ? name.mid(4) : name;
        query.bindValue(u':' + name, values.value(key));
    }
    const bool ok = query.exec();
    if (!ok && error)
        *error = query.lastError().text();
    query.finish();
    return ok;
}

// Insert, or update the row of the same key when the insert fails.
bool insertOrUpdate(QSqlQuery& query, const QString& insert, const QString& update, const QVariantMap& values,
                    QString* error)
{
    return run(query, insert, values, error) || run(query, update, values, error);
}

} // namespace

QString registeredFile(const QString& workCopy, const QString& chosenFile)
{
    return (!workCopy.isEmpty() && QFileInfo::exists(workCopy)) ? workCopy : chosenFile;
}

QString fileTypeCode(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("eml"))
        return QStringLiteral("1");
    if (suffix == QLatin1String("msg"))
        return QStringLiteral("2");
    return QStringLiteral("0");
}

Result registerMessage(TDm_Ldb& dm, const Input& input, const std::function<bool()>& beforeDataRow)
{
    const MessageIndexFields& f = input.fields;
    if (f.Message_ID.trimmed().isEmpty())
        return {Result::Status::EmptyId, kEmptyId};
    const QDateTime date = MessageFields::parseMessageDate(f.Message_Date);
    if (!date.isValid())
        return {Result::Status::BadInput, QStringLiteral("'%1' is not a valid date and time").arg(f.Message_Date)};

    QString error;
    if (!dm.open(&error))
        return {Result::Status::IndexFailed, kIndexFailed + error};
    QSqlDatabase db = dm.database();
    db.transaction();
    QSqlQuery& query = dm.FDQry();
    const auto fail = [&](Result::Status status, const QString& message) {
        query.finish();
        db.rollback();
        return Result{status, message};
    };

    QVariantMap index{{QStringLiteral("Message_ID"), f.Message_ID},
                      {QStringLiteral("Message_Date"), date},
                      {QStringLiteral("Account_Key"), f.Account_Key},
                      {QStringLiteral("Sender_Name"), f.Sender_Name},
                      {QStringLiteral("Sender_Address"), f.Sender_Address},
                      {QStringLiteral("Recieve_Name"), f.Recieve_Name},
                      {QStringLiteral("Recieve_Address"), f.Recieve_Address},
                      {QStringLiteral("Message_Subject"), f.Message_Subject},
                      {QStringLiteral("Message_dtype"), QString::number(input.MDatType).left(1)},
                      {QStringLiteral("Message_ftype"), fileTypeCode(input.file)},
                      {QStringLiteral("MailBody"), input.mailBody}};
    if (!insertOrUpdate(query, kIndexInsert, kIndexUpdate, index, &error))
        return fail(Result::Status::IndexFailed, kIndexFailed + error);

    if (beforeDataRow && !beforeDataRow())
        return fail(Result::Status::DataFailed, kDataFailed);
    QFile file(input.file);
    if (!file.open(QIODevice::ReadOnly))
        return fail(Result::Status::BadInput, file.errorString() + QStringLiteral(": ") + input.file);
    const QFileInfo info(input.file);
    const QVariantMap data{{QStringLiteral("Message_ID"), f.Message_ID},
                           {QStringLiteral("Message_Date"), date},
                           {QStringLiteral("Message_FileName"), info.fileName().trimmed()},
                           {QStringLiteral("Message_FileExt"),
                            info.suffix().isEmpty() ? QString() : (u'.' + info.suffix()).trimmed()},
                           {QStringLiteral("MailDat"), file.readAll()}};
    if (!insertOrUpdate(query, kDataInsert, kDataUpdate, data, &error))
        return fail(Result::Status::DataFailed, kDataFailed);
    if (!db.commit())
        return fail(Result::Status::DataFailed, kDataFailed);
    return {};
}

} // namespace Registration
