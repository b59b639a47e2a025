#include "reading/tnef/TnefAttachmentParser.h"
#include "reading/tnef/TnefExtraction.h"
#include "reading/tnef/TnefReader.h"
#include "support/TestEnvironment.h"
#include "support/TnefWriter.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

using namespace TnefWriter;

namespace {

constexpr quint32 agMapiProperties = 0x00069003;
constexpr quint32 agAttachment = 0x00069005;
constexpr quint32 agAttachTitle = 0x00018010;
constexpr quint32 agAttachData = 0x0006800F;
constexpr quint32 agAttachRenderData = 0x00069002;

struct Outcome
{
    QStringList names;
    QString error;
    QStringList folder;
    QMap<QString, QByteArray> files;
};

Outcome unpack(const QByteArray& stream)
{
    QTemporaryDir dir;
    Outcome outcome;
    QBuffer buffer;
    buffer.setData(stream);
    buffer.open(QIODevice::ReadOnly);
    try {
        outcome.names = TTnefAttachmentParser().Parse(&buffer, dir.path() + u'/');
    } catch (const TnefError& e) {
        outcome.error = e.text();
    }
    outcome.folder = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString& f : outcome.folder)
        outcome.files.insert(f, TestEnvironment::readFile(dir.filePath(f)));
    // Nothing may be written beside the folder.
    const QStringList outside = QDir(QFileInfo(dir.path()).absolutePath())
                                    .entryList({QStringLiteral("evil*"), QStringLiteral("passwd*")}, QDir::Files);
    if (!outside.isEmpty())
        outcome.error += QStringLiteral(" WROTE OUTSIDE");
    return outcome;
}

// An attachment whose property list holds the given properties.
QByteArray withAttachmentProperties(const QList<Property>& properties)
{
    return Stream()
        .version()
        .attribute(Attachment, agAttachRenderData, QByteArray(14, '\x01'))
        .attribute(Attachment, agAttachData, "data")
        .attribute(Attachment, agAttachment, propertyList(properties))
        .bytes();
}

} // namespace

class TestTnef : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void extraction_data();
    void extraction();
    void bodiesAreWrittenRawWithPadding();
    void codePages_data();
    void codePages();
    void readerWalksAttributesAndProperties();
    void hugeLengthsEndQuickly_data();
    void hugeLengthsEndQuickly();
    void attachmentInfoNames();
    void dataPropertyKeepsFileBytes_data();
    void dataPropertyKeepsFileBytes();
    void manyAttachmentsOfOneNameAreBounded();
    void plantedLinkIsNotFollowed();
    void abandonedScratchFoldersAreRemoved();
};

