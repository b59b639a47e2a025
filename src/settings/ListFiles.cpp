#include "settings/ListFiles.h"

#include "base/TextLines.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

namespace ListFiles {

QStringList loadUtf8(const QString& path, bool* unreadable)
{
    QByteArray bytes = loadBytes(path, unreadable);
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    return splitTextLines(QString::fromUtf8(bytes));
}

QStringList loadDetectingBom(const QString& path, bool* unreadable)
{
    const QByteArray bytes = loadBytes(path, unreadable);
    const auto encoding = QStringConverter::encodingForData(bytes);
    QStringDecoder decoder(encoding.value_or(QStringConverter::Utf8), QStringConverter::Flag::ConvertInitialBom);
    QString text = decoder(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return splitTextLines(text);
}

bool saveUtf8(const QString& path, const QStringList& lines)
{
    QByteArray bytes("\xEF\xBB\xBF");
    for (const QString& line : lines) {
        bytes += line.toUtf8();
        bytes += '\n';
    }
    return saveBytes(path, bytes);
}

QByteArray loadBytes(const QString& path, bool* unreadable)
{
    QFile file(path);
    bool failed = false;
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly)) {
        bytes = file.readAll();
        failed = file.error() != QFileDevice::NoError;
    } else {
        failed = QFileInfo::exists(path);
    }
    if (unreadable)
        *unreadable = failed;
    return failed ? QByteArray() : bytes;
}

bool saveBytes(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(bytes);
    return file.commit();
}

bool ensureFileExists(const QString& path)
{
    if (QFile::exists(path))
        return true;
    QFile file(path);
    return file.open(QIODevice::WriteOnly);
}

QString readFormTitle(const QString& appDataFolder)
{
    const QByteArray bytes = loadBytes(QDir(appDataFolder).filePath(ListFileNames::FormTitle));
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text.trimmed();
}

bool writeFormTitle(const QString& appDataFolder, const QString& caption)
{
    return saveUtf8(QDir(appDataFolder).filePath(ListFileNames::FormTitle), {caption});
}

} // namespace ListFiles
