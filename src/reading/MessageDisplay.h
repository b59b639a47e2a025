#pragma once

#include <QString>
#include <QStringList>

class MimeMessage;
struct MimePart;

// Tab pages the display switches between (indexes of the tab area).
namespace DisplayPage {
constexpr int Html = 0;
constexpr int Attachments1 = 1;
} // namespace DisplayPage

// One item of an attachment list: its caption and the extension whose icon
// it shows.
struct AttachmentListing
{
    QString caption;
    QString iconType;      // ".pdf", ".dat", ...
    bool opensWithProgram; // the name had an extension of its own
};

// The rules for listing an Internet message's attachment part: a name
// without extension shows the ".dat" icon; a part without a name is
// listed as "ver.dat".
AttachmentListing listingForPart(const MimePart& part);

// Where the walk over a message's parts sends what it finds. The window
// implements it with its panes and lists; the command line records.
class DisplaySink
{
public:
    virtual ~DisplaySink() = default;
    virtual void showPage(int page) = 0;
    virtual void listAttachment(const MimePart& part, const AttachmentListing& item) = 0;
    // A TNEF attachment: unpacked at once, before the next part. False
    // ends the display at this part (the error has been reported).
    virtual bool extractTnef(const MimePart& part) = 0;
    virtual void setText(const QString& text) = 0;
    virtual void showHtml(const QString& html) = 0;
    // Armoured OpenPGP text in a text/plain body. False ends the display.
    virtual bool decryptInline(const QStringList& lines) = 0;
    // A file that is an armoured OpenPGP message rather than a mail.
    virtual bool decryptHeaderless(const QString& headerBlock) = 0;
};

struct DisplayOutcome
{
    int MDatType = 0;
    bool TnefFlg = false;
    bool encrypted = false;
    bool endedEarly = false;    // a hook ended the display
    QString text;               // what the walk put into the text pane
    int attachmentsLeftOut = 0; // attachments past MaxListedAttachments
};

// A message is small, but it can hold tens of thousands of attachment
// parts; each one listed costs a wait and an icon, so at most this many are
// listed (and unpacked).
constexpr int MaxListedAttachments = 1000;

// The parts walk: every part repeats its action, so the last attachment
// decides TnefFlg, the last text/plain part the text pane, the last
// text/html part the HTML view, and the last of them MDatType and the page.
DisplayOutcome walkMessage(const MimeMessage& message, DisplaySink& sink);

inline const QString kPgpBegin = QStringLiteral("-----BEGIN PGP MESSAGE-----");
