#include "app/ui/TFrmQuillet.h"
#include "app/ui/UiFont.h"
#include "archive/ArchiveListModel.h"
#include "archive/FirebirdClient.h"
#include "archive/TDm_Ldb.h"
#include "archive/ui/ArchiveController.h"
#include "archive/ui/ArchiveListController.h"
#include "archive/ui/MailboxImportController.h"
#include "archive/ui/RegistrationController.h"
#include "archive/ui/TDBListFrm.h"
#include "frame/ui/MainActions.h"
#include "platform/Shell.h"
#include "reading/DisplayedMessage.h"
#include "reading/MailboxReader.h"
#include "reading/ui/MailWebView.h"
#include "reading/ui/ReadingController.h"
#include "settings/AppSettings.h"
#include "support/GuiTest.h"
#include "support/RecordingPrompt.h"
#include "support/TestEnvironment.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QSqlQuery>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableView>
#include <QTextEdit>
#include <QtTest>

namespace {

class NoShell final : public Shell
{
public:
    bool openAndWait(const QString&) override { return true; }
};

QByteArray mailBytes(int n, const QString& subject)
{
    return QStringLiteral("Message-Id: <m%1@example.jp>\r\nDate: Fri, 0%1 Jan 2024 09:03:07 +0000\r\n"
                          "From: Sender <s@example.jp>\r\nTo: to@example.jp\r\nSubject: %2\r\n"
                          "Content-Type: text/plain; charset=UTF-8\r\n\r\n本文 %1\r\n")
        .arg(n)
        .arg(subject)
        .toUtf8();
}

} // namespace

class TestRegistrationController : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { useProcessWideFirebirdLockFolder(); }
    void init();
    void cleanup();
    void singleFileIsShownAndRegisteredWithDBUpdate();
    void editedSubjectIsStored();
    void severalFilesInBatchMode();
    void severalFilesInConfirmModeCountDown();
    void nonMailFileAmongThem();
    void failureBetweenRowsLeavesNothing();
    void dropOfSeveralItems();
    void listShowsColumnsFromSettingsAndDisplaysAgain();
    void automaticDisplayAfterWaitTime();
    void sortParityAndFontSteps();
    void floatingListDocksBackWhenClosed();
    void dropOfFilesFromTheDesktop();
    // Paths that once stored the wrong message.
    void msgAndNonMailAfterEmlNeverOverwriteIt();
    void dropWithoutContentLeavesNothingToRegister();
    void registersDisplayedBytesWhenTheWorkCopyIsGoneOrOverwritten();
    void failedInsertIsReportedNotUpdated();
    void overlongFieldsAreFittedAndSaid();
    void missingDateIsExplainedAndCanBeTyped();
    void filterIndexIsStoredOneBased();
    void replacingAnotherMessageIsAsked();
    void mailboxImportFromTheMenuAndByDrop();

private:
    QString file(int n, const QString& subject = QStringLiteral("subject"), const QString& ext = QStringLiteral("eml"));
    int rows(const char* table);
    QByteArray storedBytes(const QString& id);

    std::unique_ptr<TestEnvironment> m_env;
    RecordingPrompt m_prompt;
    std::unique_ptr<TFrmQuillet> m_window;
    ReadingController* m_reading = nullptr;
    ArchiveController* m_archive = nullptr;
    ArchiveListController* m_list = nullptr;
    RegistrationController* m_registration = nullptr;
    MailboxImportController* m_import = nullptr;
    QString m_db;
};

void TestRegistrationController::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_prompt = RecordingPrompt();
    m_db = m_env->root() + QStringLiteral("/archive.fdb");
    QCOMPARE(createArchive(ArchiveTarget{QString(), m_db}), QString());
    const SettingsFolders f = m_env->folders();
    QString ini = QStringLiteral("[MailDB]\nServer=\nDBPath=%1\n[DBGrid]\n").arg(m_db);
    // A layout of our own: subject first, then date, then the rest.
    const QStringList fields{QStringLiteral("MESSAGE_SUBJECT"),  QStringLiteral("MESSAGE_DATE"),
                             QStringLiteral("MESSAGE_ID"),       QStringLiteral("SENDER_NAME"),
                             QStringLiteral("SENDER_ADDRESS"),   QStringLiteral("RECIEVE_NAME"),
                             QStringLiteral("RECIEVE_ADDRESS"),  QStringLiteral("ACCOUNT_KEY"),
                             QStringLiteral("MESSAGE_FILENAME"), QStringLiteral("MAILBODY")};
    for (int i = 0; i < 10; ++i)
        ini += QStringLiteral("FieldName_%1=%2\nTitelCaption_%1=T%1\nVisible_%1=%3\n")
                   .arg(i)
                   .arg(fields.at(i))
                   .arg(i == 2 ? 0 : 1);
    TestEnvironment::writeFile(f.individual + QStringLiteral("/tallowin.ini"), ini.toUtf8());
    m_window = makeTestWindow(*m_env, m_prompt);
    m_reading = new ReadingController(*m_window, std::make_unique<NoShell>());
    m_archive = new ArchiveController(*m_window);
    m_list = new ArchiveListController(*m_window, m_archive->database(), *m_reading);
    m_registration = new RegistrationController(*m_window, m_archive->database(), *m_reading, m_list);
    m_import = new MailboxImportController(*m_window, m_archive->database());
    m_registration->importMailbox = [this](const QString& path) { m_import->importMailbox(path); };
    m_import->refreshList = [this] {
        if (m_archive->database().isListOpen()) {
            m_list->closeList();
            m_window->actions()->DBConnect->trigger();
        }
    };
    m_archive->connectAtStartup();
    m_window->show();
}

