#include "reading/ui/TFileAssociationDetails.h"

#include <QFileInfo>
#include <QMimeDatabase>
#include <QPainter>
#include <QPixmap>

TFileAssociationDetails::TFileAssociationDetails(int cdpi)
    : m_size(cdpi <= 120      ? 24
                 : cdpi < 192 ? 32
                              : 48)
{ }

void TFileAssociationDetails::AddFile(const QString& fileName)
{
    const QString suffix = QFileInfo(fileName).suffix();
    AddExtension(suffix.isEmpty() ? QString() : u'.' + suffix);
}

void TFileAssociationDetails::AddExtension(const QString& extension)
{
    if (extension.trimmed().isEmpty())
        return;
    FExtensions << extension.toUpper();
}

void TFileAssociationDetails::GetFileIconsAndDescriptions()
{
    // The image list is rebuilt for every listed attachment; icons already
    // made for the same extensions in the same order are kept, so listing n
    // attachments looks up n icons, not n * n / 2.
    m_built = qMin(m_built, FExtensions.size());
    FImages.resize(m_built);
    for (; m_built < FExtensions.size(); ++m_built)
        FImages << iconForExtension(FExtensions.at(m_built), m_size);
}

namespace {

QIcon drawnIcon(const QString& extension, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF page(size * 0.15, size * 0.05, size * 0.7, size * 0.9);
    p.setPen(QPen(QColor(90, 90, 90), qMax(1.0, size / 24.0)));
    p.setBrush(QColor(250, 250, 250));
    p.drawRect(page);
    QFont font;
    font.setPixelSize(qMax(6, size / 4));
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(30, 80, 150));
    p.drawText(page, Qt::AlignCenter, extension.mid(1, 4).toUpper());
    return QIcon(pixmap);
}

} // namespace

QIcon TFileAssociationDetails::iconForExtension(const QString& extension, int size)
{
    const QMimeType type = QMimeDatabase().mimeTypeForFile(u'x' + extension.toLower(), QMimeDatabase::MatchExtension);
    for (const QString& name : {type.iconName(), type.genericIconName()}) {
        if (QIcon::hasThemeIcon(name))
            return QIcon::fromTheme(name);
    }
    return drawnIcon(extension, size);
}

QString TFileAssociationDetails::descriptionForExtension(const QString& extension)
{
    return QMimeDatabase().mimeTypeForFile(u'x' + extension.toLower(), QMimeDatabase::MatchExtension).comment();
}
