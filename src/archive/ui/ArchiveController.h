#pragma once

#include <QObject>

#include <functional>
#include <memory>

class EmbeddedLock;
class QLineEdit;
class QPushButton;
class TDm_Ldb;
class MainFrame;

// The archive's part of the main window: the database module, the start-up
// connection, the caption, and the connection check of the "DB File処理" tab.
class ArchiveController : public QObject
{
    Q_OBJECT

public:
    explicit ArchiveController(MainFrame& window);
    ~ArchiveController() override;

    TDm_Ldb& database() const { return *m_dm; }

    // Connects to the configured archive without asking anything.
    void connectAtStartup();

    // "接続check": takes the host and file fields into the settings, opens
    // and closes the connection, and tells the result.
    void checkConnectionExecute();
    void chooseDatabaseFileExecute();
    // "アーカイブの検証": the engine's validation, the rows' pairs and the
    // stored messages' keys, with progress.
    void verifyArchiveExecute();
    // Closes the archive list (set by whoever owns it).
    std::function<void()> closeList;

    QLineEdit* hostField() const { return m_hostField; }
    QLineEdit* fileField() const { return m_fileField; }
    QPushButton* checkButton() const { return m_checkButton; }
    QPushButton* verifyButton() const { return m_verifyButton; }

private:
    void buildConnectionCheck();

    MainFrame& m_window;
    TDm_Ldb* m_dm;
    std::unique_ptr<EmbeddedLock> m_semafore; // "Semafore" beside an embedded archive
    QLineEdit* m_hostField = nullptr;
    QLineEdit* m_fileField = nullptr;
    QPushButton* m_checkButton = nullptr;
    QPushButton* m_verifyButton = nullptr;
};
