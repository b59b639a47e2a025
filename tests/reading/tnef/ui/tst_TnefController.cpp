#include "app/ui/TFrmQuillet.h"
#include "app/ui/UiFont.h"
#include "frame/ui/MainActions.h"
#include "platform/Shell.h"
#include "reading/DisplayedMessage.h"
#include "reading/tnef/TnefAttachmentParser.h"
#include "reading/tnef/TnefExtraction.h"
#include "reading/tnef/ui/TnefController.h"
#include "reading/ui/MailWebView.h"
#include "reading/ui/ReadingController.h"
#include "support/GuiTest.h"
#include "support/RecordingPrompt.h"
#include "support/TestEnvironment.h"
#include "support/TnefWriter.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QtTest>

using namespace TnefWriter;

namespace {

class NoShell final : public Shell
{
public:
    QStringList opened;
    bool openAndWait(const QString& path) override
    {
        opened << path;
        return true;
    }
};

QByteArray part(const QByteArray& type, const QByteArray& name, const QByteArray& content)
{
    return "--B\r\nContent-Type: " + type + "; name=\"" + name + "\"\r\nContent-Disposition: attachment; filename=\""
        + name + "\"\r\nContent-Transfer-Encoding: base64\r\n\r\n" + content.toBase64() + "\r\n";
}

QByteArray message(const QList<QByteArray>& parts)
{
    QByteArray m = "Subject: tnef\r\nContent-Type: multipart/mixed; boundary=B\r\n\r\n"
                   "--B\r\nContent-Type: text/plain\r\n\r\nbody\r\n";
    for (const QByteArray& p : parts)
        m += p;
    return m + "--B--\r\n";
}

QStringList captions(QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

} // namespace

class TestTnefController : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void unpacksIntoSecondListAndFolder();
    void winmailDatSentAsOctetStreamIsUnpacked();
    void tooManyFilesAreBoundedAndSaid();
    void tnefAfterAnotherAttachmentAndTwoTnefParts();
    void damagedStreamEndsTheDisplay();
    void savingAndOpeningUnpackedFiles();

private:
    QString write(const QByteArray& bytes);

    std::unique_ptr<TestEnvironment> m_env;
    RecordingPrompt m_prompt;
    std::unique_ptr<TFrmQuillet> m_window;
    ReadingController* m_reading = nullptr;
    NoShell* m_shell = nullptr;
};

void TestTnefController::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_prompt = RecordingPrompt();
    QDir().mkpath(m_env->folders().individual);
    m_window = makeTestWindow(*m_env, m_prompt);
    auto shell = std::make_unique<NoShell>();
    m_shell = shell.get();
    m_reading = new ReadingController(*m_window, std::move(shell));
    new TnefController(*m_window, *m_reading);
}

void TestTnefController::cleanup()
{
    m_window->close();
    m_window.reset();
    m_env.reset();
}

QString TestTnefController::write(const QByteArray& bytes)
{
    const QString path = m_env->root() + QStringLiteral("/m.eml");
    TestEnvironment::writeFile(path, bytes);
    return path;
}

void TestTnefController::unpacksIntoSecondListAndFolder()
{
    const QByteArray tnef = Stream().version().file("PDF", "a.pdf").file("PNG", "b.png").bytes();
    m_reading->DispEmlFile(write(message({part("application/ms-tnef", "winmail.dat", tnef)})));
    QCOMPARE(captions(m_window->attachmentList(1)), QStringList{QStringLiteral("winmail.dat")});
    QCOMPARE(captions(m_window->attachmentList(2)), (QStringList{QStringLiteral("a.pdf"), QStringLiteral("b.png")}));
    QVERIFY(m_window->isPageVisible(TFrmQuillet::Attachment2Page));
    QCOMPARE(m_window->currentPage(), int(TFrmQuillet::Attachment2Page));
    QVERIFY(m_reading->displayed()->TnefFlg());
    const QString second = m_window->state.MyAppDataPath + QStringLiteral("/mail_dat/2nd");
    QCOMPARE(TestEnvironment::readFile(second + QStringLiteral("/a.pdf")), QByteArray("PDF"));
    QVERIFY(!m_window->attachmentList(2)->item(0)->icon().isNull());
    QVERIFY(m_prompt.everything().isEmpty());

    // The next message's extraction starts from an empty folder.
    const QByteArray other = Stream().file("T", "c.txt").bytes();
    m_reading->DispEmlFile(write(message({part("application/ms-tnef", "winmail.dat", other)})));
    QCOMPARE(captions(m_window->attachmentList(2)), QStringList{QStringLiteral("c.txt")});
    QVERIFY(!QFileInfo::exists(second + QStringLiteral("/a.pdf")));
}

