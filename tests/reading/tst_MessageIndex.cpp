#include "reading/MessageIndex.h"
#include "reading/MimeMessage.h"

#include <QtTest>

using namespace MessageFields;

namespace {

MessageIndexFields derive(const QByteArray& headers, const QStringList& accounts = {})
{
    const auto message = MimeMessage::parse(headers + "\r\nbody\r\n");
    return message ? deriveIndexFields(*message, accounts) : MessageIndexFields{};
}

QStringList accounts()
{
    QStringList rows{QStringLiteral("山田 太郎 <taro@example.jp>"), QStringLiteral("Dummy Data"), QString(),
                     QStringLiteral("Hanako <HANAKO@Example.jp>")};
    while (rows.size() < 10)
        rows << QStringLiteral("Dummy Data");
    return rows;
}

} // namespace

class TestMessageIndex : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void monthToNumber_data();
    void monthToNumber();
    void messageDateForm_data();
    void messageDateForm();
    void apparentlyTo_data();
    void apparentlyTo();
    void senderName_data();
    void senderName();
    void recipientFromRawTo_data();
    void recipientFromRawTo();
    void accountSubstitution_data();
    void accountSubstitution();
    void wholeMessage();
    void eachFieldFailsAlone();
};

void TestMessageIndex::monthToNumber_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("number");
    QTest::newRow("Jan") << "Jan"
                         << "01";
    QTest::newRow("january lower") << "january"
                                   << "01";
    QTest::newRow("May") << "May"
                         << "05";
    QTest::newRow("Sept") << "Sept"
                          << "09";
    QTest::newRow("Dec") << "Dec"
                         << "12";
    QTest::newRow("first match wins") << "Marapr"
                                      << "03";
    QTest::newRow("unknown") << "Foo"
                             << "0";
    QTest::newRow("empty") << ""
                           << "0";
}

void TestMessageIndex::monthToNumber()
{
    QFETCH(QString, name);
    QFETCH(QString, number);
    QCOMPARE(MonthToNumber(name), number);
}

void TestMessageIndex::messageDateForm_data()
{
    QTest::addColumn<QDateTime>("dateTime");
    QTest::addColumn<QString>("text");
    QTest::newRow("single-digit hour") << QDateTime(QDate(2024, 1, 5), QTime(9, 3, 7)) << "2024/01/05 9:03:07";
    QTest::newRow("afternoon") << QDateTime(QDate(2012, 10, 19), QTime(19, 22, 49)) << "2012/10/19 19:22:49";
    QTest::newRow("midnight exactly") << QDateTime(QDate(2024, 12, 31), QTime(0, 0, 0)) << "2024/12/31";
    QTest::newRow("one second past midnight") << QDateTime(QDate(2024, 12, 31), QTime(0, 0, 1)) << "2024/12/31 0:00:01";
    QTest::newRow("invalid") << QDateTime() << "";
}

void TestMessageIndex::messageDateForm()
{
    QFETCH(QDateTime, dateTime);
    QFETCH(QString, text);
    QCOMPARE(formatMessageDate(dateTime), text);
    if (dateTime.isValid())
        QCOMPARE(parseMessageDate(text), dateTime);
}

void TestMessageIndex::apparentlyTo_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("date");
    QTest::newRow("yahoo form") << "someone@yahoo.com via 10.0.0.1; Mon, 15 Jan 2007 10:00:00 -0800"
                                << "2007/01/15 10:00:00";
    QTest::newRow("unknown month") << "a@b via h; Mon, 15 Foo 2007 10:00:00 -0800"
                                   << "";
    QTest::newRow("no date after last ;") << "a@b via h; "
                                          << "";
    QTest::newRow("two blanks shift the pieces") << "a@b; Mon,  15 Jan 2007 10:00:00"
                                                 << "";
    QTest::newRow("midnight") << "x; Tue, 2 Feb 2010 00:00:00 +0000"
                              << "2010/02/02";
}

void TestMessageIndex::apparentlyTo()
{
    QFETCH(QString, value);
    QFETCH(QString, date);
    QCOMPARE(dateFromApparentlyTo(value), date);
}

void TestMessageIndex::senderName_data()
{
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("shown");
    QTest::newRow("apostrophes") << "'Taro Yamada'"
                                 << "Taro Yamada";
    QTest::newRow("full-width brackets") << "＜山田＞"
                                         << "山田";
    QTest::newRow("ascii angle brackets kept") << "<Taro>"
                                               << "<Taro>";
    QTest::newRow("one apostrophe") << "'"
                                    << "'";
    QTest::newRow("plain") << "山田 太郎"
                           << "山田 太郎";
}

void TestMessageIndex::senderName()
{
    QFETCH(QString, display);
    QFETCH(QString, shown);
    QCOMPARE(MessageFields::senderName(display), shown);
}

