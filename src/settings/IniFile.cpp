#include "settings/IniFile.h"

#include <QFile>
#include <QSaveFile>

namespace {

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Values are trimmed when read, as the classic profile API does. A value
// that must keep surrounding blanks, or that is itself quoted, is written
// inside one pair of quotes, which reading strips again.
QString decodeValue(const QString& stored)
{
    QString v = stored.trimmed();
    if (v.size() >= 2 && v.startsWith(u'"') && v.endsWith(u'"'))
        v = v.mid(1, v.size() - 2);
    return v;
}

QString encodeValue(QString value)
{
    // A line break would end the line and let the rest pose as another key.
    value.replace(QLatin1String("\r\n"), QLatin1String(" "));
    value.replace(u'\r', u' ');
    value.replace(u'\n', u' ');
    const bool needsQuotes
        = value != value.trimmed() || (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"'));
    return needsQuotes ? u'"' + value + u'"' : value;
}

} // namespace

bool IniFile::load(const QString& path)
{
    m_preamble.clear();
    m_sections.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    parse(QString::fromUtf8(file.readAll()));
    return true;
}

bool IniFile::save(const QString& path) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(toText().toUtf8());
    return file.commit();
}

void IniFile::parse(const QString& text)
{
    m_preamble.clear();
    m_sections.clear();
    QString body = text;
    if (body.startsWith(QChar(0xFEFF)))
        body.remove(0, 1);
    const QStringList lines = body.split(u'\n');
    QList<Line>* target = &m_preamble;
    for (int i = 0; i < lines.size(); ++i) {
        QString raw = lines.at(i);
        if (raw.endsWith(u'\r'))
            raw.chop(1);
        if (i == lines.size() - 1 && raw.isEmpty())
            break; // the final line break does not start another line
        const QString trimmed = raw.trimmed();
        if (trimmed.startsWith(u'[') && trimmed.contains(u']')) {
            const QString name = trimmed.mid(1, trimmed.indexOf(u']') - 1).trimmed();
            m_sections.append(Section{name, {}});
            target = &m_sections.last().lines;
            continue;
        }
        const int eq = raw.indexOf(u'=');
        if (eq > 0 && !trimmed.startsWith(u';') && !trimmed.startsWith(u'#') && !raw.left(eq).trimmed().isEmpty()) {
            target->append(Line{raw.left(eq).trimmed(), raw.mid(eq + 1), {}});
        } else {
            target->append(Line{{}, {}, raw});
        }
    }
}

QString IniFile::toText() const
{
    QString out;
    auto writeLines = [&out](const QList<Line>& lines) {
        for (const Line& line : lines) {
            if (line.key.isEmpty())
                out += line.raw;
            else
                out += line.key + u'=' + line.value;
            out += u'\n';
        }
    };
    writeLines(m_preamble);
    for (const Section& section : m_sections) {
        out += u'[' + section.name + QLatin1String("]\n");
        writeLines(section.lines);
    }
    return out;
}

const IniFile::Section* IniFile::findSection(const QString& name) const
{
    for (const Section& section : m_sections) {
        if (sameName(section.name, name))
            return &section;
    }
    return nullptr;
}

IniFile::Section& IniFile::sectionForWrite(const QString& name)
{
    for (Section& section : m_sections) {
        if (sameName(section.name, name))
            return section;
    }
    m_sections.append(Section{name, {}});
    return m_sections.last();
}

const IniFile::Line* IniFile::findKey(const Section& section, const QString& key)
{
    for (const Line& line : section.lines) {
        if (!line.key.isEmpty() && sameName(line.key, key))
            return &line;
    }
    return nullptr;
}

bool IniFile::hasSection(const QString& section) const
{
    return findSection(section) != nullptr;
}

bool IniFile::hasKey(const QString& section, const QString& key) const
{
    const Section* s = findSection(section);
    return s && findKey(*s, key);
}

QStringList IniFile::sectionNames() const
{
    QStringList names;
    for (const Section& section : m_sections)
        names << section.name;
    return names;
}

QStringList IniFile::keyNames(const QString& section) const
{
    QStringList names;
    if (const Section* s = findSection(section)) {
        for (const Line& line : s->lines) {
            if (!line.key.isEmpty())
                names << line.key;
        }
    }
    return names;
}

QString IniFile::readString(const QString& section, const QString& key, const QString& defaultValue) const
{
    const Section* s = findSection(section);
    const Line* line = s ? findKey(*s, key) : nullptr;
    return line ? decodeValue(line->value) : defaultValue;
}

int IniFile::readInteger(const QString& section, const QString& key, int defaultValue) const
{
    if (!hasKey(section, key))
        return defaultValue;
    QString text = readString(section, key, QString());
    bool ok = false;
    int value = 0;
    // "$1F" and "0x1F" are hexadecimal, as the classic reader accepts them.
    if (text.startsWith(u'$'))
        value = text.mid(1).toInt(&ok, 16);
    else if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        value = text.mid(2).toInt(&ok, 16);
    else
        value = text.toInt(&ok, 10);
    return ok ? value : defaultValue;
}

bool IniFile::readBool(const QString& section, const QString& key, bool defaultValue) const
{
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value)
{
    Section& s = sectionForWrite(section);
    for (Line& line : s.lines) {
        if (!line.key.isEmpty() && sameName(line.key, key)) {
            line.value = encodeValue(value);
            return;
        }
    }
    // New keys go after the last key, ahead of trailing blank lines, so
    // that the blank line separating sections stays where it is.
    qsizetype at = s.lines.size();
    while (at > 0 && s.lines.at(at - 1).key.isEmpty() && s.lines.at(at - 1).raw.trimmed().isEmpty())
        --at;
    s.lines.insert(at, Line{key, encodeValue(value), {}});
}

void IniFile::writeInteger(const QString& section, const QString& key, int value)
{
    writeString(section, key, QString::number(value));
}

void IniFile::writeBool(const QString& section, const QString& key, bool value)
{
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void IniFile::eraseSection(const QString& section)
{
    m_sections.removeIf([&](const Section& s) { return sameName(s.name, section); });
}
