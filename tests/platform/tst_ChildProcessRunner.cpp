#include "base/Delay.h"
#include "platform/ChildProcessRunner.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

class TestChildProcessRunner : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void waitsForExitAndSetsFlag();
    void capturesOutputWhenAsked();
    void programThatCannotStartDoesNotHang();
    void startWithoutWaitingSignalsEnd();
    void delayWaitsAndKeepsEventsFlowing();
};

void TestChildProcessRunner::waitsForExitAndSetsFlag()
{
    bool terminated = true; // stale from an earlier run: must be cleared first
    ChildProcessRunner runner(terminated);
    QElapsedTimer timer;
    timer.start();
    const auto result
        = runner.runAndWait(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("sleep 0.3; exit 3")});
    QVERIFY(timer.elapsed() >= 250);
    QVERIFY(result.started);
    QCOMPARE(result.exitCode, 3);
    QVERIFY(terminated);
    QVERIFY(result.output.isEmpty());
}

void TestChildProcessRunner::capturesOutputWhenAsked()
{
    bool terminated = false;
    ChildProcessRunner runner(terminated);
    const auto result = runner.runAndWait(
        QStringLiteral("/bin/sh"),
        {QStringLiteral("-c"), QStringLiteral("printf 'line1\\n'; sleep 0.1; printf 'ライン2'")}, true);
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(QString::fromUtf8(result.output), QStringLiteral("line1\nライン2"));
}

void TestChildProcessRunner::programThatCannotStartDoesNotHang()
{
    bool terminated = false;
    ChildProcessRunner runner(terminated);
    const auto result = runner.runAndWait(QStringLiteral("/nonexistent/gfix"), {QStringLiteral("-upgrade")});
    QVERIFY(!result.started);
    QVERIFY(!result.errorText.isEmpty());
    QVERIFY(terminated);
}

void TestChildProcessRunner::startWithoutWaitingSignalsEnd()
{
    bool terminated = false;
    ChildProcessRunner runner(terminated);
    QSignalSpy ended(&runner, &ChildProcessRunner::terminated);
    QVERIFY(runner.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("exit 5")}));
    QTRY_COMPARE(ended.size(), 1);
    QCOMPARE(ended.first().first().toInt(), 5);
    QVERIFY(terminated);
}

void TestChildProcessRunner::delayWaitsAndKeepsEventsFlowing()
{
    bool fired = false;
    QTimer::singleShot(20, this, [&fired] { fired = true; });
    QElapsedTimer timer;
    timer.start();
    Delay(150);
    QVERIFY(timer.elapsed() >= 150);
    QVERIFY(fired);
}

QTEST_GUILESS_MAIN(TestChildProcessRunner)
#include "tst_ChildProcessRunner.moc"
