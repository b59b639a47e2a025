#include "reading/MessageDisplay.h"
#include "reading/MessageSummary.h"
#include "reading/MimeMessage.h"

#include <QtTest>

namespace {

// Records every call of the walk, in order.
class TraceSink : public DisplaySink
{
public:
    QStringList trace;
    QString text;
    QString html;
    QList<AttachmentListing> listed;
    int page = -1;
    bool tnefResult = true;
    bool decryptResult = true;

    void showPage(int p) override
    {
        page = p;
        trace << QStringLiteral("page %1").arg(p);
    }
    void listAttachment(const MimePart&, const AttachmentListing& item) override
    {
        listed << item;
        trace << QStringLiteral("list ") + item.caption;
    }
    bool extractTnef(const MimePart& part) override
    {
        trace << QStringLiteral("tnef ") + part.fileName;
        return tnefResult;
    }
    void setText(const QString& t) override { text = t; }
    void showHtml(const QString& h) override
    {
        html = h;
        trace << QStringLiteral("html");
    }
    bool decryptInline(const QStringList&) override
    {
        trace << QStringLiteral("decrypt");
        return decryptResult;
    }
    bool decryptHeaderless(const QString&) override
    {
        trace << QStringLiteral("headerless");
        return decryptResult;
    }
};

QByteArray multipart(const QByteArray& type, const QList<QByteArray>& parts)
{
    QByteArray m = "From: a@x.jp\r\nSubject: t\r\nMIME-Version: 1.0\r\nContent-Type: multipart/" + type
        + "; boundary=\"BOUND\"\r\n\r\npreamble\r\n";
    for (const QByteArray& p : parts)
        m += "--BOUND\r\n" + p + "\r\n";
    return m + "--BOUND--\r\n";
}

const QByteArray kPlain = "Content-Type: text/plain; charset=UTF-8\r\n\r\nこんにちは\r\n二行目";
const QByteArray kHtml = "Content-Type: text/html; charset=UTF-8\r\n\r\n<p>こんにちは</p>";
const QByteArray kPdf = "Content-Type: application/pdf; name=\"a.pdf\"\r\nContent-Disposition: attachment; "
                        "filename=\"a.pdf\"\r\nContent-Transfer-Encoding: base64\r\n\r\nJVBERi0=";
const QByteArray kNoName = "Content-Type: application/octet-stream\r\nContent-Transfer-Encoding: base64\r\n\r\nAAEC";
const QByteArray kReport = "Content-Type: application/octet-stream; name=report\r\n\r\nxyz";
const QByteArray kTnef = "Content-Type: application/ms-tnef; name=\"winmail.dat\"\r\nContent-Disposition: "
                         "attachment; filename=\"winmail.dat\"\r\nContent-Transfer-Encoding: base64\r\n\r\neJ8+Ig==";

struct Walked
{
    DisplayOutcome outcome;
    TraceSink sink;
};

std::unique_ptr<Walked> walk(const QByteArray& bytes, bool hooksSucceed = true)
{
    auto w = std::make_unique<Walked>();
    w->sink.tnefResult = hooksSucceed;
    w->sink.decryptResult = hooksSucceed;
    const auto message = MimeMessage::parse(bytes);
    if (message)
        w->outcome = walkMessage(*message, w->sink);
    return w;
}

} // namespace

class TestMessageDisplay : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tooManyAttachmentsAreBounded();
    void partsWalk_data();
    void partsWalk();
    void alternativeShowsBothBodies();
    void attachmentListingNames_data();
    void attachmentListingNames();
    void tnefExtractionRunsAtOnceAndCanEndTheDisplay();
    void lastAttachmentDecidesTnefFlag();
    void inlineOpenPgp();
    void singleBody_data();
    void singleBody();
    void damagedInputNeverCrashes_data();
    void damagedInputNeverCrashes();
    void attachmentContentIsDecoded();
};