void TestRegistrationController::cleanup()
{
    m_window->close();
    m_window.reset();
    m_env.reset();
}

QString TestRegistrationController::file(int n, const QString& subject, const QString& ext)
{
    const QString path = m_env->root() + QStringLiteral("/in/mail%1.%2").arg(n).arg(ext);
    TestEnvironment::writeFile(path, mailBytes(n, subject));
    return path;
}

int TestRegistrationController::rows(const char* table)
{
    QSqlQuery q(m_archive->database().database());
    q.exec(QStringLiteral("select count(*) from %1").arg(QLatin1String(table)));
    q.next();
    const int n = q.value(0).toInt();
    q.finish();
    return n;
}

QByteArray TestRegistrationController::storedBytes(const QString& id)
{
    QSqlQuery q(m_archive->database().database());
    q.prepare(QStringLiteral("select MailDat from Message_DatTBL where Message_ID = :id"));
    q.bindValue(QStringLiteral(":id"), id);
    q.exec();
    const QByteArray bytes = q.next() ? q.value(0).toByteArray() : QByteArray();
    q.finish();
    return bytes;
}

void TestRegistrationController::singleFileIsShownAndRegisteredWithDBUpdate()
{
    m_prompt.openAnswers = {{file(1)}};
    m_window->actions()->MessageOpen->trigger();
    QVERIFY(m_prompt.questions.isEmpty());
    QCOMPARE(m_window->headerField(0)->text(), QStringLiteral("<m1@example.jp>"));
    QVERIFY(m_window->actions()->DBUpdate->isEnabled());
    QCOMPARE(m_window->settings().mlReadPath, m_env->root() + QStringLiteral("/in"));
    m_window->actions()->DBUpdate->trigger();
    QCOMPARE(m_window->statusText(2), QStringLiteral("DB更新が完了しました"));
    QVERIFY(!m_window->actions()->DBUpdate->isEnabled());
    QCOMPARE(rows("Message_IdxTbl"), 1);
    QCOMPARE(rows("Message_DatTBL"), 1);

    // An empty message id is refused in the status bar.
    m_window->headerField(0)->setText(QStringLiteral("  "));
    m_window->actions()->DBUpdate->setEnabled(true);
    m_window->actions()->DBUpdate->trigger();
    QCOMPARE(m_window->statusText(2), QStringLiteral("このメールデータはDB更新できません"));
    QVERIFY(m_window->actions()->DBUpdate->isEnabled());
}

void TestRegistrationController::editedSubjectIsStored()
{
    m_prompt.openAnswers = {{file(1)}};
    m_window->actions()->MessageOpen->trigger();
    m_window->headerField(7)->setText(QStringLiteral("手で直した件名"));
    m_window->actions()->DBUpdate->trigger();
    QSqlQuery q(m_archive->database().database());
    QVERIFY(q.exec(QStringLiteral("select Message_Subject from Message_IdxTbl")));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("手で直した件名"));
}

void TestRegistrationController::severalFilesInBatchMode()
{
    m_prompt.openAnswers = {{file(1), file(2), file(3), file(4), file(5)}};
    m_prompt.answers = {Prompt::Answer::Yes};
    m_window->actions()->MessageOpen->trigger();
    QCOMPARE(m_prompt.questions.size(), 1);
    QVERIFY(m_prompt.questions.first().startsWith(QStringLiteral("メールデータを確認せずに一括処理しますか? \r\n")));
    QCOMPARE(m_prompt.defaults.first(), Prompt::Answer::No); // Enter does not register everything
    QCOMPARE(rows("Message_IdxTbl"), 5);
    QCOMPARE(rows("Message_DatTBL"), 5);
}

