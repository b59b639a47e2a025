#include "reading/Base64.h"

namespace {

int valueOf(char c)
{
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+' || c == '-')
        return 62;
    if (c == '/' || c == '_')
        return 63;
    return -1;
}

} // namespace

// Written by hand: Qt's and GMime's decoders both stop at the first padding.
QByteArray decodeBase64Lenient(const QByteArray& encoded)
{
    QByteArray out;
    out.reserve(encoded.size() * 3 / 4 + 3);
    quint32 group = 0;
    int count = 0;
    const auto flush = [&] {
        if (count >= 2)
            out.append(char((group >> (6 * count - 8)) & 0xFF));
        if (count >= 3)
            out.append(char((group >> (6 * count - 16)) & 0xFF));
        group = 0;
        count = 0;
    };
    for (const char c : encoded) {
        if (c == '=') {
            flush();
            continue;
        }
        const int v = valueOf(c);
        if (v < 0)
            continue;
        group = (group << 6) | quint32(v);
        if (++count == 4) {
            out.append(char((group >> 16) & 0xFF));
            out.append(char((group >> 8) & 0xFF));
            out.append(char(group & 0xFF));
            group = 0;
            count = 0;
        }
    }
    flush();
    return out;
}
