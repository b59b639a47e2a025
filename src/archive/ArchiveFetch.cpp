#include "archive/ArchiveFetch.h"

#include "archive/ArchiveTexts.h"
#include "archive/TDm_Ldb.h"
#include "base/SafePath.h"
#include "base/SafeWrite.h"

#include <QDir>

using namespace ArchiveTexts;

namespace ArchiveFetch {

Result FetchMsgDat(TDm_Ldb& dm, const QString& messageId, const QDateTime& messageDate, const QString& folder)
{
    Result result;
    QString error;
    const auto data = dm.fetchMessageData(messageId, messageDate, &error);
    if (!data) {
        if (error.isEmpty()) {
            result.noDataRow = true;
            result.error = kNoDataRow;
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
