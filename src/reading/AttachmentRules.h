#pragma once

#include <QString>

class MimeMessage;
struct MimePart;

// Which attachment commands a selected item enables, and how an item's
// caption finds its attachment again.
namespace AttachmentRules {

// "/" becomes "_": the name offered when saving.
QString SafeAttachName(const QString& name);

// The caption names OpenPGP data: its extension contains "asc", "gpg" or
// "pgp", or the caption contains "encrypted" (letter case ignored).
bool looksEncrypted(const QString& caption);

struct List1Selection
{
    bool openWith = false;
    bool decrypt = false; // DecryptGpg and SaveToDiskDGpg
};
List1Selection selectInList1(const QString& caption);

// OpenWith and OpenWithA2 for a list II item: off for .ASC, .DAT, .GPG, .PGP.
bool list2Opens(const QString& caption);

// Names no program opens: "PGP_MIME version identification.dat" and
// .PGP, .GPG, .ASC files.
bool refusedForOpening(const QString& caption);

// The first attachment part whose file name is the caption, or whose
// description + ".dat" made safe is; null when none.
const MimePart* findAttachment(const MimeMessage& message, const QString& caption);

} // namespace AttachmentRules
