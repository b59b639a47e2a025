#include "base/SafePath.h"

#include <QDir>

namespace {

// Marks that reorder how a name is shown: "invoice\u202Efdp.exe" would show
// as a PDF. They carry no meaning in a file name, so they are dropped.
bool isDirectionMark(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x202A && u <= 0x202E) || (u >= 0x2066 && u <= 0x2069) || u == 0x200E || u == 0x200F || u == 0x061C;
}

} // namespace

QString safeFileName(const QString& untrustedName)
{
    QString name;
    name.reserve(untrustedName.size());
    for (const QChar c : untrustedName) {
        if (isDirectionMark(c))
            continue;
        if (c == u'/' || c == u'\\' || c.category() == QChar::Other_Control || c.unicode() == 0)
            name += u'_';
        else
            name += c;
    }
    name = name.trimmed();
    const bool onlyDots = !name.isEmpty() && std::all_of(name.begin(), name.end(), [](QChar c) { return c == u'.'; });
    if (name.isEmpty() || onlyDots)
        return QStringLiteral("_");
    // Names longer than a file system allows are cut, keeping the extension.
    constexpr int maxBytes = 240;
    while (name.toUtf8().size() > maxBytes) {
        const qsizetype dot = name.lastIndexOf(u'.');
        qsizetype cut = (dot > 0 && name.size() - dot <= 16) ? dot - 1 : name.size() - 1;
        // A character outside the BMP goes whole, never half of it.
        const bool pair = name.at(cut).isLowSurrogate() && cut > 0 && name.at(cut - 1).isHighSurrogate();
        if (pair)
            --cut;
        name.remove(cut, pair ? 2 : 1);
    }
    return name;
}

QString safeChildPath(const QString& folder, const QString& untrustedName)
{
    return QDir(folder).filePath(safeFileName(untrustedName));
}
