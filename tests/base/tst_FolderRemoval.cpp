#include "base/FolderRemoval.h"
#include "support/RecordingPrompt.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QtTest>

class TestFolderRemoval : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void removesWholeTree();
    void missingFolderIsAlreadyGone();
    void readOnlySubFolderIsRemovedOnRetry();
    void folderThatCannotBeRemovedIsReported();
};

void TestFolderRemoval::removesWholeTree()
{
    TestEnvironment env;
    const QString folder = env.root() + QStringLiteral("/mail_dat");
    TestEnvironment::writeFile(folder + QStringLiteral("/a.eml"), "x");
    TestEnvironment::writeFile(folder + QStringLiteral("/2nd/添付.pdf"), "y");
    TestEnvironment::writeFile(folder + QStringLiteral("/.hidden"), "z");
    RecordingPrompt prompt;
    QVERIFY(removeFolder(folder, prompt));
    QVERIFY(!QFileInfo::exists(folder));
    QVERIFY(prompt.everything().isEmpty());
}

void TestFolderRemoval::missingFolderIsAlreadyGone()
{
    TestEnvironment env;
    RecordingPrompt prompt;
    QVERIFY(removeFolder(env.root() + QStringLiteral("/nothing"), prompt));
    QVERIFY(prompt.everything().isEmpty());
}

void TestFolderRemoval::readOnlySubFolderIsRemovedOnRetry()
{
    TestEnvironment env;
    const QString folder = env.root() + QStringLiteral("/mail_dat");
    TestEnvironment::writeFile(folder + QStringLiteral("/ro/file.txt"), "x");
    QFile::setPermissions(folder + QStringLiteral("/ro"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    RecordingPrompt prompt;
    QVERIFY(removeFolder(folder, prompt));
    QVERIFY(!QFileInfo::exists(folder));
    QVERIFY(prompt.everything().isEmpty());
}

void TestFolderRemoval::folderThatCannotBeRemovedIsReported()
{
    TestEnvironment env;
    const QString folder = env.root() + QStringLiteral("/stuck/mail_dat");
    TestEnvironment::writeFile(folder + QStringLiteral("/other.txt"), "x");
    UndeletableFolder stuck(folder);
    if (!stuck.active())
        QSKIP("this file system cannot make a folder undeletable");
    RecordingPrompt prompt;
    QVERIFY(!removeFolder(folder, prompt));
    QCOMPARE(prompt.informations, QStringList{QStringLiteral("フォルダーが残されています")});
    QVERIFY(QFileInfo::exists(folder));
}

QTEST_GUILESS_MAIN(TestFolderRemoval)
#include "tst_FolderRemoval.moc"
