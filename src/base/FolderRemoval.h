#pragma once

#include <QString>

class Prompt;

inline const QString kFolderLeftMessage = QStringLiteral("フォルダーが残されています");

// Removes a folder with everything in it. When the first attempt leaves
// something behind, write permission is restored throughout what is left and
// the removal is tried once more; when that fails too, the user is told
// "フォルダーが残されています". Returns true when the folder is gone.
bool removeFolder(const QString& path, Prompt& prompt);
