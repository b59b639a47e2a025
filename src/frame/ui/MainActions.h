#pragma once

#include <QList>
#include <QObject>

class QAction;
class QActionGroup;

// The main window's named actions. Menus, the button bar and pop-up menus
// are built from them; each subsystem's controller connects the ones it
// owns. The object name of every action is its name here.
class MainActions : public QObject
{
    Q_OBJECT

public:
    explicit MainActions(QObject* parent);

    // ファイル
    QAction* MessageOpen;
    QAction* MessageSave;
    QAction* MailboxImport; // an mbox file or a Maildir folder into the archive
    QAction* FontBarShow;
    QAction* ButtonBarShow;
    QAction* FileExit;
    // 操作
    QAction* DBUpdate;
    QAction* DBConnect;
    QAction* DBSelect;
    QAction* DispMsgDat;
    QAction* ExprtMsgFile;
    QAction* DBBackup;
    QAction* MLSender;
    // 設定
    QAction* DBFileSet;
    QAction* DispTAB1;
    QAction* DispTAB3;
    QList<QAction*> Theme; // Theme0 ... Theme4
    // ヘルプ
    QAction* Hcontents;
    QAction* Hkeyword;
    QAction* About;
    // button bar and pop-up menus
    QAction* Zoom_DecMgn;
    QAction* Zoom_IncMgn;
    QAction* EditorPrint;
    QAction* SetListFontSize;

private:
    QAction* make(const char* name, const QString& caption, bool enabled = true);
};
