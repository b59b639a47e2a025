#pragma once

#include "reading/MessageDisplay.h"
#include "reading/ui/TFileAssociationDetails.h"

#include <QDateTime>
#include <QObject>

#include <functional>
#include <memory>
#include <optional>

class DisplayedMessage;
class MailWebView;
class MimeMessage;
class QAction;
class QMenu;
class QListWidgetItem;
class Shell;
class MainFrame;

// The reading of messages in the main window: the .eml display, the HTML
// view and its zoom, the text pane, and the two attachment lists.
class ReadingController : public QObject
{
    Q_OBJECT

public:
    // The archive's side of "メッセージの表示": whether the list is open, the
    // key of its current row, and the fetch of that row's file into mail_dat.
    struct ArchiveAccess
    {
        std::function<bool()> listOpen;
        std::function<bool(QString* id, QDateTime* date)> currentRow;
        std::function<QString(const QString& id, const QDateTime& date)> fetchToWorkFolder;
    };

    // shell: how attachments are opened; null for the desktop's own.
    explicit ReadingController(MainFrame& window, std::unique_ptr<Shell> shell = nullptr);
    ~ReadingController() override;

    // Shows the .eml file; true when a message is on display afterwards.
    // storedName: the name the archive keeps with its bytes (empty: the file's).
    bool DispEmlFile(const QString& path, const QString& storedName = QString());
    // The message on display, or null: nothing to register or save.
    DisplayedMessage* displayed() const { return m_displayed.get(); }
    void DispMsgDatExecute();
    void Zoom_IncMgnExecute() { zoom(true); }
    void Zoom_DecMgnExecute() { zoom(false); }
    void EditorPrintExecute();

    void ListView1SelectItem();
    void ListView2SelectItem();
    void ListView1MouseLeave();
    void ListView2MouseLeave();
    void ListView1DblClick();
    void SavetoDiskExecute();
    void SaveToDiskA1Execute();
    void SaveToDiskA2Execute();
    void OpenWithExecute();
    void OpenWithA1Execute();
    void OpenWithA2Execute();

    // Later subsystems plug in here: the TNEF extraction, the OpenPGP
    // decryption, the Outlook display and the archive.
    std::function<bool(const MimePart&)> tnefExtraction;
    std::function<bool(const QStringList&)> inlineDecryption;
    std::function<bool(const QString&)> headerlessDecryption;
    std::function<void(const QString&)> outlookDisplay;
    ArchiveAccess archive;

    // Lists an item in list II (TNEF contents, decrypted attachments).
    void listInList2(const QString& caption, const QString& iconType);

    MailWebView* webView() const { return m_web; }
    // The parsed message, also while its display is still running.
    const MimeMessage* message() const { return m_message.get(); }
    bool ZoomFixedFlg() const { return m_zoomFixed; }
    double displayZoomFactor() const { return m_zoomFactor; }
    QString ExecuteFile;

    QAction* SavetoDisk = nullptr;
    QAction* OpenWith = nullptr;
    QAction* SaveToDiskA1 = nullptr;
    QAction* SaveToDiskA2 = nullptr;
    QAction* OpenWithA1 = nullptr;
    QAction* OpenWithA2 = nullptr;
    QAction* DecryptGpg = nullptr;
    QAction* SaveToDiskDGpg = nullptr;
    QAction* DecryptGpgA1 = nullptr;
    QMenu* ListView1Popup = nullptr;
    QMenu* ListView2Popup = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class WindowSink;

    void buildActions();
    void clearView();
    void editField(int index, const QString& text);
    void showHtml(const QString& html);
    void zoom(bool increase);
    void showCaret();
    void listInList1(const MimePart& part, const AttachmentListing& item);
    void removeExecuteFile();
    QString selectedCaption(int list) const;
    bool writeAttachment(const QString& caption, const QString& path);
    void openAndWait(const QString& path);

    MainFrame& m_window;
    std::unique_ptr<Shell> m_shell;
    MailWebView* m_web = nullptr;
    std::shared_ptr<const MimeMessage> m_message;
    std::unique_ptr<DisplayedMessage> m_displayed;
    std::unique_ptr<TFileAssociationDetails> m_icons1;
    std::unique_ptr<TFileAssociationDetails> m_icons2;
    double m_zoomFactor = 0.7;
    bool m_zoomFixed = true;
};
