#include "settings/IniFile.h"

#include <QTemporaryDir>
#include <QtTest>

class TestIniFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsValuesExactly_data();
    void readsValuesExactly();
    void sectionsAndKeysIgnoreCase();
    void typedReads_data();
    void typedReads();
    void writeKeepsUnknownLinesAndOrder();
    void writeExistingKeyKeepsItsSpellingAndPlace();
    void valuesRoundTrip_data();
    void valuesRoundTrip();
    void lineBreakInValueCannotAddKeys();
    void firstOfDuplicateKeysWins();
    void eraseSection();
    void fileRoundTripAndMissingFile();
};

void TestIniFile::readsValuesExactly_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("expected");
    QTest::newRow("commas") << "V=a,b, c"
                            << "a,b, c";
    QTest::newRow("japanese") << "V=山田 太郎 <taro@example.jp>"
                              << "山田 太郎 <taro@example.jp>";
    QTest::newRow("brackets") << "V=[Subject]_[DateTime]"
                              << "[Subject]_[DateTime]";
    QTest::newRow("equals signs") << "V==-="
                                  << "=-=";
    QTest::newRow("semicolon") << "V=a;b"
                               << "a;b";
    QTest::newRow("blanks trimmed") << "V =  x y  "
                                    << "x y";
    QTest::newRow("quotes stripped") << "V=\" padded \""
                                     << " padded ";
    QTest::newRow("empty") << "V="
                           << "";
    QTest::newRow("surrogate pair") << "V=𠮟られる😀"
                                    << "𠮟られる😀";
}

void TestIniFile::readsValuesExactly()
{
    QFETCH(QString, line);
    QFETCH(QString, expected);
    IniFile ini;
    ini.parse(QStringLiteral("[S]\n") + line + u'\n');
    QCOMPARE(ini.readString(QStringLiteral("S"), QStringLiteral("V"), QStringLiteral("default")), expected);
}

void TestIniFile::sectionsAndKeysIgnoreCase()
{
    IniFile ini;
    ini.parse(QStringLiteral("\xFEFF[condition]\r\nHOMEPATH=/home/a\r\n[Window]\r\nleft=12\r\n"));
    QCOMPARE(ini.readString(QStringLiteral("Condition"), QStringLiteral("HomePath"), QString()),
             QStringLiteral("/home/a"));
    QCOMPARE(ini.readInteger(QStringLiteral("WINDOW"), QStringLiteral("Left"), 0), 12);
    QVERIFY(ini.hasKey(QStringLiteral("CONDITION"), QStringLiteral("homepath")));
    QVERIFY(!ini.hasKey(QStringLiteral("Condition"), QStringLiteral("Left")));
}

void TestIniFile::typedReads_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("integer");
    QTest::addColumn<bool>("boolean");
    // Defaults are 77 and true: a value that is not a number yields them.
    QTest::newRow("zero") << "0" << 0 << false;
    QTest::newRow("one") << "1" << 1 << true;
    QTest::newRow("any non-zero is true") << "2" << 2 << true;
    QTest::newRow("negative") << "-5" << -5 << true;
    QTest::newRow("hex dollar") << "$1F" << 31 << true;
    QTest::newRow("hex 0x") << "0x10" << 16 << true;
    QTest::newRow("text") << "abc" << 77 << true;
    QTest::newRow("empty") << "" << 77 << true;
    QTest::newRow("padded") << " 42 " << 42 << true;
}

void TestIniFile::typedReads()
{
    QFETCH(QString, value);
    QFETCH(int, integer);
    QFETCH(bool, boolean);
    IniFile ini;
    ini.parse(QStringLiteral("[S]\nK=") + value + u'\n');
    QCOMPARE(ini.readInteger(QStringLiteral("S"), QStringLiteral("K"), 77), integer);
    QCOMPARE(ini.readBool(QStringLiteral("S"), QStringLiteral("K"), true), boolean);
    QCOMPARE(ini.readInteger(QStringLiteral("S"), QStringLiteral("Missing"), 77), 77);
}

