#include "archive/ArchiveFetch.h"

#include "archive/ArchiveTexts.h"
#include "archive/TDm_Ldb.h"
#include "base/SafePath.h"

#include <QDir>
#include <QSaveFile>

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
    QSaveFile file(result.path);
    if (!file.open(QIODevice::WriteOnly)) {
        result.error = file.errorString() + QStringLiteral(": ") + result.path;
        return result;
    }
    file.write(data->bytes);
    if (!file.commit()) {
        result.error = file.errorString() + QStringLiteral(": ") + result.path;
        return result;
    }
    result.ok = true;
    return result;
}

} // namespace ArchiveFetch