void TestRegistrationController::severalFilesInConfirmModeCountDown()
{
    m_prompt.openAnswers = {{file(1), file(2), file(3), file(4), file(5)}};
    m_prompt.answers = {Prompt::Answer::No,  Prompt::Answer::Yes, Prompt::Answer::No,
                        Prompt::Answer::Yes, Prompt::Answer::Yes, Prompt::Answer::No};
    m_window->actions()->MessageOpen->trigger();
    QCOMPARE(m_prompt.questions.size(), 6);
    QCOMPARE(m_prompt.defaults,
             (QList<Prompt::Answer>{Prompt::Answer::No, Prompt::Answer::Yes, Prompt::Answer::Yes, Prompt::Answer::Yes,
                                    Prompt::Answer::Yes, Prompt::Answer::Yes}));
    for (int i = 1; i <= 5; ++i) {
        const int number = 6 - i;
        QCOMPARE(
            m_prompt.questions.at(i),
            QStringLiteral("【ファイル名】<%1>\r\nmail%2.eml\r\nこのメールデータをDB登録しますか?").arg(number).arg(i));
    }
    QCOMPARE(rows("Message_IdxTbl"), 3);
}

void TestRegistrationController::nonMailFileAmongThem()
{
    const QString text = m_env->root() + QStringLiteral("/in/note.txt");
    TestEnvironment::writeFile(text, "not mail");
    m_prompt.openAnswers = {{text, file(2), file(3)}};
    m_prompt.answers = {Prompt::Answer::Yes, Prompt::Answer::Yes};
    m_window->actions()->MessageOpen->trigger();
    QCOMPARE(m_prompt.informations, QStringList{QStringLiteral("メールファイルではありません")});
    // The first file was not mail: no batch question, each message confirmed.
    QCOMPARE(m_prompt.questions.size(), 2);
    QVERIFY(m_prompt.questions.at(0).startsWith(QStringLiteral("【ファイル名】<2>")));
    QVERIFY(m_prompt.questions.at(1).startsWith(QStringLiteral("【ファイル名】<1>")));
    QCOMPARE(rows("Message_IdxTbl"), 2);
}

void TestRegistrationController::failureBetweenRowsLeavesNothing()
{
    m_registration->beforeDataRow = [] { return false; };
    m_prompt.openAnswers = {{file(1)}};
    m_window->actions()->MessageOpen->trigger();
    m_window->actions()->DBUpdate->trigger();
    QCOMPARE(m_prompt.errors, QStringList{QStringLiteral("UPdate できませんでした(Message_DatTBL)")});
    QVERIFY(m_window->actions()->DBUpdate->isEnabled());
    QCOMPARE(rows("Message_IdxTbl"), 0);
    QCOMPARE(rows("Message_DatTBL"), 0);
}

void TestRegistrationController::dropOfSeveralItems()
{
    using Item = RegistrationController::DropItem;
    const auto bytesItem = [](const QString& name, const QByteArray& bytes) {
        return Item{name, [bytes]() -> std::unique_ptr<QIODevice> {
                        auto b = std::make_unique<QBuffer>();
                        b->setData(bytes);
                        b->open(QIODevice::ReadOnly);
                        return b;
                    }};
    };
    QList<Item> items{bytesItem(QStringLiteral("a.eml"), mailBytes(1, QStringLiteral("a"))),
                      Item{QStringLiteral("empty.eml"), [] { return std::unique_ptr<QIODevice>(); }},
                      bytesItem(QStringLiteral("c.eml"), mailBytes(3, QStringLiteral("c"))),
                      bytesItem(QStringLiteral("x.txt"), "x"),
                      bytesItem(QStringLiteral("d.eml"), mailBytes(4, QStringLiteral("d")))};
    m_prompt.answers = {Prompt::Answer::Yes};
    m_registration->dropItems(items);
    QCOMPARE(m_prompt.informations,
             (QStringList{QStringLiteral("** メール内容が読めませんでした **"),
                          QStringLiteral("メールファイルではありません")}));
    // Batch: a and c stored; the drop stopped at the item that is not mail.
    QCOMPARE(rows("Message_IdxTbl"), 2);
    QSqlQuery q(m_archive->database().database());
    QVERIFY(q.exec(QStringLiteral("select Message_FileName from Message_DatTBL order by Message_FileName")));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("a.eml"));
    q.finish();
    // The item without content leaves no empty work file behind.
    QVERIFY(!QFileInfo::exists(m_window->state.MyAppDataPath + QStringLiteral("/mail_dat/empty.eml")));
}

