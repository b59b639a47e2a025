#pragma once

#include "settings/FileBrowserColumns.h"
#include "settings/GridLayout.h"
#include "settings/ParameterTable.h"

#include <QList>
#include <QRect>
#include <QString>

class IniFile;

struct WindowSettings
{
    int left = 50;
    int top = 50;
    int width = 640;
    int height = 480;
    int panel1Height = 300;  // upper pane; never below 10
    bool treeViewSW = true;  // backup browser's folder tree shown
    int treeViewWidth = 160; // below 10 reads as 160
};

struct ListWindowSettings
{
    int width = 640;
    int height = 240;
};

// Section "Connection": the bulk sender's settings.
struct ConnectionSettings
{
    int mailerIndx = 0; // 0 Outlook, 1 Thunderbird
    QString exchangerAccount;
    int mailTabindx = 0; // 0 mail client, 1 direct SMTP
    QString myMailAddress;
    QString fromName;
    QString smtpHost = QStringLiteral("localhost");
    QString smtpPort = QStringLiteral("25");
    QString smtpUser;
    int mailEncode = 0; // 0 ISO-2022-JP, 1 UTF-8
    QString myMailSubject;
};

// Everything the configuration file holds, with its defaults. The main window
// copies these values into its controls after reading and back before
// writing; this struct itself knows nothing of widgets.
struct AppSettings
{
    WindowSettings window;
    ListWindowSettings listWindow;

    int mlFilterIndex = 0;
    QString mlReadPath;
    QString mlStorePath;
    bool tab1Visible = false;
    bool tab3Visible = false;
    ParameterTable parameters;
    int theme = 0;
    QString fontName = QStringLiteral("Meiryo UI");
    int fontSize = 9;
    int fontColor = 0; // a colour value in 0x00BBGGRR form; 0 is black
    int viewStyleNum = 0;
    bool mskFlg = false;
    bool homeFlg = true; // as read; it decides whether HomePATH is written back
    QString homePath;
    QString buPath;
    QString ldPath;
    bool chkBx8 = false;
    bool chkBx9 = false;
    int rGroup4 = 0;
    int dSelctRGroup1 = 0;
    int dLstFrmFntSize = 8;

    QString server = QStringLiteral("localhost");
    QString dbPath;

    GridLayout grid;
    FileBrowserColumns fileBrowserColumns;
    ConnectionSettings connection;

    // Section "ADCondition": one tick per entry of the recipient list.
    QList<bool> recipientTicks;
};

struct ReadOptions
{
    bool themeFromCommandLine = false; // then "Theme" is not read
    int recipientCount = 0;            // entries of the recipient list file
};

// Reads every key at start-up, in the order the program has always read them.
AppSettings readAppSettings(const IniFile& ini, const ReadOptions& options);

// Writes the live values back into the document loaded at start-up, so that
// keys the program does not know stay in the file.
void writeAppSettings(IniFile& ini, const AppSettings& settings);

// Moves a window rectangle back onto the desktop when its left edge is left
// of the desktop's, or else its right edge right of the desktop's.
QRect fitOntoDesktop(const QRect& window, const QRect& desktop);