void TestTnef::extraction_data()
{
    QTest::addColumn<QByteArray>("stream");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QStringList>("folder");

    QTest::newRow("wrong signature") << QByteArray("\x01\x02\x03\x04\x05\x06", 6) << QStringList{}
                                     << "Invalid TNEF format" << QStringList{};
    QTest::newRow("empty stream") << QByteArray() << QStringList{} << "Invalid Stream" << QStringList{};
    QTest::newRow("short header") << le32(0x223E9F78).append('\x01') << QStringList{} << "Invalid Stream"
                                  << QStringList{};
    QTest::newRow("end after the header") << Stream().bytes() << QStringList{} << "" << QStringList{};
    QTest::newRow("bad level") << Stream().bytes().append("\x07\0\0\0\0\0\0\0\0\0\0", 11) << QStringList{}
                               << "Invalid attribute level" << QStringList{};
    QTest::newRow("two files") << Stream().version().file("PDF", "a.pdf").file("PNG", "b.png").bytes()
                               << QStringList{"a.pdf", "b.png"} << "" << QStringList{"a.pdf", "b.png"};
    QTest::newRow("short name when no long name") << Stream().file("X", QString(), "SHORT.TXT").bytes()
                                                  << QStringList{"SHORT.TXT"} << "" << QStringList{"SHORT.TXT"};
    QTest::newRow("duplicate long names") << Stream().file("1", "x.txt").file("2", "x.txt").bytes()
                                          << QStringList{"x.txt", "x1.txt"} << "" << QStringList{"x.txt", "x1.txt"};
    QTest::newRow("title only") << Stream().file("T", QString(), QString(), "report.doc").bytes()
                                << QStringList{"report.doc.dat"} << "" << QStringList{"report.doc.dat"};
    QTest::newRow("no names") << Stream().file("1").file("2").bytes() << QStringList{"Untitled.dat", "Untitled1.dat"}
                              << "" << QStringList{"Untitled.dat", "Untitled1.dat"};
    QTest::newRow("bodies only") << Stream()
                                        .version()
                                        .attribute(Message, agMapiProperties,
                                                   propertyList({Property::string8(0x1000, "text"),
                                                                 Property::binary(0x1013, "<p>x</p>")}))
                                        .bytes()
                                 << QStringList{"Body.txt", "Body.html"} << "" << QStringList{"Body.html", "Body.txt"};
    QTest::newRow("wrong checksum on a title") << Stream()
                                                      .file("first", "ok.txt")
                                                      .attribute(Attachment, agAttachRenderData, QByteArray(14, '\x01'))
                                                      .attribute(Attachment, agAttachTitle, "t.doc", quint16(1))
                                                      .bytes()
                                               << QStringList{} << "Invalid checksum" << QStringList{"ok.txt"};
    QTest::newRow("wrong checksum on data goes unnoticed")
        << Stream()
               .attribute(Attachment, agAttachRenderData, QByteArray(14, '\x01'))
               .attribute(Attachment, agAttachData, "payload", quint16(7))
               .attribute(Attachment, agAttachment, propertyList({Property::unicode(0x3707, QStringLiteral("p.bin"))}))
               .bytes()
        << QStringList{"p.bin"} << "" << QStringList{"p.bin"};
    QTest::newRow("multi-valued string skipped")
        << withAttachmentProperties({Property{0x101F, 0x3001, {QByteArray("a\0\0\0", 4), QByteArray("bc\0\0", 4)}},
                                     Property::string8(0x3704, "MV.TXT")})
        << QStringList{"MV.TXT"} << "" << QStringList{"MV.TXT"};
    QTest::newRow("multi-valued long skipped") << withAttachmentProperties(
        {Property{0x1003, 0x0E21, {le32(1), le32(2), le32(3)}}, Property::string8(0x3704, "ML.TXT")})
                                               << QStringList{"ML.TXT"} << "" << QStringList{"ML.TXT"};
    QTest::newRow("named property with a string name") << withAttachmentProperties(
        {Property{0x001F, 0x8005, {QByteArray("v\0\0\0", 4)}, QStringLiteral("X-Name")},
         Property{0x0003, 0x8006, {le32(9)}, {}, 42u}, Property::unicode(0x3707, QStringLiteral("named.txt"))})
                                                       << QStringList{"named.txt"} << "" << QStringList{"named.txt"};
    QTest::newRow("string without zero, padded")
        << withAttachmentProperties({Property{0x001E, 0x3704, {QByteArray("abc")}}}) << QStringList{"abc"} << ""
        << QStringList{"abc"};
    QTest::newRow("damaged after one file") << Stream()
                                                   .file("first", "one.txt")
                                                   .attribute(Attachment, agAttachRenderData, QByteArray(14, '\x01'))
                                                   .bytes()
                                                   .append("\x02\x05\x90\x06\x00\xff\xff\x00\x00", 9)
                                            << QStringList{} << "Invalid Stream" << QStringList{"one.txt"};
    QTest::newRow("skipped attribute past the end")
        << Stream()
               .file("first", "one.txt")
               .attribute(Attachment, agAttachRenderData, QByteArray(14, '\x01'))
               .bytes()
               .append("\x02\x11\x80\x06\x00\xff\xff\x00\x00", 9)
        << QStringList{} << "Invalid stream" << QStringList{"one.txt"};
    QTest::newRow("hostile names stay inside")
        << Stream().file("1", "../../evil.txt").file("2", "/etc/passwd").file("3", "..").file("4", "a\nb.txt").bytes()
        << QStringList{".._.._evil.txt", "_etc_passwd", "_", "a_b.txt"} << ""
        << QStringList{".._.._evil.txt", "_", "_etc_passwd", "a_b.txt"};
    QTest::newRow("body of a type that is not text")
        << Stream().attribute(Message, agMapiProperties, propertyList({Property::longValue(0x1000, 5)})).bytes()
        << QStringList{} << "Invalid tnef format for the message body" << QStringList{};
    QTest::newRow("display name that is not text")
        << withAttachmentProperties({Property::longValue(0x3001, 1)}) << QStringList{} << "Invalid property value"
        << QStringList{"Untitled.dat"};
}

