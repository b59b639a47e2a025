// tallowin-cli show: the display's derivation, printed as JSON.
#include "support/TestEnvironment.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QtTest>

class TestCliShow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void printsFieldsBodiesAndAttachments();
    void missingFileFails();
    void everyCommandPrintsItsUsage_data();
    void everyCommandPrintsItsUsage();
};

void TestCliShow::printsFieldsBodiesAndAttachments()
{
    TestEnvironment env;
    // The account rows come from the configuration in use.
    TestEnvironment::writeFile(env.folders().individual + QStringLiteral("/tallowin.ini"),
                               QStringLiteral("[Condition]\nMailAccount2=受信 太郎 <to@example.jp>\n").toUtf8());
    const QString mail = env.root() + QStringLiteral("/m.eml");
    TestEnvironment::writeFile(mail,
                               "Message-Id: <m@x>\r\nDate: Fri, 05 Jan 2024 00:00:00 +0000\r\n"
                               "From: 'Sender' <s@example.jp>\r\nTo: to@example.jp\r\nSubject: =?UTF-8?B?5Lu25ZCN?=\r\n"
                               "Content-Type: multipart/alternative; boundary=B\r\n\r\n"
                               "--B\r\nContent-Type: text/plain; charset=UTF-8\r\n\r\n本文\r\n"
                               "--B\r\nContent-Type: text/html\r\n\r\n<p>x</p>\r\n"
                               "--B\r\nContent-Type: image/png; name=a.png\r\n\r\nPNG\r\n--B--\r\n");
    QProcess cli;
    cli.start(qEnvironmentVariable("TALLOWIN_BIN_DIR") + QStringLiteral("/tallowin-cli"),
              {QStringLiteral("show"), mail});
    QVERIFY(cli.waitForFinished(20000));
    QCOMPARE(cli.exitCode(), 0);
    const QJsonObject o = QJsonDocument::fromJson(cli.readAllStandardOutput()).object();
    QCOMPARE(o.value(QStringLiteral("Message_ID")).toString(), QStringLiteral("<m@x>"));
    QVERIFY(o.value(QStringLiteral("Message_Date")).toString().startsWith(QStringLiteral("2024/01/0")));
    QCOMPARE(o.value(QStringLiteral("Sender_Name")).toString(), QStringLiteral("Sender"));
    QCOMPARE(o.value(QStringLiteral("Recieve_Name")).toString(), QStringLiteral("受信 太郎"));
    QCOMPARE(o.value(QStringLiteral("Recieve_Address")).toString(), QStringLiteral("to@example.jp"));
    QCOMPARE(o.value(QStringLiteral("Message_Subject")).toString(), QStringLiteral("件名"));
    QCOMPARE(o.value(QStringLiteral("Message_dtype")).toInt(), 2);
    QCOMPARE(o.value(QStringLiteral("MailBody")).toString(), QStringLiteral("本文"));
    QCOMPARE(o.value(QStringLiteral("Html")).toString(), QStringLiteral("<p>x</p>"));
    QCOMPARE(o.value(QStringLiteral("Attachments")).toArray(), QJsonArray{QStringLiteral("a.png")});
    QCOMPARE(o.value(QStringLiteral("Attachments2")).toArray(), QJsonArray{});
}

void TestCliShow::missingFileFails()
{
    QProcess cli;
    cli.start(qEnvironmentVariable("TALLOWIN_BIN_DIR") + QStringLiteral("/tallowin-cli"),
              {QStringLiteral("show"), QStringLiteral("/nonexistent.eml")});
    QVERIFY(cli.waitForFinished(20000));
    QCOMPARE(cli.exitCode(), 1);
}

void TestCliShow::everyCommandPrintsItsUsage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("usage");
    const QString archive = QStringLiteral("archive");
    QTest::newRow("show -h") << QStringList{"show", "-h"} << "usage: tallowin-cli show FILE";
    QTest::newRow("tnef --help") << QStringList{"tnef", "--help"} << "usage: tallowin-cli tnef FILE OUTDIR";
    QTest::newRow("archive -h") << QStringList{archive, "-h"} << "usage: tallowin-cli archive create";
    QTest::newRow("archive list --help") << QStringList{archive, "list", "--help"}
                                         << "usage: tallowin-cli archive list [--host HOST] [--body] DB";
    QTest::newRow("archive verify -h") << QStringList{archive, "verify", "-h"}
                                       << "usage: tallowin-cli archive verify [--host HOST] DB";
    QTest::newRow("-h") << QStringList{"-h"} << "usage: tallowin-cli COMMAND";
}

void TestCliShow::everyCommandPrintsItsUsage()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, usage);
    TestEnvironment env;
    QProcess cli;
    cli.start(qEnvironmentVariable("TALLOWIN_BIN_DIR") + QStringLiteral("/tallowin-cli"), arguments);
    QVERIFY(cli.waitForFinished(20000));
    QCOMPARE(cli.exitCode(), 0);
    QVERIFY2(QString::fromUtf8(cli.readAllStandardOutput()).startsWith(usage), qPrintable(usage));
}

QTEST_GUILESS_MAIN(TestCliShow)
#include "tst_CliShow.moc"