void TestRegistrationController::listShowsColumnsFromSettingsAndDisplaysAgain()
{
    m_prompt.openAnswers = {{file(1, QStringLiteral("first")), file(2, QStringLiteral("second"))}};
    m_prompt.answers = {Prompt::Answer::Yes};
    m_window->actions()->MessageOpen->trigger();
    QCOMPARE(rows("Message_IdxTbl"), 2);

    m_window->actions()->DBConnect->trigger();
    QVERIFY(m_window->actions()->DBConnect->isChecked());
    QVERIFY(m_window->state.pmode & PMode::ListOpen);
    QCOMPARE(tabArea(*m_window)->tabText(tabArea(*m_window)->count() - 1), QStringLiteral("DB List View"));
    QCOMPARE(m_window->currentPage(), tabArea(*m_window)->count() - 1);
    QCOMPARE(m_window->statusText(2), QStringLiteral("DBと接続しました"));
    QVERIFY(m_window->actions()->DispMsgDat->isEnabled());
    QVERIFY(m_window->actions()->DBSelect->isEnabled());
    QCOMPARE(m_list->PopupDisplay->shortcut(), QKeySequence(QStringLiteral("Ctrl+R")));

    QTableView* grid = m_list->listWindow()->DBGrid1;
    QHeaderView* header = grid->horizontalHeader();
    QCOMPARE(grid->model()->headerData(header->logicalIndex(0), Qt::Horizontal).toString(), QStringLiteral("T0"));
    QCOMPARE(ArchiveListModel::columnNames().at(header->logicalIndex(0)), QStringLiteral("MESSAGE_SUBJECT"));
    QVERIFY(header->isSectionHidden(header->logicalIndex(2)));

    // Newest first: mail2 (2 Jan) is the first row.
    grid->setCurrentIndex(grid->model()->index(0, 0));
    m_window->headerField(0)->clear();
    m_list->DBGrid1DblClick();
    QCOMPARE(m_window->headerField(0)->text(), QStringLiteral("<m2@example.jp>"));
    QCOMPARE(m_window->textPane()->toPlainText(), QStringLiteral("本文 2"));
    QVERIFY(!m_window->actions()->DBUpdate->isEnabled());

    // Closing the list from the toggle.
    m_window->actions()->DBConnect->trigger();
    QVERIFY(!m_window->actions()->DBConnect->isChecked());
    QVERIFY(!m_window->actions()->DispMsgDat->isEnabled());
    QCOMPARE(tabArea(*m_window)->indexOf(m_list->listWindow()), -1);
}

