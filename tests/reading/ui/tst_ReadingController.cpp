#include "app/ui/TFrmQuillet.h"
#include "app/ui/UiFont.h"
#include "frame/ui/MainActions.h"
#include "platform/Shell.h"
#include "reading/DisplayedMessage.h"
#include "reading/ui/MailWebView.h"
#include "reading/ui/ReadingController.h"
#include "support/GuiTest.h"
#include "support/RecordingPrompt.h"
#include "support/TestEnvironment.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTcpServer>
#include <QTextEdit>
#include <QWebEngineView>
#include <QtTest>

namespace {

class RecordingShell final : public Shell
{
public:
    QStringList opened;
    bool succeed = true;
    bool openAndWait(const QString& path) override
    {
        opened << path;
        return succeed;
    }
};

const QByteArray kAlternativeWithAttachment
    = "Message-Id: <alt@example.jp>\r\n"
      "Date: Fri, 05 Jan 2024 09:03:07 +0000\r\n"
      "From: =?UTF-8?B?5bGx55Sw?= <yamada@example.jp>\r\n"
      "To: taro@example.jp\r\n"
      "Subject: =?UTF-8?B?5qGI5YaF?=\r\n"
      "MIME-Version: 1.0\r\n"
      "Content-Type: multipart/mixed; boundary=\"OUT\"\r\n\r\n"
      "--OUT\r\nContent-Type: multipart/alternative; boundary=\"IN\"\r\n\r\n"
      "--IN\r\nContent-Type: text/plain; charset=UTF-8\r\n\r\nこんにちは\r\n二行目\r\n"
      "--IN\r\nContent-Type: text/html; charset=UTF-8\r\n\r\n<p>こんにちは <b>HTML</b></p>"
      "<img src=\"http://tracker.example/pixel.gif\">\r\n"
      "--IN--\r\n"
      "--OUT\r\nContent-Type: application/pdf; name=\"見積.pdf\"\r\nContent-Disposition: attachment; "
      "filename*=UTF-8''%E8%A6%8B%E7%A9%8D.pdf\r\nContent-Transfer-Encoding: base64\r\n\r\nJVBERi0xLjQ=\r\n"
      "--OUT\r\nContent-Type: text/plain; name=\"../../escape.txt\"\r\nContent-Disposition: attachment; "
      "filename=\"../../escape.txt\"\r\n\r\nhostile\r\n"
      "--OUT\r\nContent-Type: application/pgp-encrypted; name=\"encrypted.asc\"\r\nContent-Disposition: attachment; "
      "filename=\"encrypted.asc\"\r\n\r\n-----BEGIN PGP MESSAGE-----\r\n"
      "--OUT--\r\n";

} // namespace

class TestReadingController : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void displaysAlternativeMessageWithAttachments();
    void zoomRemembersTruncatedPercent();
    void zoomNotANumberStopsTheDisplay();
    void attachmentCommands();
    void openingKeepsHostileNamesInsideTheWorkFolder();
    void clearViewClosesWebViewAndEmptiesLists();
    void largeHtmlBodyShows();
    void noScriptsAndNoRemoteContent();
    void archiveDisplayWithStandInFetch();
    void caretPositionInStatusBar();

private:
    QString writeMessage(const QString& name, const QByteArray& bytes);

    std::unique_ptr<TestEnvironment> m_env;
    RecordingPrompt m_prompt;
    std::unique_ptr<TFrmQuillet> m_window;
    ReadingController* m_reading = nullptr;
    RecordingShell* m_shell = nullptr;
};

void TestReadingController::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_prompt = RecordingPrompt();
    QDir().mkpath(m_env->folders().individual);
    m_window = makeTestWindow(*m_env, m_prompt);
    auto shell = std::make_unique<RecordingShell>();
    m_shell = shell.get();
    m_reading = new ReadingController(*m_window, std::move(shell));
    m_window->show();
}

