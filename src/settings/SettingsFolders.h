#pragma once

#include <QString>

// Where the settings live.
//
//   individual  $XDG_CONFIG_HOME/Brenvale/Ledgerbox (~/.config/... when unset)
//   common      <first folder of $XDG_CONFIG_DIRS>/Brenvale/Ledgerbox
//               (/etc/xdg/Brenvale/Ledgerbox when unset); an administrator
//               creates it to give every user of the machine one setting
//   initial     <program folder>/config, installed with the program
//
// The folder in use is the individual one if it exists, else the common one
// if it exists, else the initial one.
struct SettingsFolders
{
    QString individual;
    QString common;
    QString initial;

    // Reads the XDG variables of the environment.
    static SettingsFolders locate(const QString& programFolder);

    QString chooseAppDataFolder() const;
};

// The program folder with a trailing separator, as every path built on it expects.
QString programFolder();
// The running program file's name without its folder.
QString programFileName();

// The configuration file: the program file's name with ".ini" in place of
// its extension, inside the given folder.
QString configFilePath(const QString& appDataFolder, const QString& programFile);

// The work folder for message copies and attachments, and the web view's
// data folder, both inside the application data folder.
QString workFolderPath(const QString& appDataFolder);
// mail_dat/2nd: what a TNEF attachment held, emptied before each extraction.
QString tnefFolderPath(const QString& appDataFolder);
// mail_dat/att: attachments written for opening. Apart from the message
// work copies in mail_dat, so an attachment named like the message
// (a forwarded X.eml inside X.eml) never overwrites its copy.
QString attachmentFolderPath(const QString& appDataFolder);
QString webViewDataFolderPath(const QString& appDataFolder, const QString& programFile);
