#pragma once

#include <QString>

struct SettingsFolders;

// First use without any settings: an individual settings folder made from the
// initial one, pointing at an empty embedded archive in the user's data
// folder. An existing settings folder, configuration or archive is never
// touched.
struct DefaultArchiveSetup
{
    QString archivePath;
    QString configPath;
    bool createdArchive = false;
    bool createdConfig = false;
    QString error;
};

// $XDG_DATA_HOME/Brenvale/Ledgerbox/Tallowin.fdb (~/.local/share/... when unset).
QString defaultArchivePath();

DefaultArchiveSetup ensureDefaultArchive(const SettingsFolders& folders, const QString& programFile);
