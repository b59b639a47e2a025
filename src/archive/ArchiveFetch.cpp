#include "archive/ArchiveFetch.h"

#include "archive/ArchiveTexts.h"
#include "archive/TDm_Ldb.h"
#include "base/SafePath.h"
#include "base/SafeWrite.h"

#include <QDir>
#include <QSqlQuery>

using namespace ArchiveTexts;

namespace ArchiveFetch {

Result FetchMsgDat(TDm_Ldb& dm, const QString& messageId, const QDateTime& messageDate, const QString& folder)
{
    Result result;
    QString error;
    const auto data = dm.fetchMessageData(messageId, messageDate, &error);
    if (!data) {
        if (error.isEmpty()) {
            // Say which: an index row left without its file, or no such message.
            QSqlQuery query(dm.database());
            query.prepare(QStringLiteral("select count(*) from Message_IdxTbl where Message_ID = :id and "
                                         "Message_Date = :date"));
            query.bindValue(QStringLiteral(":id"), messageId);
            query.bindValue(QStringLiteral(":date"), messageDate);
            const bool indexed = query.exec() && query.next() && query.value(0).toInt() > 0;
            query.finish();
            result.noDataRow = indexed;
            result.noMessage = !indexed;
            result.error = indexed ? kNoDataRow : kNoSuchMessage;
        } else {
            result.error = error + QStringLiteral("\r\n") + kSetDatabase;
        }
        return result;
    }
    QDir().mkpath(folder);
    result.fileName = data->fileName;
    result.fileExt = data->fileExt;
    result.path
        = safeChildPath(folder, data->fileName.isEmpty() ? QStringLiteral("message") + data->fileExt : data->fileName);
    if (!writeFileReplacing(result.path, data->bytes, &result.error))
        return result;
    result.ok = true;
    return result;
}

} // namespace ArchiveFetch
