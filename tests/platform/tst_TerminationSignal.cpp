#include "platform/ChildProcessRunner.h"
#include "platform/TerminationSignal.h"

#include <QSignalSpy>
#include <QtTest>

#include <csignal>

class TestTerminationSignal : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void signalArrivesAsQtSignal();
    void childProcessesGetSignalsUnblocked();
};

void TestTerminationSignal::signalArrivesAsQtSignal()
{
    TerminationSignal termination;
    QVERIFY(termination.active());
    QSignalSpy received(&termination, &TerminationSignal::received);
    ::kill(::getpid(), SIGTERM);
    QTRY_COMPARE(received.size(), 1);
    QCOMPARE(received.first().first().toInt(), int(SIGTERM));
    ::kill(::getpid(), SIGHUP);
    QTRY_COMPARE(received.size(), 2);
}

void TestTerminationSignal::childProcessesGetSignalsUnblocked()
{
    bool terminated = false;
    ChildProcessRunner runner(terminated);
    const auto result = runner.runAndWait(
        QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("grep SigBlk /proc/self/status")}, true);
    QCOMPARE(QString::fromLatin1(result.output).simplified(), QStringLiteral("SigBlk: 0000000000000000"));
}

// The signals are blocked before any thread exists (the test library starts
// a watchdog thread), as the program does first thing in main().
int main(int argc, char** argv)
{
    TerminationSignal::blockInAllThreads();
    QCoreApplication app(argc, argv);
    TestTerminationSignal test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_TerminationSignal.moc"
