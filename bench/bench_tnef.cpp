// TNEF extraction throughput in MB/s for a generated stream with many
// attachments.
//
//   bench_tnef [ATTACHMENTS] [KB EACH]   (default 400 attachments of 64 KB)
#include "reading/tnef/TnefExtraction.h"
#include "support/TnefWriter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? QByteArray(argv[1]).toInt() : 400;
    const int kb = argc > 2 ? QByteArray(argv[2]).toInt() : 64;
    TnefWriter::Stream stream;
    stream.version().codePage(932);
    QByteArray payload(kb * 1024, '\0');
    for (int i = 0; i < payload.size(); ++i)
        payload[i] = char(i * 31);
    for (int i = 0; i < count; ++i)
        stream.file(payload, QStringLiteral("添付%1.bin").arg(i), QStringLiteral("FILE%1.BIN").arg(i));
    const QByteArray bytes = stream.bytes();

    QTemporaryDir dir;
    QElapsedTimer timer;
    timer.start();
    QStringList names;
    QString error;
    const bool ok = TnefExtraction::unpack(bytes, dir.path() + QStringLiteral("/2nd"), &names, &error);
    const qint64 ms = timer.elapsed();
    QTextStream out(stdout);
    const double mb = bytes.size() / (1024.0 * 1024.0);
    out << QString::asprintf("stream: %.1f MB, %d attachments; extracted %lld files in %lld ms: %.1f MB/s\n", mb, count,
                             static_cast<long long>(names.size()), ms, ms > 0 ? mb * 1000.0 / ms : 0.0);
    if (!ok)
        out << "error: " << error << '\n';
    return ok && names.size() == count ? 0 : 1;
}
