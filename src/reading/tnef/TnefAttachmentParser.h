#pragma once

#include <QHash>
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

    // The data of the current attachment was not written (too many files).
    void ForgetSavedFile() { FSaveToFileName.clear(); }

private:
    QString freeName(const QString& fileName);

    QString FBaseFolder;
    QString FSaveToFileName;
    // The next number to try for each name: thousands of attachments of one
    // name must not probe "x1", "x2", ... from 1 again each time.
    QHash<QString, int> FNextNumber;
};

// Unpacks one TNEF stream into a folder: the attachments under their own
// names, and the message bodies as "Body.txt", "Body.html" and
// "RtfCompressed.dat", all as raw bytes. Throws TnefError; what was written
// before an error stays.
class TTnefAttachmentParser
{
public:
    // At most this many files are written from one stream; a stream is
    // small, but it can name thousands of attachments.
    static constexpr int MaxFiles = 1000;

    // Returns the names of the files written, in the order they were finished.
    QStringList Parse(QIODevice* source, const QString& destinationFolder);
    // How many attachments and bodies the last Parse left out for MaxFiles.
    int Skipped() const { return FSkipped; }

private:
    int FSkipped = 0;
};
