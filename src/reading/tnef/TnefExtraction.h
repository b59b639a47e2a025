#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class MimeMessage;
struct MimePart;

namespace TnefExtraction {

// True for the attachments that carry TNEF data: content type
// "application/ms-tnef", or the name winmail.dat (mail clients often send
// it as application/octet-stream). The display, the command line and the
// extraction all decide with this one function.
bool isTnefPart(const MimePart& part);

// Unpacks one TNEF stream into the folder (created when missing). Returns
// false with the reader's error text when the stream is damaged; what was
// written before the damage stays. names: the files written, in order;
// skipped: how many were left out because the stream named too many.
bool unpack(const QByteArray& tnef, const QString& folder, QStringList* names, QString* error, int* skipped = nullptr);

// A scratch folder for unpacking without a window: in the temporary folder,
// named with this process's id so that a later run can tell an abandoned
// one (its process is gone) from one in use.
QString scratchFolderTemplate();
// Removes the scratch folders of runs that ended without removing them (a
// killed run); returns how many went.
int removeAbandonedScratchFolders();

// What the user is told about files left out of one stream.
QString skippedText(int skipped);

// The TNEF signature at the start of the bytes.
bool looksLikeTnef(const QByteArray& bytes);

// The names unpacked from the TNEF attachments of one message, each listed
// once although every stream writes into the same folder.
class UnpackedNames
{
public:
    // The names not listed before, in order; they are listed from now on.
    QStringList add(const QStringList& names);
    void clear() { m_listed.clear(); }

private:
    QStringList m_listed;
};

} // namespace TnefExtraction
