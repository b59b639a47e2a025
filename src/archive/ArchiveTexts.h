#pragma once

#include <QString>

// Every text the archive subsystem shows the user, in one place so that
// they can be reviewed against what users were promised, and tested.
// The statements' SQL stays with the code that runs it.
namespace ArchiveTexts {

inline const QString kEmptyId = QStringLiteral("このメールデータはDB更新できません");
inline const QString kNoDate = QStringLiteral(
    "メッセージの日付がないため、このメールデータはDB更新できません\r\n"
    "「書誌情報」の「Message Date:」欄に日付を入力してから、もう一度「DB更新」してください (例: 2024/01/05 9:03:07)");
inline const QString kIndexFailed = QStringLiteral("更新できませんでした(Message_IdxTbl)");
inline const QString kDataFailed = QStringLiteral("UPdate できませんでした(Message_DatTBL)");
inline const QString kDone = QStringLiteral("DB更新が完了しました");
inline const QString kSetDatabase = QStringLiteral("データベースファイルを設定してください");
inline const QString kNoDataRow
    = QStringLiteral("このメッセージのファイルはアーカイブにありません\r\n(索引だけが登録されています)");
inline const QString kReplaceQuestion
    = QStringLiteral("同じ Message ID と日付で、別のメールが登録されています\r\n登録済みのメールを置き換えますか?");
inline const QString kReplaceCancelled = QStringLiteral("DB更新を取りやめました (登録済みのメールはそのままです)");
inline const QString kNoSuchMessage = QStringLiteral("この Message ID と日付のメッセージはアーカイブにありません");
inline const QString kMissingIdReason = QStringLiteral(" (Message-ID がありません)");
inline const QString kMsgNotYet = QStringLiteral("Outlook メッセージ(.msg)の登録にはまだ対応していません");
inline const QString kReadOnlyArchive
    = QStringLiteral("アーカイブ ファイルに書き込みできないため開けません: %1\r\n"
                     "読み取り専用のファイルは、書き込みできる場所にコピーしてから開いてください");
inline const QString kColonInPath = QStringLiteral(
    "フォルダーのパスに「:」が含まれているため、Firebird はその前をサーバー名と読んでしまい、開けません: %1\r\n"
    "「:」を含まないフォルダーに移してから指定してください");
inline const QString kVerifyCaption = QStringLiteral("アーカイブの検証");
inline const QString kVerifyProgress = QStringLiteral("アーカイブを検証しています (%1 / %2 通)");
inline const QString kVerifyOk = QStringLiteral("アーカイブに問題はありません (%1 通を確認しました)");
inline const QString kVerifyFoundProblems = QStringLiteral("アーカイブに %1 件の問題があります (%2 通を確認しました)");
inline const QString kVerifyNoValidation = QStringLiteral("Firebird の検証ツールを起動できません: %1");
inline const QString kVerifyEngineFound = QStringLiteral("Firebird の検証でページの損傷が見つかりました: ");
inline const QString kVerifyReadFailed = QStringLiteral("アーカイブを読み切れません: ");
inline const QString kVerifyIndexWithoutData = QStringLiteral("索引はありますが、メールのファイルがありません");
inline const QString kVerifyDataWithoutIndex = QStringLiteral("メールのファイルはありますが、索引がありません");
inline const QString kVerifyUnreadable = QStringLiteral("保存されたメールを読めません: ");
inline const QString kVerifyKeyDiffers
    = QStringLiteral("保存されたメールから得られるキー (%1, %2) と一致しません (登録時に書誌情報を編集した場合を除く)");
inline const QString kImportCaption = QStringLiteral("メールボックスの取り込み");
inline const QString kImportSummary = QStringLiteral("登録 %1 通、置き換え %2 通、登録済み %3 通、登録できず %4 通");
inline const QString kImportCancelled = QStringLiteral("(途中で取りやめました)");
inline const QString kImportNoId = QStringLiteral("Message-ID がありません");
inline const QString kImportNoDate = QStringLiteral("日付がありません");
inline const QString kImportUnreadable = QStringLiteral("メッセージとして読めません");
inline const QString kImportCommitFailed = QStringLiteral("アーカイブに書き込めません: ");
inline const QString kImportProgress = QStringLiteral("%1 通を処理しました (毎秒 %2 通、残り約 %3 秒)");
inline const QString kUpdating = QStringLiteral("DB更新中です");
inline const QString kNothingShown = QStringLiteral("DB更新できるメッセージが表示されていません");
inline const QString kUnreadable = QStringLiteral("** メール内容が読めませんでした **");
inline const QString kNoMessageId = QStringLiteral("MessageIDが不明です\r\nこのメールデータはDB更新できません");
inline const QString kBatchQuestion
    = QStringLiteral("メールデータを確認せずに一括処理しますか? \r\n[はい]:一括処理\r\n[いいえ]：確認処理");
// The open dialog's filters: each is its caption as the user sees it, then
// the pattern Qt filters by; the dialog hides the second part, so captions
// do not repeat their patterns. "*.*" would hide files without an extension
// on Linux, hence "*".
inline const QString kOpenFilter = QStringLiteral(
    "テキストファイル (*.txt) (*.txt);;E-Mailファイル(*.eml) (*.eml);;Outlook-Msgファイル(*.msg) (*.msg);;"
    "ASCファイル(*.asc) (*.asc);;DATファイル(*.dat) (*.dat);;全てのファイル(*.*) (*)");
inline const QString kListCaption = QStringLiteral("DB List View");
inline const QString kConnected = QStringLiteral("DBと接続しました");
inline const QString kConnectionOk = QStringLiteral("Data Base 接続OK!!");
inline const QString kConnectionNg = QStringLiteral("Data Base 接続NG!!");
inline const QString kDatabaseFilter = QStringLiteral("Firebird DBファイル (*.fdb);;Interbase DBファイル (*.gdb)");

} // namespace ArchiveTexts