void TestTnefController::tnefAfterAnotherAttachmentAndTwoTnefParts()
{
    const QByteArray first = Stream().file("1", "one.txt").bytes();
    const QByteArray second = Stream().file("2", "two.txt").bytes();
    m_reading->DispEmlFile(
        write(message({part("application/pdf", "before.pdf", "%PDF"), part("application/ms-tnef", "winmail.dat", first),
                       part("application/ms-tnef", "winmail2.dat", second)})));
    QVERIFY2(m_prompt.errors.isEmpty(), qPrintable(m_prompt.errors.join(u'|')));
    // Every unpacked file once, the PDF never taken for TNEF.
    QCOMPARE(captions(m_window->attachmentList(2)),
             (QStringList{QStringLiteral("one.txt"), QStringLiteral("two.txt")}));
    QCOMPARE(captions(m_window->attachmentList(1)).size(), 3);
}

void TestTnefController::winmailDatSentAsOctetStreamIsUnpacked()
{
    // Mail clients often send winmail.dat without its TNEF content type; the
    // window, the command line and the extraction decide alike.
    const QByteArray tnef = Stream().version().file("PDF", "a.pdf").bytes();
    m_reading->DispEmlFile(write(message({part("application/octet-stream", "winmail.dat", tnef)})));
    QCOMPARE(captions(m_window->attachmentList(2)), QStringList{QStringLiteral("a.pdf")});
    QVERIFY(m_reading->displayed()->TnefFlg());
    // Any other octet-stream attachment is just listed.
    m_reading->DispEmlFile(write(message({part("application/octet-stream", "data.bin", tnef)})));
    QCOMPARE(m_window->attachmentList(2)->count(), 0);
    QVERIFY(!m_reading->displayed()->TnefFlg());
}

void TestTnefController::tooManyFilesAreBoundedAndSaid()
{
    Stream stream;
    stream.version();
    for (int i = 0; i < TTnefAttachmentParser::MaxFiles + 5; ++i)
        stream.file("d", "same.txt");
    m_reading->DispEmlFile(write(message({part("application/ms-tnef", "winmail.dat", stream.bytes())})));
    QCOMPARE(m_window->attachmentList(2)->count(), TTnefAttachmentParser::MaxFiles);
    QVERIFY2(m_prompt.informations.contains(TnefExtraction::skippedText(5)),
             qPrintable(m_prompt.informations.join(u'\n')));
    QVERIFY(m_reading->displayed()); // the message itself is shown
}

void TestTnefController::damagedStreamEndsTheDisplay()
{
    const QByteArray damaged = Stream()
                                   .file("first", "ok.txt")
                                   .attribute(Attachment, 0x00069002, QByteArray(14, '\x01'))
                                   .attribute(Attachment, 0x00018010, "t.doc", quint16(1))
                                   .bytes();
    m_reading->DispEmlFile(write(
        message({part("application/ms-tnef", "winmail.dat", damaged), part("application/pdf", "after.pdf", "%PDF")})));
    QCOMPARE(m_prompt.errors, QStringList{QStringLiteral("Invalid checksum")});
    // The display ended at the TNEF part: an incomplete message is not left
    // on display, and there is nothing to register.
    QCOMPARE(m_window->attachmentList(1)->count(), 0);
    QCOMPARE(m_window->attachmentList(2)->count(), 0);
    QVERIFY(m_window->headerField(0)->text().isEmpty());
    QVERIFY(!m_reading->displayed());
    QVERIFY(!m_window->actions()->DBUpdate->isEnabled());
    QVERIFY(QFileInfo::exists(m_window->state.MyAppDataPath + QStringLiteral("/mail_dat/2nd/ok.txt")));
    QVERIFY(m_window->statusText(2).isEmpty());
}

void TestTnefController::savingAndOpeningUnpackedFiles()
{
    const QByteArray tnef = Stream().file("DOC", "報告.doc").file("ASC", "key.asc").bytes();
    m_reading->DispEmlFile(write(message({part("application/ms-tnef", "winmail.dat", tnef)})));
    QListWidget* list = m_window->attachmentList(2);
    list->setCurrentItem(list->item(0));
    QVERIFY(m_reading->OpenWith->isEnabled());
    QVERIFY(m_reading->SaveToDiskA2->isEnabled());
    const QString target = m_env->root() + QStringLiteral("/saved.doc");
    m_prompt.saveAnswers = {target};
    m_window->showPage(TFrmQuillet::Attachment2Page);
    m_reading->SavetoDisk->trigger();
    QCOMPARE(TestEnvironment::readFile(target), QByteArray("DOC"));
    // An existing target is left untouched.
    m_prompt.saveAnswers = {target};
    TestEnvironment::writeFile(target, "mine");
    m_reading->SavetoDisk->trigger();
    QCOMPARE(TestEnvironment::readFile(target), QByteArray("mine"));

    m_reading->OpenWith->trigger();
    QCOMPARE(m_shell->opened.size(), 1);
    QVERIFY(m_shell->opened.first().endsWith(QStringLiteral("/mail_dat/2nd/報告.doc")));

    list->setCurrentItem(list->item(1));
    QVERIFY(!m_reading->OpenWith->isEnabled());
}

TALLOWIN_GUI_TEST_MAIN(TestTnefController)

#include "tst_TnefController.moc"
