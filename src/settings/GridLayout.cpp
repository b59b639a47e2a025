#include "settings/GridLayout.h"

#include "settings/IniFile.h"
#include "settings/SettingsKeys.h"

const std::array<GridColumn, GridLayout::ColumnCount>& GridLayout::builtIn()
{
    static const std::array<GridColumn, ColumnCount> columns{{
        {false, 200, QStringLiteral("MESSAGE_ID"), QStringLiteral("メッセージID")},
        {true, 200, QStringLiteral("MESSAGE_DATE"), QStringLiteral("受信日時")},
        {false, 200, QStringLiteral("ACCOUNT_KEY"), QStringLiteral("アカウント(POP)")},
        {true, 200, QStringLiteral("SENDER_NAME"), QStringLiteral("送信名")},
        {true, 200, QStringLiteral("SENDER_ADDRESS"), QStringLiteral("送信アドレス")},
        {true, 200, QStringLiteral("RECIEVE_NAME"), QStringLiteral("受信名")},
        {true, 200, QStringLiteral("RECIEVE_ADDRESS"), QStringLiteral("受信アドレス")},
        {true, 200, QStringLiteral("MESSAGE_SUBJECT"), QStringLiteral("題目")},
        {false, 200, QStringLiteral("MESSAGE_FILENAME"), QStringLiteral("メッセージファイル名")},
        {true, 200, QStringLiteral("MAILBODY"), QStringLiteral("ボディ")},
    }};
    return columns;
}

void GridLayout::read(const IniFile& ini)
{
    for (int i = 0; i < ColumnCount; ++i) {
        GridColumn& c = columns[i];
        const QString n = QString::number(i);
        c.visible = ini.readBool(SettingsKeys::DBGrid, QStringLiteral("Visible_") + n, true);
        c.width = ini.readInteger(SettingsKeys::DBGrid, QStringLiteral("Columns_") + n, 200);
        c.fieldName = ini.readString(SettingsKeys::DBGrid, QStringLiteral("FieldName_") + n, QString());
        c.title = ini.readString(SettingsKeys::DBGrid, QStringLiteral("TitelCaption_") + n, QString());
    }
}

void GridLayout::write(IniFile& ini) const
{
    for (int i = 0; i < ColumnCount; ++i) {
        const GridColumn& c = columns[i];
        const QString n = QString::number(i);
        ini.writeBool(SettingsKeys::DBGrid, QStringLiteral("Visible_") + n, c.visible);
        ini.writeInteger(SettingsKeys::DBGrid, QStringLiteral("Columns_") + n, c.width);
        ini.writeString(SettingsKeys::DBGrid, QStringLiteral("FieldName_") + n, c.fieldName);
        ini.writeString(SettingsKeys::DBGrid, QStringLiteral("TitelCaption_") + n, c.title);
    }
}

bool GridLayout::resetIfIncomplete()
{
    const bool incomplete
        = std::any_of(columns.begin(), columns.end(), [](const GridColumn& c) { return c.fieldName.isEmpty(); });
    if (!incomplete)
        return false;
    for (int i = 0; i < ColumnCount; ++i) {
        columns[i].fieldName = builtIn()[i].fieldName;
        columns[i].title = builtIn()[i].title;
    }
    for (int hidden : {0, 2, 8})
        columns[hidden].visible = false;
    return true;
}
