// tallowin-cli tnef: unpacking a TNEF stream or the TNEF attachments of a message.
#include "support/TestEnvironment.h"
#include "support/TnefWriter.h"

#include <QDir>
#include <QProcess>
#include <QtTest>

using namespace TnefWriter;

namespace {

struct Run
{
    int status = -1;
    QString out;
    QString err;
};

Run cli(const QStringList& arguments)
{
    QProcess p;
    p.start(qEnvironmentVariable("TALLOWIN_BIN_DIR") + QStringLiteral("/tallowin-cli"), arguments);
    p.waitForFinished(20000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

} // namespace

class TestCliTnef : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void unpacksStreamAndPrintsNames();
    void unpacksTnefAttachmentsOfAMessage();
    void damagedStreamKeepsWhatWasWritten();
    void manyAttachmentsAreBoundedAndSaid();
};

void TestCliTnef::unpacksStreamAndPrintsNames()
{
    TestEnvironment env;
    const QString stream = env.root() + QStringLiteral("/winmail.dat");
    TestEnvironment::writeFile(stream, Stream().file("1", "x.txt").file("2", "x.txt").file("3").bytes());
    const QString out = env.root() + QStringLiteral("/out");
    QDir().mkpath(out);
    const Run r = cli({QStringLiteral("tnef"), stream, out});
    QCOMPARE(r.status, 0);
    QCOMPARE(r.out, QStringLiteral("x.txt\nx1.txt\nUntitled.dat\n"));
    QCOMPARE(TestEnvironment::readFile(out + QStringLiteral("/x1.txt")), QByteArray("2"));
    QCOMPARE(cli({QStringLiteral("tnef"), stream, env.root() + QStringLiteral("/missing")}).status, 1);
}

void TestCliTnef::unpacksTnefAttachmentsOfAMessage()
{
    TestEnvironment env;
    const QByteArray tnef = Stream().file("A", "a.pdf").bytes();
    const QString mail = env.root() + QStringLiteral("/m.eml");
    TestEnvironment::writeFile(mail,
                               "Content-Type: multipart/mixed; boundary=B\r\n\r\n"
                               "--B\r\nContent-Type: application/pdf; name=p.pdf\r\n\r\n%PDF\r\n"
                               "--B\r\nContent-Type: application/ms-tnef; name=winmail.dat\r\n"
                               "Content-Transfer-Encoding: base64\r\n\r\n"
                                   + tnef.toBase64() + "\r\n--B--\r\n");
    const QString out = env.root() + QStringLiteral("/out");
    QDir().mkpath(out);
    const Run r = cli({QStringLiteral("tnef"), mail, out});
    QCOMPARE(r.status, 0);
    QCOMPARE(r.out, QStringLiteral("a.pdf\n"));
    // "show" lists the unpacked files as list II, as the window does.
    const Run shown = cli({QStringLiteral("show"), mail});
    QCOMPARE(shown.status, 0);
    QVERIFY2(shown.out.contains(QStringLiteral("\"Attachments2\": [\n        \"a.pdf\"\n    ]")),
             qPrintable(shown.out));
}

void TestCliTnef::damagedStreamKeepsWhatWasWritten()
{
    TestEnvironment env;
    const QString stream = env.root() + QStringLiteral("/bad.dat");
    TestEnvironment::writeFile(stream,
                               Stream()
                                   .file("1", "kept.txt")
                                   .attribute(Attachment, 0x00069002, QByteArray(14, '\x01'))
                                   .attribute(Attachment, 0x00018010, "t", quint16(9))
                                   .bytes());
    const QString out = env.root() + QStringLiteral("/out");
    QDir().mkpath(out);
    const Run r = cli({QStringLiteral("tnef"), stream, out});
    QCOMPARE(r.status, 1);
    QCOMPARE(r.err.trimmed(), QStringLiteral("Invalid checksum"));
    QVERIFY(QFileInfo::exists(out + QStringLiteral("/kept.txt")));
    // A message without TNEF parts says so instead of succeeding silently.
    TestEnvironment::writeFile(stream, "not tnef at all");
    const Run none = cli({QStringLiteral("tnef"), stream, out});
    QCOMPARE(none.status, 1);
    QVERIFY(none.err.contains(QStringLiteral("no TNEF stream")));
}

void TestCliTnef::manyAttachmentsAreBoundedAndSaid()
{
    TestEnvironment env;
    Stream stream;
    stream.version();
    for (int i = 0; i < 4000; ++i)
        stream.file("d", "same.txt");
    const QString path = env.root() + QStringLiteral("/winmail.dat");
    TestEnvironment::writeFile(path, stream.bytes());
    const QString out = env.root() + QStringLiteral("/out");
    QDir().mkpath(out);
    const Run r = cli({QStringLiteral("tnef"), path, out});
    QCOMPARE(r.status, 0);
    QCOMPARE(r.out.count(u'\n'), 1000);
    QVERIFY2(r.err.contains(QStringLiteral("3000 件は展開しませんでした")), qPrintable(r.err));
    QCOMPARE(QDir(out).entryList(QDir::Files).size(), 1000);
}

QTEST_GUILESS_MAIN(TestCliTnef)
#include "tst_CliTnef.moc"
