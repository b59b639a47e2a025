#include "app/ui/TFrmQuillet.h"
#include "archive/EmbeddedLock.h"
#include "archive/FirebirdClient.h"
#include "archive/TDm_Ldb.h"
#include "archive/ui/ArchiveController.h"
#include "frame/ui/MainActions.h"
#include "settings/ListFiles.h"
#include "support/RecordingPrompt.h"
#include "support/TestEnvironment.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <memory>

class TestArchiveController : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { useProcessWideFirebirdLockFolder(); }
    void init();
    void cleanup();
    void startupConnectsAndNamesTheArchive();
    void startupWithoutDatabaseLeavesConnectDisabled();
    void connectionCheckOkAndNg();
    void lockHeldWhileRunningAndReleasedAtClose();
    void verifyFromTheDBFilePage();

private:
    std::unique_ptr<TFrmQuillet> open(const QString& host, const QString& path);

    std::unique_ptr<TestEnvironment> m_env;
    RecordingPrompt m_prompt;
    QString m_archive;
};

void TestArchiveController::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_prompt = RecordingPrompt();
    m_archive = m_env->root() + QStringLiteral("/data/メール.fdb");
    QDir().mkpath(m_env->root() + QStringLiteral("/data"));
    QCOMPARE(createArchive(ArchiveTarget{QString(), m_archive}), QString());
}

void TestArchiveController::cleanup()
{
    m_env.reset();
}

std::unique_ptr<TFrmQuillet> TestArchiveController::open(const QString& host, const QString& path)
{
    const SettingsFolders f = m_env->folders();
    QDir().mkpath(f.individual);
    TestEnvironment::writeFile(f.individual + QStringLiteral("/tallowin.ini"),
                               QStringLiteral("[MailDB]\nServer=%1\nDBPath=%2\n").arg(host, path).toUtf8());
    QuilletOptions options;
    options.prompt = &m_prompt;
    options.folders = f;
    options.programFolder = m_env->programFolder();
    options.programFile = QStringLiteral("tallowin");
    auto window = std::make_unique<TFrmQuillet>(options);
    (new ArchiveController(*window))->connectAtStartup();
    return window;
}

void TestArchiveController::startupConnectsAndNamesTheArchive()
{
    auto w = open(QString(), m_archive);
    QCOMPARE(w->windowTitle(), QStringLiteral("Tallowin 管理 -- メール.fdb"));
    QCOMPARE(ListFiles::readFormTitle(w->state.MyAppDataPath), QStringLiteral("Tallowin 管理 -- メール.fdb"));
    QVERIFY(w->actions()->DBConnect->isEnabled());
    auto* controller = w->findChild<ArchiveController*>();
    QVERIFY(controller->database().isOpen());
    QVERIFY(w->close());
    QVERIFY(!controller->database().isOpen());
}

void TestArchiveController::startupWithoutDatabaseLeavesConnectDisabled()
{
    auto w = open(QString(), QString());
    QCOMPARE(w->windowTitle(), QStringLiteral("Tallowin 管理"));
    QVERIFY(!w->actions()->DBConnect->isEnabled());
    QVERIFY(m_prompt.everything().isEmpty());
    QVERIFY(w->close());

    auto missing = open(QString(), m_env->root() + QStringLiteral("/nothing.fdb"));
    QCOMPARE(missing->windowTitle(), QStringLiteral("Tallowin 管理"));
    QVERIFY(!missing->actions()->DBConnect->isEnabled());
    QVERIFY(m_prompt.everything().isEmpty()); // no message box at start-up
    QVERIFY(!missing->statusText(2).isEmpty());
}

void TestArchiveController::connectionCheckOkAndNg()
{
    auto w = open(QString(), QString());
    auto* controller = w->findChild<ArchiveController*>();
    controller->hostField()->setText(QStringLiteral("localhost"));
    controller->fileField()->setText(m_env->root() + QStringLiteral("/wrong.fdb"));
    controller->checkButton()->click();
    QCOMPARE(m_prompt.informations, QStringList{QStringLiteral("Data Base 接続NG!!")});
    QVERIFY(controller->checkButton()->isEnabled());
    // The wrong path stays in the settings.
    QCOMPARE(w->state.Ldb_Path1, m_env->root() + QStringLiteral("/wrong.fdb"));
    QCOMPARE(w->state.Ldb_Host1, QStringLiteral("localhost"));

    m_prompt.fileAnswers = {m_archive};
    w->findChild<QPushButton*>(QStringLiteral("DBFileBrowse"))->click();
    QCOMPARE(controller->fileField()->text(), m_archive);
    QVERIFY(m_prompt.fileDialogs.first().contains(QStringLiteral("Firebird DBファイル (*.fdb)")));
    controller->checkButton()->click();
    QCOMPARE(m_prompt.informations.last(), QStringLiteral("Data Base 接続OK!!"));
    QVERIFY(!controller->database().isOpen());
    QCOMPARE(w->windowTitle(), QStringLiteral("Tallowin 管理 -- メール.fdb"));
    QVERIFY(w->close());
}

void TestArchiveController::verifyFromTheDBFilePage()
{
    auto w = open(QString(), m_archive);
    auto* controller = w->findChild<ArchiveController*>();
    QCOMPARE(controller->verifyButton()->text(), QStringLiteral("アーカイブの検証"));
    QVERIFY(w->page(TFrmQuillet::DBFilePage)->isAncestorOf(controller->verifyButton()));
    controller->verifyButton()->click();
    QVERIFY2(m_prompt.errors.isEmpty(), qPrintable(m_prompt.errors.join(u'\n')));
    QCOMPARE(m_prompt.informations, QStringList{QStringLiteral("アーカイブに問題はありません (0 通を確認しました)")});
    QCOMPARE(w->statusText(2), m_prompt.informations.first());
    QVERIFY(controller->verifyButton()->isEnabled());
    QVERIFY(controller->database().open()); // usable again afterwards
    QVERIFY(w->close());
}

void TestArchiveController::lockHeldWhileRunningAndReleasedAtClose()
{
    const QString lockFile = m_env->root() + QStringLiteral("/data/Semafore");
    auto w = open(QString(), m_archive);
    QVERIFY(w->state.emb_Flg);
    QVERIFY(w->state.Semafore_Flg);
    QVERIFY(QFileInfo::exists(lockFile));
    EmbeddedLock second;
    QVERIFY(!second.acquire(m_archive));
    QVERIFY(w->close());
    QVERIFY(!QFileInfo::exists(lockFile));
    QVERIFY(second.acquire(m_archive));
}

QTEST_MAIN(TestArchiveController)
#include "tst_ArchiveController.moc"