void TestReadingController::cleanup()
{
    // The normal close: the web view goes, then its data folder.
    m_window->close();
    m_window.reset();
    m_env.reset();
}

QString TestReadingController::writeMessage(const QString& name, const QByteArray& bytes)
{
    const QString path = m_env->root() + u'/' + name;
    TestEnvironment::writeFile(path, bytes);
    return path;
}

void TestReadingController::displaysAlternativeMessageWithAttachments()
{
    QSignalSpy loaded(m_reading->webView(), &MailWebView::loadFinished);
    m_reading->DispEmlFile(writeMessage(QStringLiteral("alt.eml"), kAlternativeWithAttachment));
    TFrmQuillet& w = *m_window;
    QCOMPARE(w.headerField(0)->text(), QStringLiteral("<alt@example.jp>"));
    QCOMPARE(w.headerField(1)->text(), QStringLiteral("2024/01/05 9:03:07"));
    QCOMPARE(w.headerField(3)->text(), QStringLiteral("山田"));
    QCOMPARE(w.headerField(4)->text(), QStringLiteral("yamada@example.jp"));
    QCOMPARE(w.headerField(6)->text(), QStringLiteral("taro@example.jp"));
    QCOMPARE(w.headerField(7)->text(), QStringLiteral("案内"));
    QCOMPARE(w.textPane()->toPlainText(), QStringLiteral("こんにちは\n二行目"));
    QVERIFY(w.rawTextPane()->toPlainText().startsWith(QStringLiteral("Message-Id: <alt@example.jp>")));
    QCOMPARE(m_reading->displayed()->MDatType(), 2);
    QVERIFY(w.isPageVisible(TFrmQuillet::HtmlPage));
    QVERIFY(w.isPageVisible(TFrmQuillet::Attachment1Page));
    QCOMPARE(w.currentPage(), int(TFrmQuillet::Attachment1Page)); // the last part was an attachment
    QVERIFY(m_reading->webView()->created());
    QVERIFY(m_reading->webView()->shownHtml().contains(QStringLiteral("<b>HTML</b>")));
    QVERIFY(w.actions()->Zoom_IncMgn->isEnabled());
    QStringList captions;
    for (int i = 0; i < w.attachmentList(1)->count(); ++i)
        captions << w.attachmentList(1)->item(i)->text();
    QCOMPARE(
        captions,
        (QStringList{QStringLiteral("見積.pdf"), QStringLiteral("../../escape.txt"), QStringLiteral("encrypted.asc")}));
    QVERIFY(!w.attachmentList(1)->item(0)->icon().isNull());
    // Large icons with captions, no columns.
    QCOMPARE(w.attachmentList(1)->viewMode(), QListView::IconMode);
    QVERIFY(w.attachmentList(1)->iconSize().width() >= 24);
    QVERIFY(w.actions()->DBUpdate->isEnabled());
    QCOMPARE(w.statusText(2), QStringLiteral("メッセージを表示しました"));
    // The data folder of the view lies in the application data folder.
    QVERIFY(QFileInfo(w.state.MyAppDataPath + QStringLiteral("/tallowin.WebView2/EBWebView")).isDir());

    // The page loads; the remote image is not fetched and scripts are off.
    QWebEngineView* view = m_reading->webView()->view();
    QVERIFY(loaded.size() > 0 || loaded.wait(15000));
    QVERIFY(loaded.first().first().toBool());
    QString text;
    view->page()->toPlainText([&text](const QString& t) { text = t; });
    QTRY_VERIFY(!text.isEmpty());
    QVERIFY(text.contains(QStringLiteral("こんにちは HTML")));
}