void TestTnef::extraction()
{
    QFETCH(QByteArray, stream);
    QFETCH(QStringList, names);
    QFETCH(QString, error);
    QFETCH(QStringList, folder);
    const Outcome outcome = unpack(stream);
    QCOMPARE(outcome.error, error);
    QCOMPARE(outcome.names, names);
    QCOMPARE(outcome.folder, folder);
}

void TestTnef::bodiesAreWrittenRawWithPadding()
{
    const Outcome outcome
        = unpack(Stream()
                     .attribute(Message, agMapiProperties,
                                propertyList({Property::string8(0x1000, "hi"), Property::binary(0x1009, "RTF12")}))
                     .bytes());
    QCOMPARE(outcome.error, QString());
    QCOMPARE(outcome.files.value(QStringLiteral("Body.txt")), QByteArray("hi\0\0", 4));
    QCOMPARE(outcome.files.value(QStringLiteral("RtfCompressed.dat")), QByteArray("RTF12\0\0\0", 8));
    const Outcome data = unpack(Stream().file(QByteArray("\x00\x01\x02", 3), "bin.dat").bytes());
    QCOMPARE(data.files.value(QStringLiteral("bin.dat")), QByteArray("\x00\x01\x02", 3));
}

void TestTnef::codePages_data()
{
    QTest::addColumn<quint32>("codePage");
    QTest::addColumn<QByteArray>("title");
    QTest::addColumn<QString>("expected");
    QTest::newRow("932 Shift_JIS") << 932u << QByteArray::fromHex("8c a9 90 cf 2e 64 6f 63") << "見積.doc.dat";
    QTest::newRow("unknown code page: Windows-1252") << 9999u << QByteArray("caf\xe9.doc") << "café.doc.dat";
    QTest::newRow("1252") << 1252u << QByteArray("\x80.doc") << "€.doc.dat";
}

void TestTnef::codePages()
{
    QFETCH(quint32, codePage);
    QFETCH(QByteArray, title);
    QFETCH(QString, expected);
    const Outcome outcome
        = unpack(Stream().version().codePage(codePage).file("x", QString(), QString(), title).bytes());
    QCOMPARE(outcome.error, QString());
    QCOMPARE(outcome.names, QStringList{expected});
}

void TestTnef::readerWalksAttributesAndProperties()
{
    QBuffer buffer;
    buffer.setData(Stream(0x1234)
                       .version()
                       .codePage(932)
                       .attribute(Message, agMapiProperties,
                                  propertyList({Property{0x0003, 0x8001, {le32(7)}, {}, 0x8509u},
                                                Property::unicode(0x0037, QStringLiteral("件名"))}))
                       .bytes());
    buffer.open(QIODevice::ReadOnly);
    TTnefReader reader(&buffer);
    QCOMPARE(reader.AttachmentKey(), qint16(0x1234));
    QVERIFY(reader.NextAttribute());
    QCOMPARE(reader.AttributeTag(), TTnefAttributeTag::agTnefVersion);
    QCOMPARE(reader.TnefVersion(), 0x00010000);
    QVERIFY(reader.NextAttribute());
    QCOMPARE(reader.OemCodePage(), 932);
    QVERIFY(reader.NextAttribute());
    QCOMPARE(reader.AttributeTag(), TTnefAttributeTag::agMapiProperties);
    QCOMPARE(reader.AttributeType(), TTnefAttributeType::atByte);
    TTnefPropertyReader properties(reader);
    QVERIFY(properties.NextProperty());
    QVERIFY(properties.PropertyTag()->IsNamed());
    QCOMPARE(properties.PropertyName()->Kind, TTnefNameIdKind::ikId);
    QCOMPARE(properties.PropertyName()->Id, 0x8509);
    QVERIFY(properties.NextProperty()); // the value was not read: it is skipped
    QCOMPARE(properties.PropertyTag()->Id(), TTnefPropertyId::piSubject);
    QCOMPARE(TAttachStringProperty::Load(properties), QStringLiteral("件名"));
    QVERIFY(!properties.NextProperty());
    QVERIFY(!reader.NextAttribute());
}

