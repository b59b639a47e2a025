#include "reading/Base64.h"
#include "reading/Charsets.h"
#include "reading/EncodedWords.h"

#include <QtTest>

namespace {

QByteArray cp932(const char* hex)
{
    return QByteArray::fromHex(hex);
}

} // namespace

class TestJapaneseDecoding : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void charsets_data();
    void charsets();
    void fallbackNeverGivesInvalidText_data();
    void fallbackNeverGivesInvalidText();
    void encodedWords_data();
    void encodedWords();
    void base64PaddingInsideTheData_data();
    void base64PaddingInsideTheData();
};

void TestJapaneseDecoding::charsets_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("charset");
    QTest::addColumn<QString>("expected");
    // ① ㈱ Ⅱ are NEC extension characters: CP932 87 40, 87 8A, 87 55.
    QTest::newRow("Shift_JIS as CP932") << cp932("8740878a8755") << QByteArray("Shift_JIS") << "①㈱Ⅱ";
    QTest::newRow("sjis alias") << cp932("82a082a2") << QByteArray("x-sjis") << "あい";
    QTest::newRow("IBM extension in CP932") << cp932("fa40") << QByteArray("shift_jis") << "ⅰ";
    // ISO-2022-JP with NEC row 13 in JIS X 0208 mode, as Windows mailers send it.
    QTest::newRow("ISO-2022-JP with NEC row 13")
        << QByteArray("\x1b$B-!-j-6\x1b(B") << QByteArray("ISO-2022-JP") << "①㈱Ⅱ";
    QTest::newRow("ISO-2022-JP plain") << QByteArray("abc \x1b$B$\"$$\x1b(B def") << QByteArray("iso-2022-jp")
                                       << "abc あい def";
    QTest::newRow("ISO-2022-JP half-width katakana")
        << QByteArray("\x1b(I12\x1b(B") << QByteArray("ISO-2022-JP") << "ｱｲ";
    QTest::newRow("EUC-JP") << QByteArray::fromHex("a4a2ada1") << QByteArray("EUC-JP") << "あ①";
    QTest::newRow("UTF-8") << QStringLiteral("𠮟😀").toUtf8() << QByteArray("utf-8") << "𠮟😀";
    QTest::newRow("quoted charset name") << cp932("82a0") << QByteArray("\"Shift_JIS\"") << "あ";
    QTest::newRow("windows-1252 as latin1") << QByteArray("caf\xe9 \x80") << QByteArray("iso-8859-1") << "café €";
    QTest::newRow("bad byte in declared SJIS")
        << QByteArray("\x82\xa0\xff\x82\xa2") << QByteArray("Shift_JIS") << "あ\uFFFDい";
}

void TestJapaneseDecoding::charsets()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, charset);
    QFETCH(QString, expected);
    QCOMPARE(Charsets::decode(bytes, charset), expected);
}

void TestJapaneseDecoding::fallbackNeverGivesInvalidText_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("charset");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no charset, UTF-8") << QStringLiteral("日本語").toUtf8() << QByteArray() << "日本語";
    QTest::newRow("no charset, CP932") << cp932("93fa967b8cea") << QByteArray() << "日本語";
    QTest::newRow("unknown charset, CP932") << cp932("8740") << QByteArray("x-unknown-42") << "①";
    QTest::newRow("no charset, neither") << QByteArray("\xff\xfe\x80") << QByteArray() << "\u00ff\u00fe\u0080";
}

void TestJapaneseDecoding::fallbackNeverGivesInvalidText()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, charset);
    QFETCH(QString, expected);
    const QString text = Charsets::decode(bytes, charset);
    QCOMPARE(text, expected);
    QVERIFY(Charsets::isValidUtf8(text.toUtf8()));
}

void TestJapaneseDecoding::encodedWords_data()
{
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<QString>("expected");
    QTest::newRow("padded base64 words side by side") << QByteArray("=?UTF-8?B?YQ==?= =?UTF-8?B?Yg==?=") << "ab";
    QTest::newRow("multi-byte character split across words") << QByteArray("=?UTF-8?B?44E=?= =?UTF-8?B?gg==?=") << "あ";
    QTest::newRow("ISO-2022-JP word with NEC characters") << QByteArray("=?ISO-2022-JP?B?GyRCLSEtai02GyhC?=") << "①㈱Ⅱ";
    QTest::newRow("Shift_JIS word") << QByteArray("=?shift_jis?B?h0CHiodV?=") << "①㈱Ⅱ";
    QTest::newRow("Q encoding") << QByteArray("=?UTF-8?Q?caf=C3=A9_au_lait?=") << "café au lait";
    QTest::newRow("text around words") << QByteArray("Re: =?UTF-8?B?44GC?= (fwd)") << "Re: あ (fwd)";
    QTest::newRow("folded") << QByteArray("=?UTF-8?B?44GC?=\r\n =?UTF-8?B?44GE?=") << "あい";
    QTest::newRow("raw UTF-8") << QStringLiteral("件名 ①").toUtf8() << "件名 ①";
    QTest::newRow("raw CP932") << cp932("8c8f96bc") << "件名";
    QTest::newRow("language suffix") << QByteArray("=?UTF-8*ja?B?44GC?=") << "あ";
    QTest::newRow("different charsets") << QByteArray("=?UTF-8?B?44GC?= =?shift_jis?B?gqI=?=") << "あい";
    QTest::newRow("not a word") << QByteArray("=?broken") << "=?broken";
}

void TestJapaneseDecoding::encodedWords()
{
    QFETCH(QByteArray, raw);
    QFETCH(QString, expected);
    QCOMPARE(decodeHeaderText(raw), expected);
}

void TestJapaneseDecoding::base64PaddingInsideTheData_data()
{
    QTest::addColumn<QByteArray>("encoded");
    QTest::addColumn<QByteArray>("decoded");
    QTest::newRow("plain") << QByteArray("aGVsbG8=") << QByteArray("hello");
    QTest::newRow("two padded chunks") << QByteArray("aGVsbG8=\r\nIHdvcmxk") << QByteArray("hello world");
    QTest::newRow("padding mid-line") << QByteArray("YQ==Yg==Yw==") << QByteArray("abc");
    QTest::newRow("junk characters") << QByteArray("aG!Vs*bG8") << QByteArray("hello");
    QTest::newRow("empty") << QByteArray() << QByteArray();
    QTest::newRow("url-safe alphabet") << QByteArray("-_-_") << QByteArray::fromHex("fbffbf");
}

void TestJapaneseDecoding::base64PaddingInsideTheData()
{
    QFETCH(QByteArray, encoded);
    QFETCH(QByteArray, decoded);
    QCOMPARE(decodeBase64Lenient(encoded), decoded);
}

QTEST_GUILESS_MAIN(TestJapaneseDecoding)
#include "tst_JapaneseDecoding.moc"