void TestReadingController::zoomRemembersTruncatedPercent()
{
    m_window->settings().parameters.setValue(QStringLiteral("ZoomFixed"), QStringLiteral("0"));
    m_reading->DispEmlFile(writeMessage(QStringLiteral("alt.eml"), kAlternativeWithAttachment));
    // ZOOM was not set: 70 is applied and written into the table.
    QCOMPARE(m_window->settings().parameters.value(QStringLiteral("ZOOM")), QStringLiteral("70"));
    QCOMPARE(m_reading->webView()->zoomFactor(), 0.7);
    m_window->actions()->Zoom_IncMgn->trigger();
    QCOMPARE(m_window->settings().parameters.value(QStringLiteral("ZOOM")), QStringLiteral("76"));
    QCOMPARE(m_window->currentPage(), int(TFrmQuillet::HtmlPage));

    m_window->settings().parameters.setValue(QStringLiteral("ZOOM"), QStringLiteral("70"));
    m_reading->DispEmlFile(writeMessage(QStringLiteral("alt.eml"), kAlternativeWithAttachment));
    m_window->actions()->Zoom_DecMgn->trigger();
    QCOMPARE(m_window->settings().parameters.value(QStringLiteral("ZOOM")), QStringLiteral("63"));

    // Fixed zoom: the view changes, the setting does not.
    m_window->settings().parameters.setValue(QStringLiteral("ZoomFixed"), QStringLiteral("1"));
    m_reading->DispEmlFile(writeMessage(QStringLiteral("alt.eml"), kAlternativeWithAttachment));
    m_window->actions()->Zoom_IncMgn->trigger();
    QCOMPARE(m_window->settings().parameters.value(QStringLiteral("ZOOM")), QStringLiteral("63"));
    QVERIFY(m_reading->webView()->zoomFactor() > 0.63);
}

void TestReadingController::zoomNotANumberStopsTheDisplay()
{
    m_window->settings().parameters.setValue(QStringLiteral("ZOOM"), QStringLiteral("abc"));
    m_reading->DispEmlFile(writeMessage(QStringLiteral("alt.eml"), kAlternativeWithAttachment));
    QCOMPARE(m_prompt.errors.size(), 1);
    QVERIFY(m_window->headerField(0)->text().isEmpty());
    QVERIFY(!m_window->actions()->DBUpdate->isEnabled());
}

void TestReadingController::attachmentCommands()
{
    m_reading->DispEmlFile(writeMessage(QStringLiteral("alt.eml"), kAlternativeWithAttachment));
    QListWidget* list = m_window->attachmentList(1);
    list->setCurrentItem(list->item(2)); // encrypted.asc
    QVERIFY(m_reading->SavetoDisk->isEnabled());
    QVERIFY(!m_reading->OpenWith->isEnabled());
    QVERIFY(m_reading->DecryptGpg->isEnabled());
    QVERIFY(m_reading->SaveToDiskDGpg->isEnabled());
    QCOMPARE(m_window->statusText(2), QStringLiteral("encrypted.asc"));

    list->setCurrentItem(list->item(0)); // 見積.pdf
    QVERIFY(m_reading->OpenWith->isEnabled());
    QVERIFY(!m_reading->DecryptGpg->isEnabled());

    // Saving writes the decoded content under the chosen name.
    const QString target = m_env->root() + QStringLiteral("/saved.pdf");
    m_prompt.saveAnswers = {target};
    m_window->showPage(TFrmQuillet::Attachment1Page);
    m_reading->SavetoDisk->trigger();
    QCOMPARE(m_prompt.saveSuggestions, QStringList{QStringLiteral("見積.pdf")});
    QCOMPARE(TestEnvironment::readFile(target), QByteArray("%PDF-1.4"));

    // Double click opens with the associated program.
    m_reading->ListView1DblClick();
    QCOMPARE(m_shell->opened.size(), 1);
    QCOMPARE(TestEnvironment::readFile(m_shell->opened.first()), QByteArray("%PDF-1.4"));

    // OpenPGP names are refused for opening.
    list->setCurrentItem(list->item(2));
    m_reading->OpenWithA1Execute();
    QCOMPARE(m_prompt.informations.last(), QStringLiteral("このファイルは起動できる規定のプログラムがありません"));

    // A program that cannot start is reported.
    m_shell->succeed = false;
    list->setCurrentItem(list->item(0));
    m_reading->OpenWithA1Execute();
    QCOMPARE(m_prompt.informations.last(), QStringLiteral("プログラムが起動できませんでした"));

    // Leaving the list with nothing selected disables the commands.
    list->clearSelection();
    m_reading->ListView1MouseLeave();
    QVERIFY(!m_reading->SavetoDisk->isEnabled());
    QVERIFY(!m_reading->OpenWith->isEnabled());
}

