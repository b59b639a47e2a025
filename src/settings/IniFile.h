#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A configuration file of "[Section]" and "Key=Value" lines.
//
// Written by hand because QSettings does not fit this file: it splits values
// at commas and compares keys with case on Linux. Here sections and keys
// compare without regard to case, values keep every character (Japanese text,
// commas, brackets), and lines the program does not know, comments included,
// survive a load and save unchanged. The file is UTF-8.
class IniFile
{
public:
    // Reads the file; a missing or unreadable file leaves an empty document
    // and returns false.
    bool load(const QString& path);
    // Writes the whole document; returns false when the file cannot be written.
    bool save(const QString& path) const;

    void parse(const QString& text);
    QString toText() const;

    bool hasSection(const QString& section) const;
    bool hasKey(const QString& section, const QString& key) const;
    QStringList sectionNames() const;
    QStringList keyNames(const QString& section) const;

    QString readString(const QString& section, const QString& key, const QString& defaultValue) const;
    // Decimal text; anything that is not a whole number yields the default.
    int readInteger(const QString& section, const QString& key, int defaultValue) const;
    // Any non-zero integer reads as true.
    bool readBool(const QString& section, const QString& key, bool defaultValue) const;

    // A key that exists keeps its place and its spelling; a new key is added
    // at the end of its section, a new section at the end of the file.
    void writeString(const QString& section, const QString& key, const QString& value);
    void writeInteger(const QString& section, const QString& key, int value);
    void writeBool(const QString& section, const QString& key, bool value);

    void eraseSection(const QString& section);

private:
    struct Line
    {
        QString key; // empty for comments and blank lines
        QString value;
        QString raw; // the line as read, for comments and blank lines
    };
    struct Section
    {
        QString name;
        QList<Line> lines;
    };

    const Section* findSection(const QString& name) const;
    Section& sectionForWrite(const QString& name);
    static const Line* findKey(const Section& section, const QString& key);

    QList<Line> m_preamble; // lines before the first section
    QList<Section> m_sections;
};
