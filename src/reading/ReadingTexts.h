#pragma once

#include <QString>

// Every text the reading subsystem shows the user, in one place so that
// they can be reviewed against what users were promised, and tested.
namespace ReadingTexts {

inline const QString kShown = QStringLiteral("メッセージを表示しました");
inline const QString kLoading = QStringLiteral("メッセージを読込中です -- お待ちください");
inline const QString kRowError = QStringLiteral("データベースデータError");
inline const QString kNotMail = QStringLiteral("メールファイルではありません");
inline const QString kNotShown = QStringLiteral("メッセージを表示できませんでした\r\n");
inline const QString kNoProgram = QStringLiteral("このファイルは起動できる規定のプログラムがありません");
inline const QString kCannotStart = QStringLiteral("プログラムが起動できませんでした");
inline const QString kAscUnsupported = QStringLiteral("ascファイルは未対応です");
inline const QString kSaveDataMissing = QStringLiteral("Save Data がみつかりません\r\nプログラムの修正が必要です");

inline const QString kAttachmentsLeftOut
    = QStringLiteral("添付ファイルが多すぎるため、%1 件は一覧に表示していません (表示は %2 件まで)");

} // namespace ReadingTexts
