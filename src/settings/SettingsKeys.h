#pragma once

#include <QString>

// Section names of the configuration file.
namespace SettingsKeys {
inline const QString Window = QStringLiteral("Window");
inline const QString LWindow = QStringLiteral("LWindow");
inline const QString Condition = QStringLiteral("Condition");
inline const QString MailDB = QStringLiteral("MailDB");
inline const QString DBGrid = QStringLiteral("DBGrid");
inline const QString sListView = QStringLiteral("sListView");
inline const QString Connection = QStringLiteral("Connection");
inline const QString ADCondition = QStringLiteral("ADCondition");
} // namespace SettingsKeys