void TestReadingController::openingKeepsHostileNamesInsideTheWorkFolder()
{
    m_reading->DispEmlFile(writeMessage(QStringLiteral("alt.eml"), kAlternativeWithAttachment));
    QListWidget* list = m_window->attachmentList(1);
    list->setCurrentItem(list->item(1)); // ../../escape.txt
    m_reading->OpenWithA1Execute();
    // Attachments are opened from their own folder inside the work folder.
    const QString work = QFileInfo(m_window->state.MyAppDataPath + QStringLiteral("/mail_dat/att")).absoluteFilePath();
    QCOMPARE(m_shell->opened.size(), 1);
    QCOMPARE(QFileInfo(m_shell->opened.first()).absolutePath(), work);
    QCOMPARE(TestEnvironment::readFile(m_shell->opened.first()), QByteArray("hostile"));
    QVERIFY(!QFileInfo::exists(QFileInfo(work).absolutePath() + QStringLiteral("/../escape.txt")));
    QVERIFY(!QFileInfo::exists(m_env->root() + QStringLiteral("/escape.txt")));
}

void TestReadingController::clearViewClosesWebViewAndEmptiesLists()
{
    m_reading->DispEmlFile(writeMessage(QStringLiteral("alt.eml"), kAlternativeWithAttachment));
    m_window->attachmentList(1)->setCurrentItem(m_window->attachmentList(1)->item(0));
    m_reading->OpenWithA1Execute();
    const QString opened = m_reading->ExecuteFile;
    QVERIFY(QFileInfo::exists(opened));
    m_window->ClearMessageView();
    QVERIFY(!m_reading->webView()->created());
    QCOMPARE(m_window->attachmentList(1)->count(), 0);
    QVERIFY(!QFileInfo::exists(opened));
    QVERIFY(!m_window->isPageVisible(TFrmQuillet::HtmlPage));
    QVERIFY(!m_window->actions()->Zoom_IncMgn->isEnabled());
}

void TestReadingController::largeHtmlBodyShows()
{
    QByteArray big = "Content-Type: text/html; charset=UTF-8\r\n\r\n<p>start</p>";
    while (big.size() < 3 * 1024 * 1024)
        big += "<p>line of filler text for a large body 大きな本文</p>\r\n";
    big += "<p>THE-END-MARK</p>";
    QSignalSpy loaded(m_reading->webView(), &MailWebView::loadFinished);
    m_reading->DispEmlFile(writeMessage(QStringLiteral("big.eml"), big));
    QVERIFY(loaded.size() > 0 || loaded.wait(30000));
    QVERIFY(loaded.first().first().toBool());
    QString text;
    m_reading->webView()->view()->page()->toPlainText([&text](const QString& t) { text = t; });
    QTRY_VERIFY_WITH_TIMEOUT(!text.isEmpty(), 15000);
    QVERIFY(text.contains(QStringLiteral("THE-END-MARK")));
}

