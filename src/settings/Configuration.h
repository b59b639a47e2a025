#pragma once

#include "settings/AppSettings.h"
#include "settings/IniFile.h"
#include "settings/StoredLists.h"

// The configuration as start-up read it: the file's document (kept so that
// keys unknown to the program survive the write at close), the values and
// the list files.
struct Configuration
{
    IniFile document;
    AppSettings settings;
    StoredLists lists;

    // A missing file gives every default; nothing is created but the empty
    // password file.
    static Configuration load(const QString& iniFilePath, const QString& appDataFolder, bool themeFromCommandLine);

    // Writes the values into the document, saves it to iniFilePath, then
    // saves the list files. Returns false when the configuration file could
    // not be written.
    bool save(const QString& iniFilePath, const QString& appDataFolder);
};
