#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class MimeMessage;
struct MimePart;

namespace TnefExtraction {

// True for the attachments that carry TNEF data: content type
// "application/ms-tnef", or the name winmail.dat.
bool isTnefPart(const MimePart& part);

// Unpacks one TNEF stream into the folder (created when missing). Returns
// false with the reader's error text when the stream is damaged; what was
// written before the damage stays. names: the files written, in order.
bool unpack(const QByteArray& tnef, const QString& folder, QStringList* names, QString* error);

// The TNEF signature at the start of the bytes.
bool looksLikeTnef(const QByteArray& bytes);

} // namespace TnefExtraction
