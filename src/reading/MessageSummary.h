#pragma once

#include "reading/MessageDisplay.h"
#include "reading/MessageIndex.h"
#include "reading/tnef/TnefExtraction.h"

#include <QJsonObject>

#include <memory>

class MimeMessage;
#include <QStringList>

// What a display of a message shows, without a window: the fields, the
// text pane, the HTML view and the two attachment lists, derived exactly as
// the window derives them.
struct MessageSummary
{
    MessageIndexFields fields;
    DisplayOutcome outcome;
    QString text;             // the text pane
    QString html;             // the HTML shown, or empty
    QStringList attachments;  // list I captions in order
    QStringList attachments2; // list II captions in order
    bool parsed = false;

    QJsonObject toJson() const;
};

// A sink that records instead of showing. TNEF attachments are unpacked
// into a temporary folder and their files recorded as list II, as the window
// lists them; armoured OpenPGP text is recorded as it stands.
class RecordingSink : public DisplaySink
{
public:
    RecordingSink(MessageSummary& summary, const MimeMessage& message)
        : m_summary(summary)
        , m_message(message)
    { }

    void showPage(int page) override { lastPage = page; }
    void listAttachment(const MimePart&, const AttachmentListing& item) override;
    bool extractTnef(const MimePart& part) override;
    void setText(const QString& text) override { m_summary.text = text; }
    void showHtml(const QString& html) override { m_summary.html = html; }
    bool decryptInline(const QStringList& lines) override;
    bool decryptHeaderless(const QString&) override { return true; }

    int lastPage = -1;

private:
    MessageSummary& m_summary;
    TnefExtraction::UnpackedNames m_unpacked;
    const MimeMessage& m_message;
};

class DisplayedMessage;

// A display of the file without a window, as "DB更新" would then store it:
// null with the reason when the file cannot be shown, or a hook (a damaged
// TNEF stream) ended its display.
std::unique_ptr<DisplayedMessage> displayWithoutWindow(const QString& path, const QStringList& accountRows,
                                                       QString* error);
// The same for bytes already read (a message of a mailbox), stored under name.
std::unique_ptr<DisplayedMessage> displayBytesWithoutWindow(const QByteArray& bytes, const QString& name,
                                                            const QStringList& accountRows, QString* error);

MessageSummary summariseMessage(const QByteArray& bytes, const QStringList& accountRows);
MessageSummary summariseFile(const QString& path, const QStringList& accountRows);
