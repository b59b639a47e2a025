#pragma once

#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>

class ArchiveListController;
class QIODevice;
class ReadingController;
class TDm_Ldb;
class MainFrame;

// "DB更新", "メールを開く" and the drop target of the upper pane: messages are
// displayed one after another and stored in the archive, in batch or
// confirm mode.
class RegistrationController : public QObject
{
    Q_OBJECT

public:
    // One dropped message: its name and, when the source has one, its content.
    struct DropItem
    {
        QString name;
        std::function<std::unique_ptr<QIODevice>()> open;
    };

    RegistrationController(MainFrame& window, TDm_Ldb& database, ReadingController& reading,
                           ArchiveListController* list);

    void DBUpdateExecute();
    void MessageOpenExecute();
    void openFiles(const QStringList& files);
    void dropItems(const QList<DropItem>& items);

    // A dropped mbox file or Maildir folder goes to the mailbox import.
    std::function<void(const QString&)> importMailbox;

    // Tests: something to fail between the index row and the data row.
    std::function<bool()> beforeDataRow;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool displayFile(const QString& path, const QString& storedName = QString());
    bool displayChosenFile(const QString& path);
    bool copyDropped(const DropItem& item, const QString& workCopy);
    bool askBatch();
    bool askConfirm(int number, const QString& fileName);
    void leaveArchiveList();
    void settleDisplayed(bool batch, int countdown);

    MainFrame& m_window;
    TDm_Ldb& m_dm;
    ReadingController& m_reading;
    ArchiveListController* m_list;
};