void TestRegistrationController::automaticDisplayAfterWaitTime()
{
    m_prompt.openAnswers = {{file(1), file(2)}};
    m_prompt.answers = {Prompt::Answer::Yes};
    m_window->actions()->MessageOpen->trigger();
    m_window->settings().parameters.setValue(QStringLiteral("AutoView"), QStringLiteral("1"));
    m_window->settings().parameters.setValue(QStringLiteral("WaitTime"), QStringLiteral("1"));
    m_window->actions()->DBConnect->trigger();
    QVERIFY(m_list->PopupDisplay->shortcut().isEmpty());
    QTableView* grid = m_list->listWindow()->DBGrid1;
    m_window->headerField(0)->clear();
    QSignalSpy shown(m_window->actions()->DispMsgDat, &QAction::triggered);
    QElapsedTimer timer;
    timer.start();
    // Moving quickly through rows shows only the row it stops on, a second later.
    grid->setCurrentIndex(grid->model()->index(0, 0));
    grid->setCurrentIndex(grid->model()->index(1, 0));
    QVERIFY(m_window->headerField(0)->text().isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(m_window->headerField(0)->text(), QStringLiteral("<m1@example.jp>"), 5000);
    QVERIFY(timer.elapsed() >= 1000);
    QCOMPARE(shown.count(), 1);

    m_window->settings().parameters.setValue(QStringLiteral("AutoView"), QStringLiteral("0"));
    m_window->headerField(0)->clear();
    grid->setCurrentIndex(grid->model()->index(0, 0));
    QVERIFY(m_window->headerField(0)->text().isEmpty());
}

void TestRegistrationController::sortParityAndFontSteps()
{
    m_prompt.openAnswers = {{file(1, QStringLiteral("b")), file(2, QStringLiteral("a")), file(3, QStringLiteral("c"))}};
    m_prompt.answers = {Prompt::Answer::Yes};
    m_window->actions()->MessageOpen->trigger();
    m_window->actions()->DBConnect->trigger();
    ArchiveListModel* model = m_archive->database().FDTbl1();
    const int subject = model->columnOf(QStringLiteral("MESSAGE_SUBJECT"));
    m_list->DBGrid1TitleClick(subject);
    QCOMPARE(model->data(model->index(0, subject)).toString(), QStringLiteral("c")); // first click: descending
    m_list->DBGrid1TitleClick(model->columnOf(QStringLiteral("SENDER_NAME")));
    m_list->DBGrid1TitleClick(subject);
    QCOMPARE(model->data(model->index(0, subject)).toString(), QStringLiteral("c")); // third: descending again
    m_list->DBGrid1TitleClick(subject);
    QCOMPARE(model->data(model->index(0, subject)).toString(), QStringLiteral("a"));

    m_window->settings().dLstFrmFntSize = 10;
    m_list->S1Click();
    QCOMPARE(m_window->settings().dLstFrmFntSize, 9);
    QCOMPARE(m_list->listWindow()->DBGrid1->font().pointSize(), 9);
    m_list->S2Click();
    m_list->S2Click();
    QCOMPARE(m_window->settings().dLstFrmFntSize, 11);
}

void TestRegistrationController::floatingListDocksBackWhenClosed()
{
    m_prompt.openAnswers = {{file(1)}};
    m_window->actions()->MessageOpen->trigger();
    m_window->actions()->DBUpdate->trigger();
    m_window->actions()->DBConnect->trigger();
    m_window->settings().listWindow = {500, 300};
    TDBListFrm* list = m_list->listWindow();
    m_list->floatList();
    QVERIFY(list->isWindow());
    QVERIFY(m_window->state.pmode & PMode::ListFloating);
    QCOMPARE(tabArea(*m_window)->indexOf(list), -1);
    QCOMPARE(list->size(), QSize(500, 300));
    list->resize(520, 310);
    QCOMPARE(m_window->settings().listWindow.width, 520);
    // Closing the floating window docks it back.
    list->close();
    QVERIFY(!list->isWindow());
    QVERIFY(!(m_window->state.pmode & PMode::ListFloating));
    QCOMPARE(tabArea(*m_window)->tabText(tabArea(*m_window)->indexOf(list)), QStringLiteral("DB List View"));
    // Closing the list while it floats docks it back and removes the page.
    m_list->floatList();
    m_window->actions()->DBConnect->trigger();
    QVERIFY(!list->isWindow());
    QCOMPARE(tabArea(*m_window)->indexOf(list), -1);
}

void TestRegistrationController::dropOfFilesFromTheDesktop()
{
    auto* data = new QMimeData;
    data->setUrls({QUrl::fromLocalFile(file(1)), QUrl::fromLocalFile(file(2))});
    m_prompt.answers = {Prompt::Answer::No, Prompt::Answer::Yes, Prompt::Answer::No};
    QWidget* pane = m_window->dropTarget();
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(pane, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(pane, &drop);
    // Confirm mode: the first dropped message is asked about right after its display.
    QCOMPARE(m_prompt.questions.size(), 3);
    QVERIFY(m_prompt.questions.at(1).startsWith(QStringLiteral("【ファイル名】<2>\r\nmail1.eml")));
    QCOMPARE(rows("Message_IdxTbl"), 1);
    QVERIFY(m_window->textPane()->isVisible());
    delete data;
}

void TestRegistrationController::msgAndNonMailAfterEmlNeverOverwriteIt()
{
    const QString eml = file(1, QStringLiteral("the eml"));
    const QString msg = m_env->root() + QStringLiteral("/in/outlook.msg");
    TestEnvironment::writeFile(msg, QByteArray("\xD0\xCF\x11\xE0 not read yet", 20));
    const QString other = m_env->root() + QStringLiteral("/in/notes.txt");
    TestEnvironment::writeFile(other, "text");
    m_prompt.openAnswers = {{eml, msg, other, eml}};
    m_prompt.answers = {Prompt::Answer::Yes}; // batch
    m_window->actions()->MessageOpen->trigger();
    // The .eml is stored once, with its own bytes, type and name; the .msg
    // (which cannot be shown yet) and the text file are skipped with their messages.
    QCOMPARE(rows("Message_IdxTbl"), 1);
    QCOMPARE(rows("Message_DatTBL"), 1);
    QCOMPARE(storedBytes(QStringLiteral("<m1@example.jp>")), TestEnvironment::readFile(eml));
    QSqlQuery q(m_archive->database().database());
    QVERIFY(q.exec(QStringLiteral("select i.Message_ftype, i.MailBody, d.Message_FileName from Message_IdxTbl i "
                                  "join Message_DatTBL d on d.Message_ID = i.Message_ID")));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("1"));
    QCOMPARE(q.value(1).toString(), QStringLiteral("本文 1"));
    QCOMPARE(q.value(2).toString(), QStringLiteral("mail1.eml"));
    q.finish();
    QCOMPARE(m_prompt.informations.size(), 2);
    QCOMPARE(m_prompt.informations.at(1), QStringLiteral("メールファイルではありません"));
    QVERIFY(m_prompt.errors.isEmpty());

    // A single .msg after a shown .eml: the view is cleared and DB更新 stays off.
    m_prompt.openAnswers = {{eml}};
    m_window->actions()->MessageOpen->trigger();
    QVERIFY(m_window->actions()->DBUpdate->isEnabled());
    m_prompt.openAnswers = {{msg}};
    m_window->actions()->MessageOpen->trigger();
    QVERIFY(m_window->headerField(0)->text().isEmpty());
    QVERIFY(!m_reading->displayed());
    QVERIFY(!m_window->actions()->DBUpdate->isEnabled());
    m_registration->DBUpdateExecute(); // even when called directly
    QCOMPARE(storedBytes(QStringLiteral("<m1@example.jp>")), TestEnvironment::readFile(eml));
    QCOMPARE(rows("Message_IdxTbl"), 1);
}

void TestRegistrationController::dropWithoutContentLeavesNothingToRegister()
{
    const QString eml = file(1);
    m_prompt.openAnswers = {{eml}};
    m_window->actions()->MessageOpen->trigger();
    QVERIFY(m_window->actions()->DBUpdate->isEnabled());
    m_registration->dropItems({{QStringLiteral("mail1.eml"), [] { return std::unique_ptr<QIODevice>(); }}});
    QCOMPARE(m_prompt.informations, QStringList{QStringLiteral("** メール内容が読めませんでした **")});
    QVERIFY(!m_window->actions()->DBUpdate->isEnabled());
    QVERIFY(m_window->headerField(0)->text().isEmpty());
    m_registration->DBUpdateExecute();
    QCOMPARE(rows("Message_IdxTbl"), 0);
    QCOMPARE(rows("Message_DatTBL"), 0);
}

void TestRegistrationController::registersDisplayedBytesWhenTheWorkCopyIsGoneOrOverwritten()
{
    // A dropped X.eml that carries a forwarded X.eml as an attachment.
    const QByteArray inner = mailBytes(7, QStringLiteral("inner"));
    const QByteArray outer
        = "Message-Id: <outer@example.jp>\r\nDate: Fri, 05 Jan 2024 09:03:07 +0000\r\n"
          "Subject: outer\r\nContent-Type: multipart/mixed; boundary=b\r\n\r\n--b\r\n"
          "Content-Type: text/plain; charset=UTF-8\r\n\r\nouter body\r\n--b\r\n"
          "Content-Type: message/rfc822; name=X.eml\r\nContent-Disposition: attachment; filename=X.eml\r\n\r\n"
        + inner + "\r\n--b--\r\n";
    const auto drop = [&] {
        m_registration->dropItems({{QStringLiteral("X.eml"), [outer]() -> std::unique_ptr<QIODevice> {
                                        auto b = std::make_unique<QBuffer>();
                                        b->setData(outer);
                                        b->open(QIODevice::ReadOnly);
                                        return b;
                                    }}});
    };
    drop();
    QCOMPARE(m_window->headerField(0)->text(), QStringLiteral("<outer@example.jp>"));
    // Opening the attachment writes it apart from the work copy.
    QListWidget* list = m_window->attachmentList(1);
    QCOMPARE(list->count(), 1);
    list->setCurrentItem(list->item(0));
    m_reading->OpenWithA1Execute();
    const QString workCopy = m_window->state.MyAppDataPath + QStringLiteral("/mail_dat/X.eml");
    QCOMPARE(TestEnvironment::readFile(workCopy), outer);
    // Even a work copy overwritten or removed (a switch of settings folders
    // moves the work folder) does not change what is stored.
    TestEnvironment::writeFile(workCopy, inner);
    m_window->actions()->DBUpdate->trigger();
    QCOMPARE(storedBytes(QStringLiteral("<outer@example.jp>")), outer);
    drop();
    QDir(m_window->state.MyAppDataPath + QStringLiteral("/mail_dat")).removeRecursively();
    m_window->headerField(7)->setText(QStringLiteral("edited"));
    m_window->actions()->DBUpdate->trigger();
    QCOMPARE(storedBytes(QStringLiteral("<outer@example.jp>")), outer);
    QCOMPARE(rows("Message_IdxTbl"), 1);
    QVERIFY(storedBytes(QStringLiteral("<m7@example.jp>")).isEmpty());
}

void TestRegistrationController::failedInsertIsReportedNotUpdated()
{
    // Any failure of the insert but a duplicate key: here a rule of the
    // archive that the message breaks.
    {
        QSqlQuery q(m_archive->database().database());
        QVERIFY(q.exec(QStringLiteral(
            "alter table Message_IdxTbl add constraint CK_TEST check (Message_Subject <> 'forbidden')")));
    }
    m_archive->database().database().commit();
    m_prompt.openAnswers = {{file(1, QStringLiteral("forbidden"))}};
    m_window->actions()->MessageOpen->trigger();
    m_window->actions()->DBUpdate->trigger();
    QCOMPARE(m_prompt.errors.size(), 1);
    QVERIFY(m_prompt.errors.first().startsWith(QStringLiteral("更新できませんでした(Message_IdxTbl)")));
    QVERIFY(m_prompt.errors.first().contains(QStringLiteral("CK_TEST"), Qt::CaseInsensitive));
    QVERIFY(!m_window->statusText(2).contains(QStringLiteral("完了")));
    QVERIFY(m_window->actions()->DBUpdate->isEnabled());
    QCOMPARE(rows("Message_IdxTbl"), 0);
    QCOMPARE(rows("Message_DatTBL"), 0);

    // The same for an update: the stored message stays as it was.
    m_window->headerField(7)->setText(QStringLiteral("allowed"));
    m_window->actions()->DBUpdate->trigger();
    QCOMPARE(rows("Message_IdxTbl"), 1);
    m_window->headerField(7)->setText(QStringLiteral("forbidden"));
    m_window->actions()->DBUpdate->setEnabled(true);
    m_window->actions()->DBUpdate->trigger();
    QCOMPARE(m_prompt.errors.size(), 2);
    QSqlQuery q(m_archive->database().database());
    QVERIFY(q.exec(QStringLiteral("select Message_Subject from Message_IdxTbl")));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("allowed"));
    q.finish();
}

