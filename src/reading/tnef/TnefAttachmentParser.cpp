#include "reading/tnef/TnefAttachmentParser.h"

#include "base/SafePath.h"
#include "reading/tnef/TnefReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

TAttachmentInfo::TAttachmentInfo(const QString& baseFolder)
    : FBaseFolder(baseFolder)
{
    Reset();
}

void TAttachmentInfo::Reset()
{
    FSaveToFileName.clear();
    LongFileName.clear();
    FileName.clear();
    Title.clear();
}

QString TAttachmentInfo::freeName(const QString& fileName)
{
    const QString safe = safeFileName(fileName);
    QString path = QDir(FBaseFolder).filePath(safe);
    if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
        return path;
    const QFileInfo info(safe);
    const QString suffix = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
    const QString stem = suffix.isEmpty() ? safe : safe.left(safe.size() - suffix.size());
    int& k = FNextNumber[safe];
    for (k = qMax(k, 1);; ++k) {
        path = QDir(FBaseFolder).filePath(stem + QString::number(k) + suffix);
        if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
            return path;
    }
}

QString TAttachmentInfo::GenerateSaveToFileName(const QString& fileName)
{
    FSaveToFileName = freeName(fileName);
    return FSaveToFileName;
}

QString TAttachmentInfo::RenameSavedAttachment()
{
    if (FSaveToFileName.isEmpty() || !QFileInfo::exists(FSaveToFileName))
        return {};
    QString finalName = LongFileName;
    if (finalName.isEmpty())
        finalName = FileName;
    if (finalName.isEmpty() && !Title.isEmpty())
        finalName = Title + QStringLiteral(".dat");
    QString now = FSaveToFileName;
    if (!finalName.isEmpty()) {
        const QString target = freeName(finalName);
        if (QFile::rename(FSaveToFileName, target))
            now = target;
    }
    Reset();
    return QFileInfo(now).fileName();
}

namespace {

class Unpacking
{
public:
    Unpacking(QIODevice* source, const QString& folder)
        : info(folder)
        , reader(source)
    { }

    int skipped = 0;

    QStringList run()
    {
        while (reader.NextAttribute()) {
            if (reader.AttributeLevel() == TTnefAttributeLevel::alMessage)
                messageAttribute();
            else
                attachmentAttribute();
        }
        finishAttachment();
        return written;
    }

private:
    // A file is listed once, under the name it ends with.
    void finishAttachment()
    {
        const QString before = QFileInfo(info.SaveToFileName()).fileName();
        const QString after = info.RenameSavedAttachment();
        if (after.isEmpty())
            return;
        const qsizetype at = written.indexOf(before);
        if (at >= 0)
            written[at] = after;
        else
            written << after;
    }

    // Creates the file and writes into it through the given step. Past
    // MaxFiles the step still reads its value, into nothing, so the stream
    // is walked to its end in linear time and what was left out is counted.
    template <typename Step> void writeFile(const QString& name, Step step)
    {
        if (written.size() + (info.SaveToFileName().isEmpty() ? 0 : 1) >= TTnefAttachmentParser::MaxFiles) {
            ++skipped;
            Discard nothing;
            nothing.open(QIODevice::WriteOnly);
            step(&nothing);
            info.ForgetSavedFile();
            return;
        }
        QFile file(info.GenerateSaveToFileName(name));
        // A new file of our own: never through a link planted in the folder,
        // never over a file that is there already.
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            throw TnefError("Cannot create file");
        step(&file);
    }

    // Takes whatever is written and keeps none of it.
    class Discard final : public QIODevice
    {
    protected:
        qint64 readData(char*, qint64) override { return -1; }
        qint64 writeData(const char*, qint64 length) override { return length; }
    };

    void messageAttribute()
    {
        if (reader.AttributeTag() != TTnefAttributeTag::agMapiProperties)
            return;
        TTnefPropertyReader properties(reader);
        while (properties.NextProperty()) {
            const TTnefPropertyId id = properties.PropertyTag()->Id();
            const char* name = id == TTnefPropertyId::piBody ? "Body.txt"
                : id == TTnefPropertyId::piBodyHtml          ? "Body.html"
                : id == TTnefPropertyId::piRtfCompressed     ? "RtfCompressed.dat"
                                                             : nullptr;
            if (!name)
                continue;
            const TTnefPropertyType type = properties.PropertyTag()->PropertyType();
            if (type != TTnefPropertyType::ptString8 && type != TTnefPropertyType::ptUnicode
                && type != TTnefPropertyType::ptBinary)
                throw TnefError("Invalid tnef format for the message body");
            writeFile(QString::fromLatin1(name), [&](QIODevice* f) { TAttachStreamProperty::Load(properties, f); });
            if (!info.SaveToFileName().isEmpty())
                written << QFileInfo(info.SaveToFileName()).fileName();
            info.ForgetSavedFile();
        }
    }

    void attachmentAttribute()
    {
        switch (reader.AttributeTag()) {
        case TTnefAttributeTag::agAttachRenderData:
            finishAttachment();
            break;
        case TTnefAttributeTag::agAttachTitle:
            info.Title = TAttachTitleAttribute::Load(reader);
            break;
        case TTnefAttributeTag::agAttachData:
            writeFile(QStringLiteral("Untitled.dat"), [&](QIODevice* f) { TAttachDataAttribute::Load(reader, f); });
            break;
        case TTnefAttributeTag::agAttachment:
            attachmentProperties();
            break;
        default:
            break;
        }
    }

    void attachmentProperties()
    {
        TTnefPropertyReader properties(reader);
        while (properties.NextProperty()) {
            switch (properties.PropertyTag()->Id()) {
            case TTnefPropertyId::piAttachData:
                writeFile(QStringLiteral("Untitled.dat"),
                          [&](QIODevice* f) { TAttachDataProperty::Load(properties, f); });
                break;
            case TTnefPropertyId::piAttachFilename:
                info.FileName = TAttachStringProperty::Load(properties);
                break;
            case TTnefPropertyId::piAttachLongFilename:
                info.LongFileName = TAttachStringProperty::Load(properties);
                break;
            case TTnefPropertyId::piAttachContentBase:
            case TTnefPropertyId::piAttachContentId:
            case TTnefPropertyId::piAttachContentLocation:
            case TTnefPropertyId::piAttachDisposition:
            case TTnefPropertyId::piAttachMimeTag:
            case TTnefPropertyId::piDisplayName:
                TAttachStringProperty::Load(properties);
                break;
            default:
                break;
            }
        }
    }

    TAttachmentInfo info;
    TTnefReader reader;
    QStringList written;
};

} // namespace

QStringList TTnefAttachmentParser::Parse(QIODevice* source, const QString& destinationFolder)
{
    Unpacking unpacking(source, destinationFolder);
    const QStringList written = unpacking.run();
    FSkipped = unpacking.skipped;
    return written;
}
