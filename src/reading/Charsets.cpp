#include "reading/Charsets.h"

#include <QStringDecoder>

#include <cerrno>
#include <iconv.h>

namespace Charsets {
namespace {

enum class Strictness { Strict, Lenient };

// Converts with glibc's iconv. Strict conversion fails on the first bad
// byte (used to test a guess); lenient conversion puts U+FFFD there and
// goes on. Returns a null string when the character set is unknown or a
// strict conversion fails.
QString viaIconv(const QByteArray& bytes, const char* charset, Strictness strictness)
{
    iconv_t cd = iconv_open("UTF-8", charset);
    if (cd == iconv_t(-1))
        return QString();
    QByteArray out;
    out.reserve(bytes.size() * 2 + 16);
    char* in = const_cast<char*>(bytes.constData());
    size_t inLeft = size_t(bytes.size());
    char buffer[4096];
    bool failed = false;
    while (inLeft > 0) {
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        const size_t r = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, qsizetype(outPtr - buffer));
        if (r != size_t(-1))
            break;
        if (errno == E2BIG)
            continue;
        // EILSEQ or EINVAL (a character cut off at the end).
        if (strictness == Strictness::Strict) {
            failed = true;
            break;
        }
        out.append("\xEF\xBF\xBD");
        ++in;
        --inLeft;
    }
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    iconv(cd, nullptr, nullptr, &outPtr, &outLeft); // flush shift state
    out.append(buffer, qsizetype(outPtr - buffer));
    iconv_close(cd);
    if (failed)
        return QString();
    return QString::fromUtf8(out);
}

QByteArray normalisedName(const QByteArray& charset)
{
    QByteArray name = charset.trimmed().toLower();
    if (name.startsWith('"') && name.endsWith('"') && name.size() >= 2)
        name = name.mid(1, name.size() - 2);
    return name;
}

} // namespace

QString decodeWithIconvName(const QByteArray& bytes, const QByteArray& name, const QByteArray& fallback)
{
    QString text = viaIconv(bytes, name.constData(), Strictness::Lenient);
    if (text.isNull())
        text = viaIconv(bytes, fallback.constData(), Strictness::Lenient);
    return text.isNull() ? QString::fromLatin1(bytes) : text;
}

bool isValidUtf8(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = decoder(bytes);
    Q_UNUSED(text);
    return !decoder.hasError();
}

QString decodeUndeclared(const QByteArray& bytes)
{
    if (isValidUtf8(bytes))
        return QString::fromUtf8(bytes);
    const QString cp932 = viaIconv(bytes, "CP932", Strictness::Strict);
    if (!cp932.isNull())
        return cp932;
    return QString::fromLatin1(bytes);
}

QByteArray iso2022jpToEucJp(const QByteArray& bytes)
{
    enum class Mode { Ascii, Jis0208, Katakana, Jis0212 } mode = Mode::Ascii;
    QByteArray out;
    out.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(bytes.at(i));
        if (c == 0x1B && i + 2 < bytes.size()) {
            const char a = bytes.at(i + 1);
            const char b = bytes.at(i + 2);
            if (a == '(' && (b == 'B' || b == 'J')) {
                mode = Mode::Ascii;
            } else if (a == '(' && b == 'I') {
                mode = Mode::Katakana;
            } else if (a == '$' && (b == 'B' || b == '@')) {
                mode = Mode::Jis0208;
            } else if (a == '$' && b == '(' && i + 3 < bytes.size() && bytes.at(i + 3) == 'D') {
                mode = Mode::Jis0212;
                ++i;
            } else {
                out.append(char(c));
                continue;
            }
            i += 2;
            continue;
        }
        if (c == '\r' || c == '\n') {
            // A line break ends any two-byte mode in well-formed text.
            mode = Mode::Ascii;
            out.append(char(c));
            continue;
        }
        switch (mode) {
        case Mode::Ascii:
            out.append(char(c));
            break;
        case Mode::Katakana:
            out.append(char(0x8E));
            out.append(char(c | 0x80));
            break;
        case Mode::Jis0208:
        case Mode::Jis0212:
            if (i + 1 >= bytes.size() || c < 0x21 || c > 0x7E) {
                out.append(char(c));
                break;
            }
            if (mode == Mode::Jis0212)
                out.append(char(0x8F));
            out.append(char(c | 0x80));
            out.append(char(static_cast<unsigned char>(bytes.at(++i)) | 0x80));
            break;
        }
    }
    return out;
}

QString decode(const QByteArray& bytes, const QByteArray& charset)
{
    const QByteArray name = normalisedName(charset);
    if (name.isEmpty() || name == "us-ascii" || name == "ascii")
        return decodeUndeclared(bytes);
    if (name == "utf-8" || name == "utf8") {
        if (isValidUtf8(bytes))
            return QString::fromUtf8(bytes);
        return decodeUndeclared(bytes);
    }
    if (name == "shift_jis" || name == "shift-jis" || name == "sjis" || name == "x-sjis" || name == "cp932"
        || name == "windows-31j" || name == "ms_kanji" || name == "ms932")
        return viaIconv(bytes, "CP932", Strictness::Lenient);
    if (name.startsWith("iso-2022-jp") || name == "csiso2022jp")
        return viaIconv(iso2022jpToEucJp(bytes), "EUC-JP-MS", Strictness::Lenient);
    if (name == "euc-jp" || name == "eucjp" || name == "x-euc-jp")
        return viaIconv(bytes, "EUC-JP-MS", Strictness::Lenient);
    if (name == "iso-8859-1" || name == "latin1") {
        // Mail labelled Latin-1 is often Windows-1252.
        const QString text = viaIconv(bytes, "WINDOWS-1252", Strictness::Strict);
        return text.isNull() ? QString::fromLatin1(bytes) : text;
    }
    const QString text = viaIconv(bytes, name.constData(), Strictness::Lenient);
    return text.isNull() ? decodeUndeclared(bytes) : text;
}

} // namespace Charsets
