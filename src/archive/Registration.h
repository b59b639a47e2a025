#pragma once

#include "reading/MessageIndex.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>

class DisplayedMessage;
class TDm_Ldb;

// Storing the displayed message in the archive: its index fields as one row
// of Message_IdxTbl, the bytes of its file as one row of Message_DatTBL.
//
// Both rows are written in one transaction: an unreadable file or a lost
// connection between the two leaves neither, where two separately committed
// statements would leave an index row without its message.
namespace Registration {

// What is stored. Build it from the displayed message with inputFrom, so
// that the bytes stored are the bytes that produced the fields.
struct Input
{
    MessageIndexFields fields; // as the 書誌情報 tab holds them, edits included
    QDateTime date;            // Message_Date; invalid when the message has none
    int MDatType = 0;
    QString mailBody; // the text pane's text
    QString fileName; // Message_FileName; its extension gives Message_FileExt and Message_ftype
    QByteArray bytes; // MailDat
};

Input inputFrom(const DisplayedMessage& shown);

struct Result
{
    enum class Status { Registered, EmptyId, NoDate, IndexFailed, DataFailed };
    Status status = Status::Registered;
    QString message;            // what the user is told (a message box text)
    bool replaced = false;      // a message with this key was archived before
    bool replacedOther = false; // ... and its stored bytes were not these
    QStringList shortened;      // columns whose value was cut to the column's size

    bool ok() const { return status == Status::Registered; }
};

// "1" for .eml, "2" for .msg, "0" otherwise.
QString fileTypeCode(const QString& path);

// The value as the column holds it: at most maxChars characters (code
// points, as a UTF8 column counts them), never splitting a surrogate pair.
QString fitColumn(const QString& value, int maxChars);

// Whether a different file is archived under the input's key: registering
// it would replace another message. False when nothing or the same bytes
// are stored, or the archive cannot be read (registration then reports).
bool replacesAnotherMessage(TDm_Ldb& dm, const Input& input);

// What the archive holds under the input's key.
enum class StoredState { None, Same, Different };
StoredState storedState(TDm_Ldb& dm, const Input& input);

// beforeDataRow: called between the two rows (tests put a failure there).
// inCallersTransaction: the caller has begun a transaction and commits it
// (an import's batch); the message's rows still go in or fail together.
Result registerMessage(TDm_Ldb& dm, const Input& input, const std::function<bool()>& beforeDataRow = {},
                       bool inCallersTransaction = false);

// The status panel's text after a registration that worked.
QString completionText(const Result& result);

} // namespace Registration