void TestRegistrationController::overlongFieldsAreFittedAndSaid()
{
    const QString subject = QStringLiteral("件名").repeated(150); // 300 characters
    const QString name = QStringLiteral("𠮟").repeated(100);      // 100 characters outside the BMP
    const QString id = u'<' + QStringLiteral("a").repeated(300) + QStringLiteral("@example.jp>");
    const QByteArray bytes = QStringLiteral("Message-Id: %1\r\nDate: Fri, 05 Jan 2024 09:03:07 +0000\r\n"
                                            "From: %2 <s@example.jp>\r\nSubject: %3\r\n"
                                            "Content-Type: text/plain; charset=UTF-8\r\n\r\nbody\r\n")
                                 .arg(id, name, subject)
                                 .toUtf8();
    const QString path = m_env->root() + QStringLiteral("/in/long.eml");
    TestEnvironment::writeFile(path, bytes);
    m_prompt.openAnswers = {{path}};
    m_window->actions()->MessageOpen->trigger();
    m_window->actions()->DBUpdate->trigger();
    QVERIFY2(m_prompt.errors.isEmpty(), qPrintable(m_prompt.errors.join(u'\n')));
    QVERIFY(m_window->statusText(2).startsWith(QStringLiteral("DB更新が完了しました")));
    for (const char* column : {"Message_ID", "Sender_Name", "Message_Subject"})
        QVERIFY2(m_window->statusText(2).contains(QLatin1String(column)), column);
    QSqlQuery q(m_archive->database().database());
    QVERIFY(q.exec(QStringLiteral("select i.Message_ID, i.Sender_Name, i.Message_Subject, d.MailDat from "
                                  "Message_IdxTbl i join Message_DatTBL d on d.Message_ID = i.Message_ID")));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), id.left(256));
    QCOMPARE(q.value(1).toString(), name.left(128)); // 64 characters, each a surrogate pair
    QCOMPARE(q.value(2).toString(), subject.left(256));
    QCOMPARE(q.value(3).toByteArray(), bytes); // the full text stays in the stored message
    q.finish();
}

