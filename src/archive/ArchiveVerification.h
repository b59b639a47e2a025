#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

#include <functional>

class TDm_Ldb;

// Checks an archive from the disk up: the engine's own validation of every
// page, then that every index row has its data row and every data row its
// index row, then that every stored message parses and derives the key it
// is stored under. The connection check only proves that the file opens; a
// damaged page can still hand back altered or unreadable messages.
namespace ArchiveVerification {

struct Problem
{
    QString messageId; // empty for a problem of the whole file
    QDateTime date;
    QString text; // what is wrong, for the user

    QString describe() const;
};

struct Report
{
    QList<Problem> problems;
    int messagesChecked = 0;
    bool completed = false; // false: the archive could not be read through

    bool ok() const { return completed && problems.isEmpty(); }
};

// done of total messages checked so far; called often, so a window can
// show progress and stay responsive.
using Progress = std::function<void(int done, int total)>;

// Whether gfix's validation output (whitespace simplified) reports damage:
// any error count above zero, or text that is not its summary. Warnings
// alone (orphan pages left by a killed writer) lose nothing.
bool engineOutputShowsDamage(const QString& output);

// The database module's connection is closed for the engine's validation
// and opened again afterwards.
Report verify(TDm_Ldb& dm, const Progress& progress = {});

} // namespace ArchiveVerification
