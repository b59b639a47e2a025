#include "settings/SettingsSwitch.h"

#include "base/FolderRemoval.h"
#include "base/QuilletState.h"
#include "settings/SettingsFolders.h"
#include "base/Prompt.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace SettingsSwitch {
namespace {

bool folderExists(const QString& path)
{
    return QFileInfo(path).isDir();
}

// Copies the files (not the sub-folders) of one folder into another.
// Returns false when any file could not be copied.
bool copyFiles(const QString& from, const QString& to, bool overwrite)
{
    bool allCopied = true;
    const QFileInfoList files = QDir(from).entryInfoList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo& file : files) {
        const QString target = QDir(to).filePath(file.fileName());
        if (QFileInfo::exists(target)) {
            if (!overwrite)
                continue;
            QFile::remove(target);
        }
        if (!QFile::copy(file.filePath(), target))
            allCopied = false;
    }
    return allCopied;
}

void useFolder(QuilletState& state, const QString& folder, const QString& programFile, Prompt& prompt)
{
    const QString oldWork = workFolderPath(state.MyAppDataPath);
    if (!state.MyAppDataPath.isEmpty() && folder != state.MyAppDataPath && folderExists(oldWork))
        removeFolder(oldWork, prompt);
    state.MyAppDataPath = folder;
    state.IniFilePath = configFilePath(folder, programFile);
    QDir().mkpath(workFolderPath(folder));
}

} // namespace

Mode currentMode(const SettingsFolders& folders)
{
    return folderExists(folders.individual) ? Mode::Individual : Mode::Common;
}

QString buttonCaption(Mode mode)
{
    return mode == Mode::Individual ? ToCommonCaption : ToIndividualCaption;
}

Outcome toIndividual(const SettingsFolders& folders, QuilletState& state, Prompt& prompt, const QString& programFile)
{
    QString source = folders.initial;
    if (folderExists(folders.common)) {
        switch (prompt.question(CopyFromCommonQuestion)) {
        case Prompt::Answer::Yes:
            source = folders.common;
            break;
        case Prompt::Answer::No:
            break;
        default:
            return {};
        }
    }
    const bool created = QDir().mkpath(folders.individual);
    if (folderExists(source))
        copyFiles(source, folders.individual, false);
    if (!created || !folderExists(source))
        return {};
    useFolder(state, folderExists(folders.individual) ? folders.individual : folders.initial, programFile, prompt);
    return {true, false};
}

Outcome toCommon(const SettingsFolders& folders, QuilletState& state, Prompt& prompt, const QString& programFile)
{
    if (folderExists(folders.common)) {
        switch (prompt.question(CopyToCommonQuestion)) {
        case Prompt::Answer::Yes:
            // The individual folder is removed next; when its files did not
            // all reach the common folder, removing it would lose them.
            if (!copyFiles(folders.individual, folders.common, true)) {
                prompt.error(CopyFailedMessage + QStringLiteral(": ") + folders.common);
                return {};
            }
            break;
        case Prompt::Answer::No:
            state.common_ConfigFlg = false;
            break;
        default:
            return {};
        }
    }
    Outcome outcome;
    if (removeFolder(folders.individual, prompt)) {
        useFolder(state, folderExists(folders.common) ? folders.common : folders.initial, programFile, prompt);
        outcome.completed = true;
    }
    if (!state.common_ConfigFlg) {
        prompt.information(RestartMessage);
        outcome.completed = true;
        outcome.restartNeeded = true;
    }
    return outcome;
}

} // namespace SettingsSwitch
