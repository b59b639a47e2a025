#include "settings/SettingsSwitch.h"

#include "base/FolderRemoval.h"
#include "base/Prompt.h"
#include "base/QuilletState.h"
#include "settings/SettingsFolders.h"

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

// Copies every file of the individual folder into the common one, creating
// it, and reads each copy back. Only then may the individual folder go: the
// common folder is often not writable (it belongs to the administrator).
bool copyAndVerify(const QString& from, const QString& to)
{
    if (!QDir().mkpath(to) || !copyFiles(from, to, true))
        return false;
    const QFileInfoList files = QDir(from).entryInfoList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo& file : files) {
        QFile original(file.filePath());
        QFile copy(QDir(to).filePath(file.fileName()));
        if (!original.open(QIODevice::ReadOnly) || !copy.open(QIODevice::ReadOnly)
            || original.readAll() != copy.readAll())
            return false;
    }
    return true;
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
    bool copy = true;
    if (folderExists(folders.common)) {
        switch (prompt.question(CopyToCommonQuestion)) {
        case Prompt::Answer::Yes:
            break;
        case Prompt::Answer::No:
            // The existing common settings are used as they are.
            copy = false;
            state.common_ConfigFlg = false;
            break;
        default:
            return {};
        }
    }
    // The individual folder is removed next; unless its files are safely in
    // the common folder (a new one included), removing it would lose them.
    if (copy && !copyAndVerify(folders.individual, folders.common)) {
        prompt.error(CopyFailedMessage + QStringLiteral(": ") + folders.common);
        return {};
    }
    Outcome outcome;
    if (removeFolder(folders.individual, prompt)) {
        useFolder(state, folders.common, programFile, prompt);
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