void TestReadingController::noScriptsAndNoRemoteContent()
{
    QTcpServer remote;
    QVERIFY(remote.listen(QHostAddress::LocalHost));
    const QString base = QStringLiteral("http://127.0.0.1:%1").arg(remote.serverPort());
    const QByteArray html = "Content-Type: text/html; charset=UTF-8\r\n\r\n<html><head><title>before</title>"
                            "<link rel=stylesheet href=\""
        + base.toLatin1()
        + "/s.css\"></head><body>"
          "<img src=\""
        + base.toLatin1()
        + "/p.gif\"><img src=\"data:image/gif;base64,"
          "R0lGODlhAQABAAAAACw=\"><script>document.title='scripted'</script>text</body></html>";
    QSignalSpy loaded(m_reading->webView(), &MailWebView::loadFinished);
    m_reading->DispEmlFile(writeMessage(QStringLiteral("remote.eml"), html));
    QVERIFY(loaded.size() > 0 || loaded.wait(15000));
    QTest::qWait(500);
    QCOMPARE(m_reading->webView()->view()->title(), QStringLiteral("before"));
    QVERIFY(!remote.hasPendingConnections());
    QVERIFY(!remote.waitForNewConnection(200));
}

void TestReadingController::archiveDisplayWithStandInFetch()
{
    bool open = false;
    QString rowId = QStringLiteral("<alt@example.jp>");
    bool rowReadable = true;
    int fetches = 0;
    QString fetchedName = QStringLiteral("fetched.eml");
    m_reading->archive.listOpen = [&open] { return open; };
    m_reading->archive.currentRow = [&](QString* id, QDateTime* date) {
        *id = rowId;
        *date = QDateTime(QDate(2024, 1, 5), QTime(9, 3, 7));
        return rowReadable;
    };
    m_reading->archive.fetchToWorkFolder = [&](const QString&, const QDateTime&) {
        ++fetches;
        const QString path = m_window->state.MyAppDataPath + QStringLiteral("/mail_dat/") + fetchedName;
        TestEnvironment::writeFile(path, kAlternativeWithAttachment);
        return path;
    };

    m_window->actions()->DispMsgDat->setEnabled(true);
    m_reading->DispMsgDatExecute();
    QCOMPARE(fetches, 0); // the list is not open
    QVERIFY(m_window->state.pmode & PMode::ShownFromArchive);

    open = true;
    m_reading->DispMsgDatExecute();
    QCOMPARE(fetches, 1);
    QCOMPARE(m_window->headerField(0)->text(), rowId);
    QVERIFY(!QFileInfo::exists(m_window->state.MyAppDataPath + QStringLiteral("/mail_dat/")
                               + fetchedName)); // the work copy is deleted again
    QVERIFY(m_reading->displayed()->fromArchive);
    QVERIFY(m_window->actions()->MessageSave->isEnabled());
    QVERIFY(!m_window->actions()->DBUpdate->isEnabled()); // shown from the archive

    // The same row again: no fetch, the HTML page comes forward.
    m_window->showPage(TFrmQuillet::Attachment1Page);
    m_reading->DispMsgDatExecute();
    QCOMPARE(fetches, 1);
    QCOMPARE(m_window->currentPage(), int(TFrmQuillet::HtmlPage));

    rowId = QStringLiteral("<other@x>");
    fetchedName = QStringLiteral("fetched.txt");
    m_reading->DispMsgDatExecute();
    QCOMPARE(m_prompt.informations.last(), QStringLiteral("メールファイルではありません"));

    rowReadable = false;
    m_reading->DispMsgDatExecute();
    QCOMPARE(m_prompt.informations.last(), QStringLiteral("データベースデータError"));
}

void TestReadingController::caretPositionInStatusBar()
{
    m_reading->DispEmlFile(writeMessage(QStringLiteral("alt.eml"), kAlternativeWithAttachment));
    m_window->state.EditorEnterOn = true;
    QTextCursor cursor = m_window->textPane()->textCursor();
    cursor.movePosition(QTextCursor::End);
    m_window->textPane()->setTextCursor(cursor);
    QCOMPARE(m_window->statusText(0), QStringLiteral("Line:   2 Col:   4"));
}

TALLOWIN_GUI_TEST_MAIN(TestReadingController)

#include "tst_ReadingController.moc"
