#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

class IniFile;

// The program-wide marker for a setting that has no value yet.
inline const QString kDummyData = QStringLiteral("Dummy Data");

// The key/value rows of the "パラメータ設定" tab, stored in section
// "Condition". The rows are fixed; a row missing from the file reads
// "Dummy Data", and every reader treats that marker and an empty text alike
// as "not set" and applies its own default.
class ParameterTable
{
public:
    ParameterTable();

    // The row keys in the order the table shows them.
    static const QStringList& rowKeys();
    static bool isUnset(const QString& value);

    QString value(const QString& key) const;
    void setValue(const QString& key, const QString& value);

    // The row's value, or the default when it is not set. valueOrApply also
    // writes the default into the row so that it is saved at close.
    QString valueOr(const QString& key, const QString& defaultValue) const;
    QString valueOrApply(const QString& key, const QString& defaultValue);

    // The values of MailAccount1 ... MailAccount10 in that order (unset rows
    // included: they never match), the user's own accounts.
    QStringList accountRows() const;

    void read(const IniFile& ini);
    void write(IniFile& ini) const;

private:
    QHash<QString, QString> m_values;
};
