#pragma once

#include <QString>

class Prompt;
struct QuilletState;
struct SettingsFolders;

// Moving the program between individual (per-user) and common settings,
// from the About window's button.
namespace SettingsSwitch {

enum class Mode { Individual, Common };

inline const QString ToCommonCaption = QStringLiteral("共通設定にする");
inline const QString ToIndividualCaption = QStringLiteral("個別設定にする");
inline const QString CopyFromCommonQuestion
    = QStringLiteral("共通設定からコピーしますか？「No」のときは初期設定になります");
inline const QString CopyToCommonQuestion
    = QStringLiteral("現在の設定を共通設定にコピーしますか？「No」のときは、すでにある共通設定になります");
inline const QString RestartMessage = QStringLiteral("プログラムを再起動します");
inline const QString CopyFailedMessage = QStringLiteral("共通設定フォルダーにコピーできません");

// Individual while the individual folder exists.
Mode currentMode(const SettingsFolders& folders);
// The button offers the other mode.
QString buttonCaption(Mode mode);

struct Outcome
{
    bool completed = false;     // the settings folder changed (or a restart will change it)
    bool restartNeeded = false; // the caller closes the window and starts the program again
};

// Both keep the running values: they are written into the new folder's
// configuration file at close. The work folder follows the settings folder.
Outcome toIndividual(const SettingsFolders& folders, QuilletState& state, Prompt& prompt, const QString& programFile);
Outcome toCommon(const SettingsFolders& folders, QuilletState& state, Prompt& prompt, const QString& programFile);

} // namespace SettingsSwitch
