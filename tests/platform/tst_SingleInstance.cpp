#include "platform/SingleInstance.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QtTest>

#include <future>
#include <unistd.h>

namespace {

// Each test uses a name of its own, so that a real running program is never asked.
QString uniqueKey(const char* tag)
{
    return SingleInstance::keyFor(QStringLiteral("tst-%1-%2").arg(QLatin1String(tag)).arg(::getpid()));
}

// A second start runs in another thread, as it would in another process,
// so that this thread's event loop can answer it.
SingleInstance::Outcome startElsewhere(const QString& key)
{
    auto future = std::async(std::launch::async, [key] {
        SingleInstance other(key);
        return other.acquire();
    });
    while (future.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready)
        QCoreApplication::processEvents();
    return future.get();
}

} // namespace

class TestSingleInstance : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void keyNamesProgramAndUser();
    void secondStartAsksFirstToShowItself();
    void otherProgramFilesRunSideBySide();
    void releasedNameIsFreeForRestart();
};

void TestSingleInstance::keyNamesProgramAndUser()
{
    const QString key = SingleInstance::keyFor(QStringLiteral("tallowin"));
    QVERIFY(key.contains(QStringLiteral("tallowin")));
    QVERIFY(key.contains(QString::number(::getuid())));
}

void TestSingleInstance::secondStartAsksFirstToShowItself()
{
    const QString key = uniqueKey("second");
    SingleInstance first(key);
    QCOMPARE(first.acquire(), SingleInstance::Outcome::First);
    QSignalSpy activation(&first, &SingleInstance::activationRequested);
    QCOMPARE(startElsewhere(key), SingleInstance::Outcome::AlreadyRunning);
    QTRY_COMPARE(activation.size(), 1);
}

void TestSingleInstance::otherProgramFilesRunSideBySide()
{
    SingleInstance a(uniqueKey("a"));
    SingleInstance b(uniqueKey("b"));
    QCOMPARE(a.acquire(), SingleInstance::Outcome::First);
    QCOMPARE(b.acquire(), SingleInstance::Outcome::First);
}

void TestSingleInstance::releasedNameIsFreeForRestart()
{
    const QString key = uniqueKey("restart");
    SingleInstance old(key);
    QCOMPARE(old.acquire(), SingleInstance::Outcome::First);
    old.release();
    QCOMPARE(startElsewhere(key), SingleInstance::Outcome::First);
}

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_SingleInstance.moc"