void TestTnef::hugeLengthsEndQuickly_data()
{
    QTest::addColumn<QByteArray>("stream");
    QTest::addColumn<QString>("error");
    QTest::newRow("attribute length 2 GB")
        << Stream().attribute(Attachment, agAttachData, "x", {}, 0x7FFFFFFF).bytes() << "Invalid Stream";
    QTest::newRow("skipped attribute length 2 GB")
        << Stream().attribute(Attachment, 0x00068011, "x", {}, 0x7FFFFFFF).bytes() << "Invalid stream";
    QTest::newRow("title length 2 GB") << Stream().attribute(Attachment, agAttachTitle, "x", {}, 0x7FFFFFF0).bytes()
                                       << "Invalid Stream";
    QTest::newRow("property count 2 G")
        << Stream().attribute(Attachment, agAttachment, propertyList({}, 0x7FFFFFFF)).bytes() << "Invalid Stream";
    QTest::newRow("negative property count")
        << Stream().attribute(Attachment, agAttachment, propertyList({}, -1)).bytes() << "Invalid Property Count";
    QTest::newRow("value count 2 G of empty values")
        << withAttachmentProperties({Property{0x1001, 0x3001, {}, {}, {}, 0x7FFFFFFF}}) << "Invalid Stream";
    QTest::newRow("value length 2 GB") << withAttachmentProperties(
        {Property{0x001E, 0x3704, {QByteArray("a")}, {}, {}, {}, 0x7FFFFFFF}})
                                       << "Invalid Stream";
    QTest::newRow("value count within a length the stream does not hold")
        << QByteArray::fromBase64("eJ8+IgAAAgWQBgAAAABAAgAAAAAAACMA+SkB/RQ6FNkJgAEAug==") << "Invalid Stream";
    QTest::newRow("named kind 7") << Stream()
                                         .attribute(Attachment, agAttachment,
                                                    le32(1) + le16(0x0003) + le16(0x8001) + QByteArray(16, '\0')
                                                        + le32(7))
                                         .bytes()
                                  << "Invalid NameId";
}

void TestTnef::hugeLengthsEndQuickly()
{
    QFETCH(QByteArray, stream);
    QFETCH(QString, error);
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(unpack(stream).error, error);
    QVERIFY(timer.elapsed() < 2000);
}

void TestTnef::attachmentInfoNames()
{
    QTemporaryDir dir;
    TAttachmentInfo info(dir.path() + u'/');
    const QString first = info.GenerateSaveToFileName(QStringLiteral("Untitled.dat"));
    QCOMPARE(QFileInfo(first).fileName(), QStringLiteral("Untitled.dat"));
    TestEnvironment::writeFile(first, "x");
    QCOMPARE(QFileInfo(info.GenerateSaveToFileName(QStringLiteral("Untitled.dat"))).fileName(),
             QStringLiteral("Untitled1.dat"));
    // Nothing written for the current name: the names gathered so far stay.
    info.LongFileName = QStringLiteral("keep.txt");
    QCOMPARE(info.RenameSavedAttachment(), QString());
    QCOMPARE(info.LongFileName, QStringLiteral("keep.txt"));
}

void TestTnef::dataPropertyKeepsFileBytes_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QByteArray>("file");
    const QByteArray pdf = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n1 0 obj << /Type /Catalog >> endobj\n";
    // IID_IStorage and IID_IMessage as they lie on disk (little-endian).
    const QByteArray storage = QByteArray::fromHex("0B000000000000000C000000000000046").left(0)
        + QByteArray::fromHex("0B00000000000000C000000000000046");
    const QByteArray message = QByteArray::fromHex("07030200000000000C000000000000046").left(0)
        + QByteArray::fromHex("07030200000000000000C000000000000046").left(0)
        + QByteArray::fromHex("0703020000000000C000000000000046");
    QTest::newRow("a file starts with its own bytes") << pdf << pdf;
    QTest::newRow("an OLE storage loses its interface id") << storage + "OLE payload" << QByteArray("OLE payload");
    QTest::newRow("an embedded message loses its interface id") << message + "msg" << QByteArray("msg");
    QTest::newRow("a GUID that is not a COM interface id stays")
        << QByteArray::fromHex("00112233445566778899AABBCCDDEEFF") + "rest"
        << QByteArray::fromHex("00112233445566778899AABBCCDDEEFF") + "rest";
    QTest::newRow("shorter than an id") << QByteArray("tiny") << QByteArray("tiny");
}

