#include "reading/MessageDisplay.h"

#include "reading/MimeMessage.h"
#include "reading/tnef/TnefExtraction.h"

#include <QFileInfo>

AttachmentListing listingForPart(const MimePart& part)
{
    AttachmentListing item;
    item.caption = part.fileName.isEmpty() ? QStringLiteral("ver.dat") : part.fileName;
    const QString suffix = QFileInfo(item.caption).suffix();
    item.opensWithProgram = !part.fileName.isEmpty() && !suffix.isEmpty();
    item.iconType = suffix.isEmpty() ? QStringLiteral(".dat") : u'.' + suffix;
    return item;
}

namespace {

bool walkParts(const MimeMessage& message, DisplaySink& sink, DisplayOutcome& outcome)
{
    int listed = 0;
    for (const MimePart& part : message.parts()) {
        if (part.isAttachment && listed >= MaxListedAttachments) {
            ++outcome.attachmentsLeftOut;
        } else if (part.isAttachment) {
            ++listed;
            sink.showPage(DisplayPage::Attachments1);
            sink.listAttachment(part, listingForPart(part));
            if (TnefExtraction::isTnefPart(part)) {
                outcome.TnefFlg = true;
                if (!sink.extractTnef(part))
                    return false;
            } else {
                outcome.TnefFlg = false;
            }
        } else if (part.typeContains(QStringLiteral("text/html"))) {
            outcome.MDatType = 2;
            sink.showPage(DisplayPage::Html);
            sink.showHtml(part.bodyLines.join(u'\n'));
        } else if (part.typeContains(QStringLiteral("text/plain"))) {
            outcome.MDatType = 1;
            const bool armoured = std::any_of(part.bodyLines.begin(), part.bodyLines.end(),
                                              [](const QString& line) { return line.contains(kPgpBegin); });
            sink.showPage(DisplayPage::Html);
            sink.setText(QString());
            // Until a decryption replaces it, the armoured text is what the pane holds.
            outcome.text = part.bodyLines.join(u'\n');
            if (armoured) {
                outcome.encrypted = true;
                if (!sink.decryptInline(part.bodyLines))
                    return false;
            } else {
                sink.setText(outcome.text);
            }
        }
    }
    return true;
}

bool walkSingleBody(const MimeMessage& message, DisplaySink& sink, DisplayOutcome& outcome)
{
    outcome.MDatType = 1;
    const QString headerBlock = message.headerBlock();
    const QString contentType = message.header(QStringLiteral("Content-Type"));
    if (headerBlock.contains(kPgpBegin)) {
        outcome.encrypted = true;
        return sink.decryptHeaderless(headerBlock);
    }
    if (contentType.contains(QLatin1String("text/plain"), Qt::CaseInsensitive)) {
        sink.setText(QString());
        outcome.text = message.bodyLines().join(u'\n');
        sink.setText(outcome.text);
    }
    if (contentType.contains(QLatin1String("text/html"), Qt::CaseInsensitive)) {
        outcome.MDatType = 2;
        sink.showPage(DisplayPage::Html);
        sink.showHtml(message.bodyLines().join(u'\n'));
    }
    return true;
}

} // namespace

DisplayOutcome walkMessage(const MimeMessage& message, DisplaySink& sink)
{
    DisplayOutcome outcome;
    const bool completed
        = message.hasParts() ? walkParts(message, sink, outcome) : walkSingleBody(message, sink, outcome);
    outcome.endedEarly = !completed;
    if (completed && outcome.encrypted)
        outcome.MDatType = 3;
    return outcome;
}
