#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// The messages of a whole mailbox, one at a time: an mbox file (one file per
// folder, as Thunderbird keeps its local folders) or a Maildir folder (one
// file per message in cur/ and new/, sub-folders as a tree).
namespace MailboxReader {

struct Message
{
    QString mailbox;  // the mailbox's name: the mbox file's or the folder's
    int position = 0; // 1, 2, ... within its mailbox
    QByteArray bytes; // the message exactly as stored
    // How far through the mailbox this message is, for a progress display:
    // bytes of an mbox file, files of a Maildir tree.
    qint64 done = 0;
    qint64 total = 0;
};

enum class Kind { None, Mbox, Maildir };

// A folder with cur/ or new/ is a Maildir (or a tree of them); a file that
// starts with "From " is an mbox file.
Kind kindOf(const QString& path);

// The name a message is archived under: "Inbox_000123.eml".
QString storedName(const Message& message);

// Calls visit for each message in order; visit returns false to stop. An
// mbox file is read as a stream, never whole into memory. Returns an empty
// text, or why the mailbox cannot be read.
//
// mbox: a message starts after each line that begins with "From " (the
// separator, not part of the message); body lines the writer quoted as
// ">From " stay as the file holds them; the blank line that ends a message
// before the next separator is not part of it; CRLF and LF files alike.
QString forEachMessage(const QString& path, const std::function<bool(const Message&)>& visit);

} // namespace MailboxReader