void TestRegistrationController::missingDateIsExplainedAndCanBeTyped()
{
    const QString path = m_env->root() + QStringLiteral("/in/nodate.eml");
    TestEnvironment::writeFile(path, "Message-Id: <nodate@example.jp>\r\nSubject: s\r\n\r\nbody\r\n");
    m_prompt.openAnswers = {{path}};
    m_window->actions()->MessageOpen->trigger();
    m_window->actions()->DBUpdate->trigger();
    QCOMPARE(m_prompt.errors.size(), 1);
    QVERIFY(m_prompt.errors.first().contains(QStringLiteral("「Message Date:」")));
    QCOMPARE(rows("Message_IdxTbl"), 0);
    QVERIFY(m_window->actions()->DBUpdate->isEnabled());
    m_window->headerField(1)->setText(QStringLiteral("2024/03/04 5:06:07"));
    m_window->actions()->DBUpdate->trigger();
    QCOMPARE(m_prompt.errors.size(), 1);
    QCOMPARE(rows("Message_IdxTbl"), 1);
    QCOMPARE(storedBytes(QStringLiteral("<nodate@example.jp>")), TestEnvironment::readFile(path));
}

void TestRegistrationController::filterIndexIsStoredOneBased()
{
    // 2 in the settings is the second filter, as the Windows program stores it.
    m_window->settings().mlFilterIndex = 2;
    m_prompt.openAnswers = {{file(1)}};
    m_prompt.filterChoices = {2};
    m_window->actions()->MessageOpen->trigger();
    QCOMPARE(m_prompt.filterShown, QList<int>{1});
    QCOMPARE(m_window->settings().mlFilterIndex, 3);
    QVERIFY(m_prompt.fileDialogs.first().contains(QStringLiteral("E-Mailファイル(*.eml) (*.eml)")));
    // The initial 0 opens on the first filter.
    m_window->settings().mlFilterIndex = 0;
    m_prompt.openAnswers = {{file(1)}};
    m_window->actions()->MessageOpen->trigger();
    QCOMPARE(m_prompt.filterShown.last(), 0);
    QCOMPARE(m_window->settings().mlFilterIndex, 1);
}

