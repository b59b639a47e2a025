#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include <functional>

class TDm_Ldb;

// Registers every message of an mbox file or a Maildir folder (tree), each
// exactly as registering it as an .eml would: the same display without a
// window, the same index fields and rows, the same refusals. A message
// already archived with the same bytes is left as it is, so running an
// import again completes it without duplicates and replaces nothing.
namespace MailboxImport {

struct Refusal
{
    QString mailbox;
    int position = 0;
    QString reason;
};

struct Summary
{
    int registered = 0;
    int replaced = 0;           // another file was archived under the key
    int alreadyArchived = 0;    // the same bytes were archived already
    QMap<QString, int> refused; // by reason
    bool cancelled = false;
    QString error;   // the mailbox or the archive could not be read through
    qint64 done = 0; // progress through the mailbox (see MailboxReader::Message)
    qint64 total = 0;

    int refusedCount() const;
    int handled() const { return registered + replaced + alreadyArchived + refusedCount(); }
    bool ok() const { return error.isEmpty() && refusedCount() == 0 && !cancelled; }
    // "registered 12, replaced 0, already archived 3, refused 1 (...)".
    QString describe() const;
};

struct Options
{
    QStringList accountRows; // MailAccount1 ... MailAccount10
    int commitEvery = 1;     // messages per transaction
    std::function<void(const Refusal&)> refused;
    // After each message; returning false cancels (what was committed stays).
    std::function<bool(const Summary&)> progress;
};

Summary import(TDm_Ldb& dm, const QString& path, const Options& options);

} // namespace MailboxImport