void TestIniFile::writeKeepsUnknownLinesAndOrder()
{
    IniFile ini;
    ini.parse(QStringLiteral("; settings\n[Window]\nLeft=1\nCustom=keep me\n\n[Other]\nX=y\n"));
    ini.writeInteger(QStringLiteral("Window"), QStringLiteral("Top"), 5);
    ini.writeString(QStringLiteral("New"), QStringLiteral("Key"), QStringLiteral("v"));
    QCOMPARE(ini.toText(),
             QStringLiteral("; settings\n[Window]\nLeft=1\nCustom=keep me\nTop=5\n\n[Other]\nX=y\n"
                            "[New]\nKey=v\n"));
}

void TestIniFile::writeExistingKeyKeepsItsSpellingAndPlace()
{
    IniFile ini;
    ini.parse(QStringLiteral("[Condition]\nHomePath=/old\nB=1\n"));
    ini.writeString(QStringLiteral("condition"), QStringLiteral("HomePATH"), QStringLiteral("/new"));
    QCOMPARE(ini.toText(), QStringLiteral("[Condition]\nHomePath=/new\nB=1\n"));
}

void TestIniFile::valuesRoundTrip_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("plain") << "localhost";
    QTest::newRow("commas and japanese") << "件名, [重要] テスト,,";
    QTest::newRow("leading blank") << "  indented";
    QTest::newRow("trailing blank") << "trailing ";
    QTest::newRow("quoted") << "\"quoted\"";
    QTest::newRow("single quote char") << "\"";
    QTest::newRow("equals") << "a=b=c";
    QTest::newRow("empty") << "";
    QTest::newRow("dummy") << "Dummy Data";
}

void TestIniFile::valuesRoundTrip()
{
    QFETCH(QString, value);
    IniFile writer;
    writer.writeString(QStringLiteral("S"), QStringLiteral("K"), value);
    IniFile reader;
    reader.parse(writer.toText());
    QCOMPARE(reader.readString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("missing")), value);
}

void TestIniFile::lineBreakInValueCannotAddKeys()
{
    IniFile writer;
    writer.writeString(QStringLiteral("MailDB"), QStringLiteral("DBPath"), QStringLiteral("a\r\nServer=evil\n[X]"));
    IniFile reader;
    reader.parse(writer.toText());
    QCOMPARE(reader.keyNames(QStringLiteral("MailDB")), QStringList{QStringLiteral("DBPath")});
    QCOMPARE(reader.sectionNames(), QStringList{QStringLiteral("MailDB")});
}

void TestIniFile::firstOfDuplicateKeysWins()
{
    IniFile ini;
    ini.parse(QStringLiteral("[S]\nK=first\nk=second\n[s]\nK=third\n"));
    QCOMPARE(ini.readString(QStringLiteral("S"), QStringLiteral("K"), QString()), QStringLiteral("first"));
}

void TestIniFile::eraseSection()
{
    IniFile ini;
    ini.parse(QStringLiteral("[A]\nx=1\n[ADCondition]\nADRS0=1\nADRS9=1\n[B]\ny=2\n"));
    ini.eraseSection(QStringLiteral("adcondition"));
    QCOMPARE(ini.sectionNames(), (QStringList{QStringLiteral("A"), QStringLiteral("B")}));
}

void TestIniFile::fileRoundTripAndMissingFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("tallowin.ini"));
    IniFile missing;
    QVERIFY(!missing.load(path));
    QVERIFY(missing.sectionNames().isEmpty());

    IniFile ini;
    ini.writeString(QStringLiteral("Connection"), QStringLiteral("FromName"), QStringLiteral("管理部, 総務"));
    QVERIFY(ini.save(path));
    IniFile again;
    QVERIFY(again.load(path));
    QCOMPARE(again.readString(QStringLiteral("connection"), QStringLiteral("fromname"), QString()),
             QStringLiteral("管理部, 総務"));
    QVERIFY(!ini.save(dir.filePath(QStringLiteral("no/such/folder/x.ini"))));
}

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_IniFile.moc"