void TestRegistrationController::replacingAnotherMessageIsAsked()
{
    // Two different files with the same Message-ID and date.
    const QString first = file(1, QStringLiteral("first"));
    const QString other = m_env->root() + QStringLiteral("/in/other.eml");
    TestEnvironment::writeFile(other, mailBytes(1, QStringLiteral("another message")));
    m_prompt.openAnswers = {{first}};
    m_window->actions()->MessageOpen->trigger();
    m_window->actions()->DBUpdate->trigger();
    // The same message again replaces without a question.
    m_prompt.openAnswers = {{first}};
    m_window->actions()->MessageOpen->trigger();
    m_window->actions()->DBUpdate->trigger();
    QVERIFY(m_prompt.questions.isEmpty());

    m_prompt.openAnswers = {{other}};
    m_prompt.answers = {Prompt::Answer::No};
    m_window->actions()->MessageOpen->trigger();
    m_window->actions()->DBUpdate->trigger();
    QCOMPARE(m_prompt.questions.size(), 1);
    QVERIFY(m_prompt.questions.first().contains(QStringLiteral("置き換えますか")));
    QCOMPARE(m_prompt.defaults.first(), Prompt::Answer::No);
    QCOMPARE(storedBytes(QStringLiteral("<m1@example.jp>")), TestEnvironment::readFile(first));
    QVERIFY(m_window->actions()->DBUpdate->isEnabled());

    m_prompt.answers = {Prompt::Answer::Yes};
    m_window->actions()->DBUpdate->trigger();
    QCOMPARE(storedBytes(QStringLiteral("<m1@example.jp>")), TestEnvironment::readFile(other));
    QCOMPARE(rows("Message_IdxTbl"), 1);
}

void TestRegistrationController::mailboxImportFromTheMenuAndByDrop()
{
    // An mbox file from the menu: registered, summarised, the open list refreshed.
    QByteArray box;
    for (int n = 1; n <= 3; ++n)
        box += "From MAILER-DAEMON Fri Jan  5 09:03:07 2024\n" + mailBytes(n, QStringLiteral("box")) + "\n";
    box += "From x\nSubject: no id\n\nbody\n";
    const QString mbox = m_env->root() + QStringLiteral("/in/Inbox");
    TestEnvironment::writeFile(mbox, box);
    m_window->actions()->DBConnect->trigger();
    QCOMPARE(m_archive->database().FDTbl1()->rowCount(), 0);
    m_prompt.mailboxAnswers = {mbox};
    m_window->actions()->MailboxImport->trigger();
    QCOMPARE(rows("Message_IdxTbl"), 3);
    QVERIFY(m_prompt.informations.last().startsWith(
        QStringLiteral("Inbox: 登録 3 通、置き換え 0 通、登録済み 0 通、登録できず 1 通")));
    QVERIFY(m_prompt.informations.last().contains(QStringLiteral("Inbox #4: Message-ID がありません")));
    QVERIFY(m_archive->database().isListOpen());
    QCOMPARE(m_archive->database().FDTbl1()->rowCount(), 3);
    QVERIFY(m_window->actions()->MailboxImport->isEnabled());

    // A Maildir folder dropped on the upper pane.
    const QString maildir = m_env->root() + QStringLiteral("/Maildir");
    TestEnvironment::writeFile(maildir + QStringLiteral("/cur/1:2,S"), mailBytes(7, QStringLiteral("dropped")));
    QCOMPARE(MailboxReader::kindOf(maildir), MailboxReader::Kind::Maildir);
    auto* data = new QMimeData;
    data->setUrls({QUrl::fromLocalFile(maildir)});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_window->dropTarget(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_window->dropTarget(), &drop);
    QCOMPARE(rows("Message_IdxTbl"), 4);
    QVERIFY(m_prompt.informations.last().startsWith(QStringLiteral("Maildir: 登録 1 通")));
    QVERIFY(!m_prompt.informations.contains(QStringLiteral("メールファイルではありません")));
    delete data;
}

TALLOWIN_GUI_TEST_MAIN(TestRegistrationController)

#include "tst_RegistrationController.moc"