void TestTnef::dataPropertyKeepsFileBytes()
{
    QFETCH(QByteArray, value);
    QFETCH(QByteArray, file);
    const QByteArray stream = Stream()
                                  .version()
                                  .attribute(Attachment, agAttachRenderData, QByteArray(14, '\x01'))
                                  .attribute(Attachment, agAttachment,
                                             propertyList({Property::binary(0x3701, value),
                                                           Property::unicode(0x3707, QStringLiteral("real.pdf"))}))
                                  .bytes();
    const Outcome outcome = unpack(stream);
    QCOMPARE(outcome.error, QString());
    QCOMPARE(outcome.names, QStringList{QStringLiteral("real.pdf")});
    QCOMPARE(outcome.files.value(QStringLiteral("real.pdf")), file);
}

void TestTnef::manyAttachmentsOfOneNameAreBounded()
{
    // A small stream naming thousands of attachments "x.txt": names are
    // found without probing from 1 each time, and only MaxFiles are written.
    Stream stream;
    stream.version();
    const int count = 4000;
    for (int i = 0; i < count; ++i)
        stream.file("d", "x.txt");
    QTemporaryDir dir;
    QBuffer buffer;
    buffer.setData(stream.bytes());
    buffer.open(QIODevice::ReadOnly);
    TTnefAttachmentParser parser;
    const QStringList names = parser.Parse(&buffer, dir.path() + u'/');
    QCOMPARE(names.size(), TTnefAttachmentParser::MaxFiles);
    QCOMPARE(parser.Skipped(), count - TTnefAttachmentParser::MaxFiles);
    QCOMPARE(names.first(), QStringLiteral("x.txt"));
    QCOMPARE(names.last(), QStringLiteral("x%1.txt").arg(TTnefAttachmentParser::MaxFiles - 1));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), TTnefAttachmentParser::MaxFiles);
}

void TestTnef::plantedLinkIsNotFollowed()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("out"));
    QDir().mkpath(folder);
    const QString outside = dir.filePath(QStringLiteral("outside.txt"));
    TestEnvironment::writeFile(outside, "keep");
    // Links named like the files the stream will write, one dangling.
    QVERIFY(QFile::link(outside, folder + QStringLiteral("/a.pdf")));
    QVERIFY(QFile::link(dir.filePath(QStringLiteral("nowhere.dat")), folder + QStringLiteral("/Untitled.dat")));
    QBuffer buffer;
    buffer.setData(Stream().version().file("PDF", "a.pdf").bytes());
    buffer.open(QIODevice::ReadOnly);
    const QStringList names = TTnefAttachmentParser().Parse(&buffer, folder + u'/');
    QCOMPARE(names, QStringList{QStringLiteral("a1.pdf")});
    QCOMPARE(TestEnvironment::readFile(outside), QByteArray("keep"));
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("nowhere.dat"))));
    QCOMPARE(TestEnvironment::readFile(folder + QStringLiteral("/a1.pdf")), QByteArray("PDF"));
}

void TestTnef::abandonedScratchFoldersAreRemoved()
{
    TestEnvironment env;
    QTemporaryDir temp;
    qputenv("TMPDIR", QFile::encodeName(temp.path()));
    // One of a process that is gone (pid numbers never reach this high), one of ours.
    const QString abandoned = temp.filePath(QStringLiteral("tallowin-tnef-2147483646-abc123"));
    TestEnvironment::writeFile(abandoned + QStringLiteral("/x.txt"), "x");
    QTemporaryDir ours(TnefExtraction::scratchFolderTemplate());
    QVERIFY(ours.isValid());
    QVERIFY(ours.path().startsWith(temp.path()));
    QCOMPARE(TnefExtraction::removeAbandonedScratchFolders(), 1);
    QVERIFY(!QFileInfo::exists(abandoned));
    QVERIFY(QFileInfo::exists(ours.path()));
    qunsetenv("TMPDIR");
}

QTEST_GUILESS_MAIN(TestTnef)
#include "tst_Tnef.moc"
