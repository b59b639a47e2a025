#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The list files kept beside the configuration file.
namespace ListFileNames {
inline const QString FormTitle = QStringLiteral("$FormTitle.txt");
inline const QString MailAddressList = QStringLiteral("$MailAddressList.txt");
inline const QString MailBody = QStringLiteral("$MailBody.rtf");
inline const QString SMTPPassCode = QStringLiteral("$SMTPPass_Code");
inline const QString RankNames = QStringLiteral("$RNK_Name.Txt");
inline const QString MaskList = QStringLiteral("$MSK_List.Txt");
inline const QString SubjectKeys = QStringLiteral("$Subject_KeyStr.Txt");
inline const QString SenderKeys = QStringLiteral("$Sender_KeyStr.Txt");
inline const QString MsgBodyKeys = QStringLiteral("$MsgBody_KeyStr.Txt");
} // namespace ListFileNames

// Text lists are one entry per line, written as UTF-8 with a byte-order mark.
// Errors while loading or saving are not reported: a missing or unreadable
// file yields an empty list, a failed save leaves the old file. unreadable,
// when given, is set when the file exists but could not be read, so that
// the caller does not write an empty list over it.
namespace ListFiles {

QStringList loadUtf8(const QString& path, bool* unreadable = nullptr);
// Honours a byte-order mark (UTF-8, UTF-16, UTF-32); without one the text is UTF-8.
QStringList loadDetectingBom(const QString& path, bool* unreadable = nullptr);
bool saveUtf8(const QString& path, const QStringList& lines);

QByteArray loadBytes(const QString& path, bool* unreadable = nullptr);
bool saveBytes(const QString& path, const QByteArray& bytes);

// Creates an empty file when none is there; an existing one is left alone.
bool ensureFileExists(const QString& path);

// The main window's caption, for a second starting instance to find.
QString readFormTitle(const QString& appDataFolder);
bool writeFormTitle(const QString& appDataFolder, const QString& caption);

} // namespace ListFiles
