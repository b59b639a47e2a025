#include "base/SafePath.h"

#include <QDir>

QString safeFileName(const QString& untrustedName)
{
    QString name;
    name.reserve(untrustedName.size());
    for (const QChar c : untrustedName) {
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
        const qsizetype cut = (dot > 0 && name.size() - dot <= 16) ? dot - 1 : name.size() - 1;
        name.remove(cut, 1);
    }
    return name;
}

QString safeChildPath(const QString& folder, const QString& untrustedName)
{
    return QDir(folder).filePath(safeFileName(untrustedName));
}
