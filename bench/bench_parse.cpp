// Parse-and-derive throughput: messages per second over a generated set of
// mails of about 20 KB, next to GMime's bare parse of the same set.
//
//   bench_parse [COUNT]   (default 2000)
#include "reading/MessageSummary.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

#include <gmime/gmime.h>

namespace {

QByteArray generatedMail(int n)
{
    // Japanese text in ISO-2022-JP (quoted by hand from a fixed sentence),
    // a UTF-8 HTML alternative in Base64 and a small attachment.
    const QByteArray jis = "\x1b$B$3$l$O%F%9%H$G$9!#\x1b(B ";
    QByteArray plain;
    while (plain.size() < 9000)
        plain += jis + "line " + QByteArray::number(n) + "\r\n";
    QByteArray html = "<html><body>";
    while (html.size() < 6000)
        html += QStringLiteral("<p>これはテストです。①㈱Ⅱ %1</p>").arg(n).toUtf8();
    html += "</body></html>";
    QByteArray attachment(2500, 'x');
    QByteArray m;
    m += "Message-Id: <bench" + QByteArray::number(n) + "@example.jp>\r\n";
    m += "Date: Fri, 05 Jan 2024 09:03:07 +0900\r\n";
    m += "From: =?ISO-2022-JP?B?GyRCOzNFRBsoQg==?= <yamada@example.jp>\r\n";
    m += "To: =?UTF-8?B?" + QStringLiteral("受信者").toUtf8().toBase64() + "?= <to@example.jp>\r\n";
    m += "Subject: =?UTF-8?B?" + QStringLiteral("件名 %1").arg(n).toUtf8().toBase64() + "?=\r\n";
    m += "MIME-Version: 1.0\r\nContent-Type: multipart/mixed; boundary=\"O\"\r\n\r\n";
    m += "--O\r\nContent-Type: multipart/alternative; boundary=\"I\"\r\n\r\n";
    m += "--I\r\nContent-Type: text/plain; charset=ISO-2022-JP\r\n\r\n" + plain + "\r\n";
    m += "--I\r\nContent-Type: text/html; charset=UTF-8\r\nContent-Transfer-Encoding: base64\r\n\r\n";
    const QByteArray b64 = html.toBase64();
    for (qsizetype i = 0; i < b64.size(); i += 76)
        m += b64.mid(i, 76) + "\r\n";
    m += "--I--\r\n--O\r\nContent-Type: application/octet-stream; name=\"data.bin\"\r\n"
         "Content-Transfer-Encoding: base64\r\n\r\n"
        + attachment.toBase64() + "\r\n--O--\r\n";
    return m;
}

double rate(int count, qint64 ms)
{
    return ms > 0 ? count * 1000.0 / ms : 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? QByteArray(argv[1]).toInt() : 2000;
    QList<QByteArray> mails;
    qint64 bytes = 0;
    for (int i = 0; i < count; ++i) {
        mails << generatedMail(i);
        bytes += mails.last().size();
    }
    QTextStream out(stdout);
    out << "messages: " << count << ", average size: " << bytes / count << " bytes\n";

    // Warm up both paths once.
    summariseMessage(mails.first(), {});

    QElapsedTimer timer;
    timer.start();
    for (const QByteArray& mail : mails) {
        GMimeStream* stream = g_mime_stream_mem_new_with_buffer(mail.constData(), size_t(mail.size()));
        GMimeParser* parser = g_mime_parser_new_with_stream(stream);
        GMimeMessage* message = g_mime_parser_construct_message(parser, nullptr);
        if (message)
            g_object_unref(message);
        g_object_unref(parser);
        g_object_unref(stream);
    }
    const qint64 bareMs = timer.elapsed();

    timer.restart();
    int withSubject = 0;
    for (const QByteArray& mail : mails) {
        const MessageSummary summary = summariseMessage(mail, {});
        withSubject += summary.fields.Message_Subject.isEmpty() ? 0 : 1;
    }
    const qint64 fullMs = timer.elapsed();

    out << QString::asprintf("GMime bare parse:      %8.1f messages/s (%lld ms)\n", rate(count, bareMs), bareMs);
    out << QString::asprintf("parse and derive:      %8.1f messages/s (%lld ms)\n", rate(count, fullMs), fullMs);
    out << "messages with a subject: " << withSubject << '\n';
    return withSubject == count ? 0 : 1;
}
