#pragma once

#include <QString>
#include <QtGlobal>

// Bits of the main window's pmode flag word.
namespace PMode {
constexpr quint16 ShownFromArchive = 0x0001; // a message was shown from or deleted in the archive this run
constexpr quint16 ListOpen = 0x0010;         // the archive list is open
constexpr quint16 ListFloating = 0x0100;     // the list window was dragged out of the tab area
} // namespace PMode

// The state the main window shares with every subsystem. The names are the
// ones the whole program uses; all start as zero, empty or false.
struct QuilletState
{
    QString MyAppDataPath;         // application data folder in use
    QString IniFilePath;           // configuration file in use
    bool common_ConfigFlg = false; // start-up read the configuration; only then is it written back
    QString Ldb_Host1;             // database host name
    QString Ldb_Path1;             // database file path
    bool emb_Flg = false;          // the database is used embedded, without a host
    bool Semafore_Flg = false;     // the embedded-database lock is held
    bool TerminateState = false;   // set when any child process ends
    quint16 pmode = 0;
    quint16 StyleNum = 0; // theme number 0-4
    int CDpi = 96;        // screen pixels per inch
    double CFunc = 1.0;   // CDpi / 96
    bool OlkFlg = false;  // Outlook automation objects exist
    bool EditorEnterOn = false;
    bool FUpdating = false;
};
