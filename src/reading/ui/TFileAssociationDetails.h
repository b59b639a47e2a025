#pragma once

#include <QIcon>
#include <QList>
#include <QStringList>

// Icons by file extension for the attachment lists: one icon per extension
// added, in the order added, so that item i of a list shows icon i.
//
// On Linux an extension's icon is the desktop theme's icon for the MIME type
// the extension stands for; where the theme has none, a document icon
// labelled with the extension is drawn here.
class TFileAssociationDetails
{
public:
    explicit TFileAssociationDetails(int cdpi = 96);

    void AddFile(const QString& fileName);
    void AddExtension(const QString& extension);
    void Clear()
    {
        FExtensions.clear();
        m_built = 0; // the next rebuild starts over
    }
    void GetFileIconsAndDescriptions();

    const QStringList& extensions() const { return FExtensions; }
    const QList<QIcon>& images() const { return FImages; }
    int iconSize() const { return m_size; }

    static QIcon iconForExtension(const QString& extension, int size);
    static QString descriptionForExtension(const QString& extension);

private:
    QStringList FExtensions;
    QList<QIcon> FImages;
    qsizetype m_built = 0; // leading images that match FExtensions
    int m_size;
};
