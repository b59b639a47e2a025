#include "platform/ChildProcessRunner.h"
#include "platform/Shell.h"
#include "support/TestEnvironment.h"

#include <QtTest>

class TestXdgShell : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void execLineToCommand_data();
    void execLineToCommand();
    void desktopEntryIsFoundAndRead();
    void opensWithDefaultApplicationAndWaits();
};

void TestXdgShell::execLineToCommand_data()
{
    QTest::addColumn<QString>("exec");
    QTest::addColumn<QStringList>("command");
    QTest::newRow("%f") << "viewer --new %f" << QStringList{"viewer", "--new", "/m/a b.pdf"};
    QTest::newRow("%U") << "browser %U" << QStringList{"browser", "file:///m/a b.pdf"};
    QTest::newRow("no field code") << "editor" << QStringList{"editor", "/m/a b.pdf"};
    QTest::newRow("icon and caption dropped") << "app %i %c %F" << QStringList{"app", "/m/a b.pdf"};
    QTest::newRow("quoted program") << "\"/opt/my app/run\" %f" << QStringList{"/opt/my app/run", "/m/a b.pdf"};
}

void TestXdgShell::execLineToCommand()
{
    QFETCH(QString, exec);
    QFETCH(QStringList, command);
    QCOMPARE(XdgShell::commandFor(exec, QStringLiteral("/m/a b.pdf")), command);
}

void TestXdgShell::desktopEntryIsFoundAndRead()
{
    TestEnvironment env;
    TestEnvironment::writeFile(env.root() + QStringLiteral("/home/.local/share/applications/test-viewer.desktop"),
                               "[Desktop Entry]\nName=V\nExec=viewer %f\n[Desktop Action x]\nExec=other\n");
    const QString entry = XdgShell::findDesktopEntry(QStringLiteral("test-viewer.desktop"));
    QVERIFY(!entry.isEmpty());
    QCOMPARE(XdgShell::execOf(entry), QStringLiteral("viewer %f"));
}

void TestXdgShell::opensWithDefaultApplicationAndWaits()
{
    if (QStandardPaths::findExecutable(QStringLiteral("xdg-mime")).isEmpty())
        QSKIP("xdg-utils is not installed");
    TestEnvironment env;
    // A default application of our own for text files: it records the file
    // it was given, after a moment, so that the wait can be seen.
    const QString record = env.root() + QStringLiteral("/opened.txt");
    const QString app = env.root() + QStringLiteral("/bin/recorder");
    TestEnvironment::writeFile(
        app, QStringLiteral("#!/bin/sh\nsleep 0.3\nprintf '%s' \"$1\" > '%1'\n").arg(record).toUtf8());
    QFile::setPermissions(app, QFile::permissions(app) | QFileDevice::ExeOwner);
    TestEnvironment::writeFile(
        env.root() + QStringLiteral("/home/.local/share/applications/recorder.desktop"),
        QStringLiteral("[Desktop Entry]\nType=Application\nName=R\nExec=%1 %f\n").arg(app).toUtf8());
    TestEnvironment::writeFile(env.root() + QStringLiteral("/home/.config/mimeapps.list"),
                               "[Default Applications]\ntext/plain=recorder.desktop\n");
    const QString file = env.root() + QStringLiteral("/note.txt");
    TestEnvironment::writeFile(file, "x");

    bool terminated = false;
    ChildProcessRunner runner(terminated);
    XdgShell shell(runner);
    QVERIFY(shell.openAndWait(file));
    // Waited: the program has finished writing when the call returns.
    QCOMPARE(QString::fromUtf8(TestEnvironment::readFile(record)), file);
}

QTEST_GUILESS_MAIN(TestXdgShell)
#include "tst_XdgShell.moc"
