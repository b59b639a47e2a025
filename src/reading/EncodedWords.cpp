#include "reading/EncodedWords.h"

#include "reading/Base64.h"
#include "reading/Charsets.h"

#include <QRegularExpression>

namespace {

struct EncodedWord
{
    qsizetype start;
    qsizetype end;
    QByteArray charset;
    QByteArray bytes;
};

QByteArray decodeQ(const QByteArray& text)
{
    QByteArray out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text.at(i);
        if (c == '_') {
            out.append(' ');
        } else if (c == '=' && i + 2 < text.size()) {
            bool ok = false;
            const int v = text.mid(i + 1, 2).toInt(&ok, 16);
            if (ok) {
                out.append(char(v));
                i += 2;
            } else {
                out.append(c);
            }
        } else {
            out.append(c);
        }
    }
    return out;
}

bool onlyBlanks(const QByteArray& text)
{
    for (const char c : text) {
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n')
            return false;
    }
    return true;
}

} // namespace

QByteArray unfoldHeader(const QByteArray& raw)
{
    // A folded header continues on the next line after the line break; the
    // break itself goes, the blank that follows it stays.
    QByteArray out = raw;
    out.removeIf([](char c) { return c == '\r' || c == '\n'; });
    return out.trimmed();
}

QString decodeHeaderText(const QByteArray& rawHeader)
{
    const QByteArray raw = unfoldHeader(rawHeader);
    static const QRegularExpression wordPattern(QStringLiteral("=\\?([^?\\s]+)\\?([BbQq])\\?([^?\\s]*)\\?="));
    // Work on Latin-1 so that match offsets are byte offsets.
    const QString latin = QString::fromLatin1(raw);
    QList<EncodedWord> words;
    for (auto it = wordPattern.globalMatch(latin); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        QByteArray charset = m.captured(1).toLatin1();
        const qsizetype star = charset.indexOf('*'); // RFC 2231 language suffix
        if (star >= 0)
            charset.truncate(star);
        const QByteArray text = m.captured(3).toLatin1();
        const bool base64 = m.captured(2).compare(QLatin1String("B"), Qt::CaseInsensitive) == 0;
        words.append({m.capturedStart(), m.capturedEnd(), charset, base64 ? decodeBase64Lenient(text) : decodeQ(text)});
    }
    if (words.isEmpty())
        return Charsets::decodeUndeclared(raw);

    QString out;
    qsizetype position = 0;
    for (qsizetype i = 0; i < words.size();) {
        out += Charsets::decodeUndeclared(raw.mid(position, words[i].start - position));
        // Join the run of words in one character set separated only by blanks.
        QByteArray bytes = words[i].bytes;
        qsizetype j = i + 1;
        while (j < words.size() && onlyBlanks(raw.mid(words[j - 1].end, words[j].start - words[j - 1].end))
               && words[j].charset.compare(words[i].charset, Qt::CaseInsensitive) == 0) {
            bytes += words[j].bytes;
            ++j;
        }
        out += Charsets::decode(bytes, words[i].charset);
        position = words[j - 1].end;
        // Blanks between two encoded words in different character sets go too.
        if (j < words.size() && onlyBlanks(raw.mid(position, words[j].start - position)))
            position = words[j].start;
        i = j;
    }
    out += Charsets::decodeUndeclared(raw.mid(position));
    return out;
}
