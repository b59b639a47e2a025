#include "reading/MessageIndex.h"

#include "reading/Charsets.h"
#include "reading/MimeMessage.h"
#include "settings/ParameterTable.h"

#include <QRegularExpression>

namespace MessageFields {

QString formatMessageDate(const QDateTime& dateTime)
{
    if (!dateTime.isValid())
        return {};
    const QString date = dateTime.toString(QStringLiteral("yyyy/MM/dd"));
    if (dateTime.time() == QTime(0, 0))
        return date;
    return date + u' ' + dateTime.toString(QStringLiteral("H:mm:ss"));
}

QDateTime parseMessageDate(const QString& text)
{
    static const QRegularExpression form(
        QStringLiteral("^\\s*(\\d{1,4})/(\\d{1,2})/(\\d{1,2})(?:\\s+(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?)?\\s*$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return {};
    const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    const QTime time = m.captured(4).isEmpty()
        ? QTime(0, 0)
        : QTime(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).isEmpty() ? 0 : m.captured(6).toInt());
    if (!date.isValid() || !time.isValid())
        return {};
    return QDateTime(date, time, Qt::LocalTime);
}

QString MonthToNumber(const QString& month)
{
    const auto has = [&month](const char* name) { return month.contains(QLatin1String(name), Qt::CaseInsensitive); };
    if (has("January") || has("Jan"))
        return QStringLiteral("01");
    if (has("February") || has("Feb"))
        return QStringLiteral("02");
    if (has("March") || has("Mar"))
        return QStringLiteral("03");
    if (has("April") || has("Apr"))
        return QStringLiteral("04");
    if (has("May"))
        return QStringLiteral("05");
    if (has("June") || has("Jun"))
        return QStringLiteral("06");
    if (has("July") || has("Jul"))
        return QStringLiteral("07");
    if (has("August") || has("Aug"))
        return QStringLiteral("08");
    if (has("September") || has("Sep"))
        return QStringLiteral("09");
    if (has("October") || has("Oct"))
        return QStringLiteral("10");
    if (has("November") || has("Nov"))
        return QStringLiteral("11");
    if (has("December") || has("Dec"))
        return QStringLiteral("12");
    return QStringLiteral("0");
}

QString dateFromApparentlyTo(const QString& value)
{
    const QString last = value.split(u';').last().trimmed();
    // Every blank separates: two blanks give an empty piece.
    const QStringList pieces = last.split(u' ');
    if (pieces.size() < 5)
        return {};
    const QString text = pieces.at(3) + u'/' + MonthToNumber(pieces.at(2)) + u'/' + pieces.at(1) + u' ' + pieces.at(4);
    return formatMessageDate(parseMessageDate(text));
}

QString senderName(const QString& displayName)
{
    if (displayName.size() >= 2
        && ((displayName.startsWith(u'\'') && displayName.endsWith(u'\''))
            || (displayName.startsWith(QChar(0xFF1C)) && displayName.endsWith(QChar(0xFF1E)))))
        return displayName.mid(1, displayName.size() - 2);
    return displayName;
}

namespace {

QString stripPair(const QString& text, QChar mark)
{
    if (text.size() >= 2 && text.startsWith(mark) && text.endsWith(mark))
        return text.mid(1, text.size() - 2);
    return text;
}

// The encoded text of one word: from the given character (counted from 1)
// up to the final "?=".
QByteArray encodedText(const QString& word, int firstCharacter)
{
    qsizetype end = word.lastIndexOf(QLatin1String("?="));
    if (end < 0)
        end = word.size();
    return word.mid(firstCharacter - 1, end - (firstCharacter - 1)).toLatin1();
}

} // namespace

QString recipientName(const QString& rawTo)
{
    const qsizetype angle = rawTo.indexOf(u'<');
    if (angle < 0)
        return {};
    const QString before = rawTo.left(angle).trimmed();
    QString name;
    const qsizetype utf8 = before.indexOf(QLatin1String("=?UTF-8?"), 0, Qt::CaseInsensitive);
    const qsizetype jis = before.indexOf(QLatin1String("=?iso-2022-jp?"), 0, Qt::CaseInsensitive);
    if (utf8 >= 0) {
        // "=?UTF-8?B?" is ten characters: the text starts at the 11th.
        name = QString::fromUtf8(QByteArray::fromBase64(encodedText(before.mid(utf8), 11)));
    } else if (jis >= 0) {
        // "=?iso-2022-jp?B?" is sixteen characters: the text starts at the 17th.
        name = Charsets::decode(QByteArray::fromBase64(encodedText(before.mid(jis), 17)), "iso-2022-jp");
    } else {
        name = before;
    }
    name = stripPair(name, u'"');
    name = stripPair(name, u'\'');
    return name;
}

QString recipientAddress(const QString& rawTo)
{
    const qsizetype open = rawTo.indexOf(u'<');
    const qsizetype close = rawTo.indexOf(u'>');
    if (open >= 0 && close >= 0 && open < close)
        return rawTo.mid(open + 1, close - open - 1);
    return rawTo;
}

QString substituteAccount(const QString& name, const QString& address, const QStringList& accountRows)
{
    const auto lookUp = [&accountRows](const QString& key, QString& into) {
        const QString bracketed = u'<' + key + u'>';
        for (const QString& row : accountRows) {
            if (ParameterTable::isUnset(row))
                continue;
            if (row.contains(bracketed, Qt::CaseInsensitive)) {
                QString value = row;
                value.remove(bracketed, Qt::CaseInsensitive);
                into = value.trimmed();
                return;
            }
        }
    };
    QString result = name;
    if (name.isEmpty() && !address.isEmpty())
        lookUp(address, result);
    else if (name.contains(u'@'))
        lookUp(name, result);
    return result;
}

} // namespace MessageFields

MessageIndexFields deriveIndexFields(const MimeMessage& message, const QStringList& accountRows)
{
    using namespace MessageFields;
    MessageIndexFields f;
    f.Message_ID = message.header(QStringLiteral("Message-Id"));
    const QDateTime date = message.date();
    if (date.isValid()) {
        f.Message_Date = formatMessageDate(date);
    } else {
        const QString apparentlyTo = message.header(QStringLiteral("X-Apparently-To"));
        if (!apparentlyTo.isNull())
            f.Message_Date = dateFromApparentlyTo(apparentlyTo);
    }
    f.Account_Key = message.header(QStringLiteral("X-Account-Key"));
    if (const auto from = message.firstFrom()) {
        f.Sender_Name = senderName(from->name);
        f.Sender_Address = from->address;
    }
    const QString rawTo = message.header(QStringLiteral("To"));
    if (!rawTo.isNull()) {
        f.Recieve_Name = recipientName(rawTo);
        f.Recieve_Address = recipientAddress(rawTo);
        f.Recieve_Name = substituteAccount(f.Recieve_Name, f.Recieve_Address, accountRows);
    }
    f.Message_Subject = message.subject();
    return f;
}
