#pragma once

#include <QObject>
#include <QString>

#include <functional>

class MainFrame;
class TDm_Ldb;

// "メールボックスの取り込み": an mbox file or a Maildir folder, chosen from the
// ファイル menu or dropped on the upper pane, registered message by message
// with a progress dialog that can cancel; the archive list is refreshed
// afterwards.
class MailboxImportController : public QObject
{
    Q_OBJECT

public:
    MailboxImportController(MainFrame& window, TDm_Ldb& database);

    void MailboxImportExecute();
    void importMailbox(const QString& path);

    // Shows the archive list again when it is open (set by whoever owns it).
    std::function<void()> refreshList;

private:
    MainFrame& m_window;
    TDm_Ldb& m_dm;
};