void TestMessageDisplay::partsWalk_data()
{
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<int>("mdatType");
    QTest::addColumn<int>("page");
    QTest::addColumn<bool>("tnef");
    QTest::newRow("alternative text then html") << multipart("alternative", {kPlain, kHtml}) << 2 << 0 << false;
    QTest::newRow("alternative html then text") << multipart("alternative", {kHtml, kPlain}) << 1 << 0 << false;
    QTest::newRow("text then attachment") << multipart("mixed", {kPlain, kPdf}) << 1 << 1 << false;
    QTest::newRow("attachment then text") << multipart("mixed", {kPdf, kPlain}) << 1 << 0 << false;
    QTest::newRow("only an attachment") << multipart("mixed", {kPdf}) << 0 << 1 << false;
    QTest::newRow("nested alternative and tnef")
        << multipart("mixed",
                     {"Content-Type: multipart/alternative; boundary=\"IN\"\r\n\r\n--IN\r\n" + kPlain + "\r\n--IN\r\n"
                          + kHtml + "\r\n--IN--",
                      kTnef})
        << 2 << 1 << true;
    QTest::newRow("other text types ignored")
        << multipart("mixed", {"Content-Type: text/calendar\r\n\r\nBEGIN:VCALENDAR"}) << 0 << -1 << false;
}

void TestMessageDisplay::partsWalk()
{
    QFETCH(QByteArray, message);
    QFETCH(int, mdatType);
    QFETCH(int, page);
    QFETCH(bool, tnef);
    const auto w = walk(message);
    QCOMPARE(w->outcome.MDatType, mdatType);
    QCOMPARE(w->sink.page, page);
    QCOMPARE(w->outcome.TnefFlg, tnef);
    QVERIFY(!w->outcome.endedEarly);
}

void TestMessageDisplay::alternativeShowsBothBodies()
{
    const auto w = walk(multipart("alternative", {kPlain, kHtml}));
    QCOMPARE(w->sink.text, QStringLiteral("こんにちは\n二行目"));
    QCOMPARE(w->sink.html, QStringLiteral("<p>こんにちは</p>"));
}

void TestMessageDisplay::attachmentListingNames_data()
{
    QTest::addColumn<QByteArray>("part");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("iconType");
    QTest::addColumn<bool>("opens");
    QTest::newRow("named") << kPdf << "a.pdf"
                           << ".pdf" << true;
    QTest::newRow("no name") << kNoName << "ver.dat"
                             << ".dat" << false;
    QTest::newRow("no extension") << kReport << "report"
                                  << ".dat" << false;
    QTest::newRow("RFC 2231 Japanese name")
        << QByteArray("Content-Type: application/pdf\r\nContent-Disposition: attachment; "
                      "filename*=UTF-8''%E8%A6%8B%E7%A9%8D.pdf\r\n\r\nx")
        << "見積.pdf"
        << ".pdf" << true;
}

void TestMessageDisplay::attachmentListingNames()
{
    QFETCH(QByteArray, part);
    QFETCH(QString, caption);
    QFETCH(QString, iconType);
    QFETCH(bool, opens);
    const auto w = walk(multipart("mixed", {kPlain, part}));
    QCOMPARE(w->sink.listed.size(), 1);
    QCOMPARE(w->sink.listed.first().caption, caption);
    QCOMPARE(w->sink.listed.first().iconType, iconType);
    QCOMPARE(w->sink.listed.first().opensWithProgram, opens);
}

void TestMessageDisplay::tnefExtractionRunsAtOnceAndCanEndTheDisplay()
{
    auto w = walk(multipart("mixed", {kTnef, kPdf}));
    QCOMPARE(w->sink.trace,
             (QStringList{QStringLiteral("page 1"), QStringLiteral("list winmail.dat"),
                          QStringLiteral("tnef winmail.dat"), QStringLiteral("page 1"), QStringLiteral("list a.pdf")}));
    w = walk(multipart("mixed", {kTnef, kPdf}), false);
    QVERIFY(w->outcome.endedEarly);
    QCOMPARE(w->sink.listed.size(), 1);
}

void TestMessageDisplay::lastAttachmentDecidesTnefFlag()
{
    QVERIFY(!walk(multipart("mixed", {kTnef, kPdf}))->outcome.TnefFlg);
    QVERIFY(walk(multipart("mixed", {kPdf, kTnef}))->outcome.TnefFlg);
}

void TestMessageDisplay::inlineOpenPgp()
{
    const QByteArray armoured = "Content-Type: text/plain\r\n\r\n-----BEGIN PGP MESSAGE-----\r\n\r\nhQEMA\r\n"
                                "-----END PGP MESSAGE-----";
    auto w = walk(multipart("mixed", {armoured}));
    QCOMPARE(w->outcome.MDatType, 3);
    QVERIFY(w->outcome.encrypted);
    QVERIFY(w->sink.trace.contains(QStringLiteral("decrypt")));
    // Without GnuPG the display ends at once and MDatType stays as it was.
    w = walk(multipart("mixed", {armoured}), false);
    QVERIFY(w->outcome.endedEarly);
    QCOMPARE(w->outcome.MDatType, 1);
}

