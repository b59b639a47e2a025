#include "base/SafeWrite.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

// Writing into a folder others may share: links are replaced, never
// followed, and a failure leaves nothing half written.
class TestSafeWrite : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void writesAndReplaces();
    void plantedLinksAreReplacedNotFollowed();
    void folderOfThatNameIsAnError();
};

void TestSafeWrite::writesAndReplaces()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.eml"));
    QVERIFY(writeFileReplacing(path, "first"));
    QVERIFY(writeFileReplacing(path, "second"));
    QCOMPARE(TestEnvironment::readFile(path), QByteArray("second"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("a.eml")});
}

void TestSafeWrite::plantedLinksAreReplacedNotFollowed()
{
    QTemporaryDir dir;
    const QString outside = dir.filePath(QStringLiteral("outside"));
    TestEnvironment::writeFile(outside, "keep");
    const QString folder = dir.filePath(QStringLiteral("out"));
    QDir().mkpath(folder);
    QVERIFY(QFile::link(outside, folder + QStringLiteral("/a.eml")));
    QVERIFY(QFile::link(dir.filePath(QStringLiteral("nowhere")), folder + QStringLiteral("/b.eml")));
    QVERIFY(writeFileReplacing(folder + QStringLiteral("/a.eml"), "mail"));
    QVERIFY(writeFileReplacing(folder + QStringLiteral("/b.eml"), "mail"));
    QCOMPARE(TestEnvironment::readFile(outside), QByteArray("keep"));
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("nowhere"))));
    for (const char* name : {"/a.eml", "/b.eml"}) {
        const QFileInfo written(folder + QLatin1String(name));
        QVERIFY(!written.isSymLink());
        QCOMPARE(TestEnvironment::readFile(written.filePath()), QByteArray("mail"));
    }
}

void TestSafeWrite::folderOfThatNameIsAnError()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("x"));
    QDir().mkpath(path);
    QString error;
    QVERIFY(!writeFileReplacing(path, "bytes", &error));
    QVERIFY(error.contains(path));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 0); // no temporary left
}

QTEST_GUILESS_MAIN(TestSafeWrite)
#include "tst_SafeWrite.moc"
