#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

class MimeMessage;

// The index fields of a message as the "書誌情報" tab shows them and the
// archive stores them.
struct MessageIndexFields
{
    QString Message_ID;
    QString Message_Date;
    QString Account_Key;
    QString Sender_Name;
    QString Sender_Address;
    QString Recieve_Name;
    QString Recieve_Address;
    QString Message_Subject;
};

// accountRows: the values of MailAccount1 ... MailAccount10 in that order
// (unset rows may be "Dummy Data" or empty; they never match).
MessageIndexFields deriveIndexFields(const MimeMessage& message, const QStringList& accountRows);

namespace MessageFields {

// "2024/01/05 9:03:07"; the time left out when it is exactly 00:00:00.
// The same form on every locale: registration reads it back.
QString formatMessageDate(const QDateTime& dateTime);
// Reads that form back; invalid when the text is not one.
QDateTime parseMessageDate(const QString& text);

// The date from the last ";" piece of an X-Apparently-To value, or empty.
QString dateFromApparentlyTo(const QString& value);
// "Jan" or "January" → "01" ... ; "0" when no month is recognised.
QString MonthToNumber(const QString& month);

// The From display name without enclosing apostrophes or full-width angle brackets.
QString senderName(const QString& displayName);
// From the raw "To" value: the text before the first "<", with its one
// encoded word decoded ("=?UTF-8?" or "=?iso-2022-jp?", always as Base64).
QString recipientName(const QString& rawTo);
// From the raw "To" value: the first address in angle brackets, or the whole value.
QString recipientAddress(const QString& rawTo);
// Replaces a missing or bare-address recipient name by the matching account row.
QString substituteAccount(const QString& name, const QString& address, const QStringList& accountRows);

} // namespace MessageFields
