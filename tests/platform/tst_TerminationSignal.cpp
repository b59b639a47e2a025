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
    TerminationSignal::blockInAllThreads();
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
    TerminationSignal::blockInAllThreads();
    bool terminated = false;
    ChildProcessRunner runner(terminated);
    const auto result = runner.runAndWait(QStringLiteral("/bin/sh"),
                                          {QStringLiteral("-c"), QStringLiteral("grep SigBlk /proc/self/status")}, true);
    QCOMPARE(QString::fromLatin1(result.output).simplified(), QStringLiteral("SigBlk: 0000000000000000"));
}

QTEST_GUILESS_MAIN(TestTerminationSignal)
#include "tst_TerminationSignal.moc"
