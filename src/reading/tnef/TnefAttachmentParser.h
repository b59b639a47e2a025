#pragma once

#include <QString>
#include <QStringList>

class QIODevice;

// Names the files unpacked from a TNEF stream. Names inside the stream are
// untrusted: they pass through the safe-name helper and never leave the
// base folder.
class TAttachmentInfo
{
public:
    explicit TAttachmentInfo(const QString& baseFolder);

    void Reset();
    // The free path for the name in the base folder ("x.txt", then "x1.txt",
    // "x2.txt", ...), remembered as the file now being written.
    QString GenerateSaveToFileName(const QString& fileName);
    // Gives the file last written its final name: the long file name, else
    // the short one, else the title + ".dat". Returns the name it has now.
    QString RenameSavedAttachment();

    QString BaseFolder() const { return FBaseFolder; }
    QString SaveToFileName() const { return FSaveToFileName; }
    QString FileName;
    QString LongFileName;
    QString Title;

private:
    QString freeName(const QString& fileName) const;

    QString FBaseFolder;
    QString FSaveToFileName;
};

// Unpacks one TNEF stream into a folder: the attachments under their own
// names, and the message bodies as "Body.txt", "Body.html" and
// "RtfCompressed.dat", all as raw bytes. Throws TnefError; what was written
// before an error stays.
class TTnefAttachmentParser
{
public:
    // Returns the names of the files written, in the order they were finished.
    QStringList Parse(QIODevice* source, const QString& destinationFolder);
};
