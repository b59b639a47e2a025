#pragma once

#include "reading/MessageIndex.h"

#include <QString>

#include <functional>

class TDm_Ldb;

// Storing the displayed message in the archive: its index fields as one row
// of Message_IdxTbl, the bytes of its file as one row of Message_DatTBL.
//
// Both rows are written in one transaction: an unreadable file or a lost
// connection between the two leaves neither, where two separately committed
// statements would leave an index row without its message.
namespace Registration {

inline const QString kEmptyId = QStringLiteral("このメールデータはDB更新できません");
inline const QString kIndexFailed = QStringLiteral("更新できませんでした(Message_IdxTbl)");
inline const QString kDataFailed = QStringLiteral("UPdate できませんでした(Message_DatTBL)");

struct Input
{
    MessageIndexFields fields;   // as the 書誌情報 tab holds them, edits included
    int MDatType = 0;
    QString mailBody;            // the text pane's text
    QString file;                // the registered file
};

struct Result
{
    enum class Status { Registered, EmptyId, BadInput, IndexFailed, DataFailed };
    Status status = Status::Registered;
    QString message;             // what the user is told (a message box text)

    bool ok() const { return status == Status::Registered; }
};

// The work copy when it exists, else the file chosen in the open dialog.
QString registeredFile(const QString& workCopy, const QString& chosenFile);
// "1" for .eml, "2" for .msg, "0" otherwise.
QString fileTypeCode(const QString& path);

// beforeDataRow: called between the two rows (tests put a failure there).
Result registerMessage(TDm_Ldb& dm, const Input& input, const std::function<bool()>& beforeDataRow = {});

} // namespace Registration