void TestMessageIndex::recipientFromRawTo_data()
{
    QTest::addColumn<QString>("rawTo");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("address");
    QTest::newRow("UTF-8 word") << "=?UTF-8?B?"
            + QString::fromLatin1(QStringLiteral("山田太郎です").toUtf8().toBase64()) + "?= <taro@example.jp>"
                                << "山田太郎です"
                                << "taro@example.jp";
    QTest::newRow("utf-8 lower case prefix")
        << "=?utf-8?b?" + QString::fromLatin1(QStringLiteral("花子").toUtf8().toBase64()) + "?= <h@x.jp>"
        << "花子"
        << "h@x.jp";
    QTest::newRow("ISO-2022-JP word") << "=?ISO-2022-JP?B?GyRCOzNFRBsoQg==?= <y@x.jp>"
                                      << "山田"
                                      << "y@x.jp";
    QTest::newRow("bare address") << "taro@example.jp"
                                  << ""
                                  << "taro@example.jp";
    QTest::newRow("quoted name") << "\"Taro Yamada\" <t@x.jp>"
                                 << "Taro Yamada"
                                 << "t@x.jp";
    QTest::newRow("apostrophes") << "'Taro' <t@x.jp>"
                                 << "Taro"
                                 << "t@x.jp";
    QTest::newRow("only the first address") << "A <a@x.jp>, B <b@x.jp>"
                                            << "A"
                                            << "a@x.jp";
    QTest::newRow("> before <") << "x> <y@x.jp"
                                << "x>"
                                << "x> <y@x.jp";
    QTest::newRow("plain name") << "Taro <t@x.jp>"
                                << "Taro"
                                << "t@x.jp";
}

void TestMessageIndex::recipientFromRawTo()
{
    QFETCH(QString, rawTo);
    QFETCH(QString, name);
    QFETCH(QString, address);
    QCOMPARE(recipientName(rawTo), name);
    QCOMPARE(recipientAddress(rawTo), address);
}

void TestMessageIndex::accountSubstitution_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("result");
    QTest::newRow("no name, matching row") << ""
                                           << "taro@example.jp"
                                           << "山田 太郎";
    QTest::newRow("no name, case-insensitive") << ""
                                               << "hanako@example.JP"
                                               << "Hanako";
    QTest::newRow("no name, no row") << ""
                                     << "other@example.jp"
                                     << "";
    QTest::newRow("bare address as name") << "taro@example.jp"
                                          << "taro@example.jp"
                                          << "山田 太郎";
    QTest::newRow("real name kept") << "Taro"
                                    << "taro@example.jp"
                                    << "Taro";
    QTest::newRow("unset rows never match") << ""
                                            << "Dummy Data"
                                            << "";
}

void TestMessageIndex::accountSubstitution()
{
    QFETCH(QString, name);
    QFETCH(QString, address);
    QFETCH(QString, result);
    QCOMPARE(substituteAccount(name, address, accounts()), result);
}

void TestMessageIndex::wholeMessage()
{
    const MessageIndexFields f = derive("Message-Id: <abc@example.jp>\r\n"
                                        "Date: Fri, 05 Jan 2024 09:03:07 +0900\r\n"
                                        "X-Account-Key: account3\r\n"
                                        "From: =?ISO-2022-JP?B?GyRCOzNFRBsoQg==?= <y@example.jp>\r\n"
                                        "To: taro@example.jp\r\n"
                                        "Subject: =?UTF-8?B?YQ==?= =?UTF-8?B?Yg==?= =?shift_jis?B?h0A=?=\r\n",
                                        accounts());
    QCOMPARE(f.Message_ID, QStringLiteral("<abc@example.jp>"));
    QCOMPARE(f.Message_Date, formatMessageDate(QDateTime(QDate(2024, 1, 5), QTime(0, 3, 7), Qt::UTC).toLocalTime()));
    QCOMPARE(f.Account_Key, QStringLiteral("account3"));
    QCOMPARE(f.Sender_Name, QStringLiteral("山田"));
    QCOMPARE(f.Sender_Address, QStringLiteral("y@example.jp"));
    QCOMPARE(f.Recieve_Name, QStringLiteral("山田 太郎"));
    QCOMPARE(f.Recieve_Address, QStringLiteral("taro@example.jp"));
    QCOMPARE(f.Message_Subject, QStringLiteral("ab①"));
}

void TestMessageIndex::eachFieldFailsAlone()
{
    const MessageIndexFields f = derive("Date: not a date\r\nX-Apparently-To: a; Mon, 15 Jan 2007 10:00:00 -0800\r\n"
                                        "Subject: still here\r\n");
    QCOMPARE(f.Message_ID, QString());
    QCOMPARE(f.Message_Date, QStringLiteral("2007/01/15 10:00:00"));
    QCOMPARE(f.Sender_Name, QString());
    QCOMPARE(f.Recieve_Address, QString());
    QCOMPARE(f.Message_Subject, QStringLiteral("still here"));
}

QTEST_GUILESS_MAIN(TestMessageIndex)
#include "tst_MessageIndex.moc"
