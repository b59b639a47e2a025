#pragma once

#include <QDateTime>
#include <QString>

class TDm_Ldb;

// Writing an archived message file back to disk.
namespace ArchiveFetch {

struct Result
{
    bool ok = false;
    bool noDataRow = false; // an index row without its data row
    bool noMessage = false; // nothing at all is archived under the key
    QString error;          // the text for the message box
    QString fileName;       // as stored
    QString fileExt;
    QString path; // the file written
};

// Writes the stored file under its stored name (made safe) into the folder,
// replacing an older file of that name. FetchMsgDat.
Result FetchMsgDat(TDm_Ldb& dm, const QString& messageId, const QDateTime& messageDate, const QString& folder);

} // namespace ArchiveFetch