void TestMessageDisplay::singleBody_data()
{
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<int>("mdatType");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("html");
    QTest::newRow("text/plain") << QByteArray("Content-Type: text/plain\r\n\r\nhello") << 1 << "hello"
                                << "";
    QTest::newRow("text/html") << QByteArray("Content-Type: text/html\r\n\r\n<b>x</b>") << 2 << ""
                               << "<b>x</b>";
    QTest::newRow("no content type shows nothing") << QByteArray("Subject: s\r\n\r\nhello") << 1 << ""
                                                   << "";
    QTest::newRow("base64 with padding inside")
        << QByteArray("Content-Type: text/plain\r\nContent-Transfer-Encoding: base64\r\n\r\naGVsbG8=\r\nIHdvcmxk\r\n")
        << 1 << "hello world"
        << "";
    QTest::newRow("shift_jis body") << (QByteArray("Content-Type: text/plain; charset=Shift_JIS\r\n\r\n")
                                        + QByteArray::fromHex("8740878a8755"))
                                    << 1 << "①㈱Ⅱ"
                                    << "";
    QTest::newRow("iso-2022-jp body") << QByteArray(
        "Content-Type: text/plain; charset=ISO-2022-JP\r\n\r\n\x1b$B-!-j-6\x1b(B")
                                      << 1 << "①㈱Ⅱ"
                                      << "";
    QTest::newRow("armoured file") << QByteArray("-----BEGIN PGP MESSAGE-----\r\n\r\nhQEMA\r\n") << 1 << ""
                                   << "";
}

void TestMessageDisplay::singleBody()
{
    QFETCH(QByteArray, message);
    QFETCH(int, mdatType);
    QFETCH(QString, text);
    QFETCH(QString, html);
    const auto w = walk(message);
    QCOMPARE(w->outcome.MDatType == 3 ? 1 : w->outcome.MDatType, mdatType);
    QCOMPARE(w->sink.text, text);
    QCOMPARE(w->sink.html, html);
}

void TestMessageDisplay::damagedInputNeverCrashes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("not a message") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
    QTest::newRow("truncated multipart") << QByteArray(
        "Content-Type: multipart/mixed; boundary=X\r\n\r\n--X\r\nContent-Type: text/plain\r\n\r\nhal");
    QTest::newRow("multipart without boundary") << QByteArray("Content-Type: multipart/mixed\r\n\r\n--X\r\nabc");
    QTest::newRow("unknown charset") << QByteArray("Content-Type: text/plain; charset=x-nothing\r\n\r\n\xff\xfe");
    QTest::newRow("encoded word garbage") << QByteArray("Subject: =?UTF-8?B?@@@@?= =?x?Q?=ZZ?=\r\nTo: <\r\n\r\n");
    QTest::newRow("only headers") << QByteArray("From: a\r\nTo: b\r\n");
}

void TestMessageDisplay::damagedInputNeverCrashes()
{
    QFETCH(QByteArray, bytes);
    const MessageSummary summary = summariseMessage(bytes, {});
    QVERIFY(summary.toJson().contains(QStringLiteral("Message_dtype")));
}

void TestMessageDisplay::attachmentContentIsDecoded()
{
    const auto message = MimeMessage::parse(multipart("mixed", {kPlain, kPdf, kNoName}));
    QVERIFY(message);
    QCOMPARE(message->parts().size(), 3);
    QCOMPARE(message->attachmentContent(message->parts().at(1)), QByteArray("%PDF-"));
    QCOMPARE(message->attachmentContent(message->parts().at(2)), QByteArray("\x00\x01\x02", 3));
}

void TestMessageDisplay::tooManyAttachmentsAreBounded()
{
    // A small message with thousands of attachment parts: the first
    // MaxListedAttachments are listed, the rest counted; text parts after
    // them still show.
    QList<QByteArray> parts(MaxListedAttachments + 5, kPdf);
    parts << kTnef << kPlain;
    const auto w = walk(multipart("mixed", parts));
    QCOMPARE(w->sink.listed.size(), MaxListedAttachments);
    QCOMPARE(w->outcome.attachmentsLeftOut, 6);
    QVERIFY(!w->sink.trace.contains(QStringLiteral("tnef winmail.dat")));
    QCOMPARE(w->sink.text, QStringLiteral("こんにちは\n二行目"));
}

QTEST_GUILESS_MAIN(TestMessageDisplay)
#include "tst_MessageDisplay.moc"
