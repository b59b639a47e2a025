#include "settings/ParameterTable.h"

#include "settings/IniFile.h"
#include "settings/SettingsKeys.h"

ParameterTable::ParameterTable()
{
    for (const QString& key : rowKeys())
        m_values.insert(key, kDummyData);
}

const QStringList& ParameterTable::rowKeys()
{
    static const QStringList keys = [] {
        QStringList k{QStringLiteral("ExpFileName"), QStringLiteral("DLMTDStr1"), QStringLiteral("DLMTDStr2"),
                      QStringLiteral("GPGPath"),     QStringLiteral("ThdrPath"),  QStringLiteral("AutoView"),
                      QStringLiteral("WaitTime"),    QStringLiteral("ZOOM"),      QStringLiteral("ZoomFixed"),
                      QStringLiteral("FromDate"),    QStringLiteral("ToDate"),    QStringLiteral("Subject"),
                      QStringLiteral("SenderName")};
        for (int i = 1; i <= 10; ++i)
            k << QStringLiteral("MailAccount%1").arg(i);
        return k;
    }();
    return keys;
}

QStringList ParameterTable::accountRows() const
{
    QStringList rows;
    for (int i = 1; i <= 10; ++i)
        rows << value(QStringLiteral("MailAccount%1").arg(i));
    return rows;
}

bool ParameterTable::isUnset(const QString& value)
{
    return value.isEmpty() || value == kDummyData;
}

QString ParameterTable::value(const QString& key) const
{
    return m_values.value(key, kDummyData);
}

void ParameterTable::setValue(const QString& key, const QString& value)
{
    if (m_values.contains(key))
        m_values.insert(key, value);
}

QString ParameterTable::valueOr(const QString& key, const QString& defaultValue) const
{
    const QString v = value(key);
    return isUnset(v) ? defaultValue : v;
}

QString ParameterTable::valueOrApply(const QString& key, const QString& defaultValue)
{
    if (isUnset(value(key)))
        setValue(key, defaultValue);
    return valueOr(key, defaultValue);
}

void ParameterTable::read(const IniFile& ini)
{
    for (const QString& key : rowKeys())
        m_values.insert(key, ini.readString(SettingsKeys::Condition, key, kDummyData));
}

void ParameterTable::write(IniFile& ini) const
{
    for (const QString& key : rowKeys())
        ini.writeString(SettingsKeys::Condition, key, value(key));
}
