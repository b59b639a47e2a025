// Imports a generated mbox file of COUNT messages (10,000 by default) as
// "archive import" does, and inserts the same messages' rows through the
// driver alone in the same batches; prints both rates and their ratio.
#include "archive/ArchiveTarget.h"
#include "archive/FirebirdClient.h"
#include "archive/MailboxImport.h"
#include "archive/TDm_Ldb.h"
#include "platform/ChildProcessRunner.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

constexpr int kBatch = 50; // as the window's import commits

QByteArray message(int i)
{
    return QStringLiteral("Message-Id: <import%1@example.jp>\nDate: Fri, 05 Jan 2024 %2:%3:%4 +0900\n"
                          "From: =?UTF-8?B?5bGx55Sw?= <sender%5@example.jp>\nTo: me@example.jp\n"
                          "Subject: =?UTF-8?B?5Lu25ZCN?= %1\nContent-Type: text/plain; charset=UTF-8\n\n")
               .arg(i)
               .arg(i / 3600 % 24, 2, 10, QChar(u'0'))
               .arg(i / 60 % 60, 2, 10, QChar(u'0'))
               .arg(i % 60, 2, 10, QChar(u'0'))
               .arg(i % 500)
               .toUtf8()
        + QStringLiteral("本文です。").repeated(100).toUtf8() + "\n";
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? QByteArray(argv[1]).toInt() : 10000;
    QTextStream out(stdout);
    QTemporaryDir dir;
    const QString box = dir.filePath(QStringLiteral("Inbox"));
    {
        QFile f(box);
        f.open(QIODevice::WriteOnly);
        for (int i = 0; i < count; ++i)
            f.write("From bench Fri Jan  5 09:03:07 2024\n" + message(i) + "\n");
    }
    const QString imported = dir.filePath(QStringLiteral("imported.fdb"));
    const QString bare = dir.filePath(QStringLiteral("bare.fdb"));
    if (!createArchive(ArchiveTarget{QString(), imported}).isEmpty()
        || !createArchive(ArchiveTarget{QString(), bare}).isEmpty()) {
        out << "cannot create archives\n";
        return 1;
    }
    bool terminated = false;
    ChildProcessRunner runner(terminated);

    TDm_Ldb dm(runner, QString());
    dm.pointConnection(ArchiveTarget{QString(), imported});
    MailboxImport::Options options;
    options.commitEvery = kBatch;
    QElapsedTimer timer;
    timer.start();
    const MailboxImport::Summary summary = MailboxImport::import(dm, box, options);
    const double importRate = summary.registered * 1000.0 / qMax<qint64>(1, timer.elapsed());
    dm.close();

    // The same rows through the driver alone, in the same batches: the
    // parsing, deriving and checks are what the import adds.
    TDm_Ldb raw(runner, QString());
    raw.pointConnection(ArchiveTarget{QString(), bare});
    raw.open();
    QSqlDatabase db = raw.database();
    QSqlQuery index(db);
    QSqlQuery data(db);
    timer.restart();
    for (int i = 0; i < count; ++i) {
        if (i % kBatch == 0)
            db.transaction();
        const QString id = QStringLiteral("<import%1@example.jp>").arg(i);
        const QDateTime date(QDate(2024, 1, 5), QTime(i / 3600 % 24, i / 60 % 60, i % 60));
        index.prepare(QStringLiteral("insert into Message_IdxTbl (Message_ID,Message_Date,Sender_Name,Sender_Address,"
                                     "Recieve_Address,Message_Subject,Message_dtype,Message_ftype,MailBody) values "
                                     "(?,?,'山田',?,'me@example.jp',?,'1','1',?)"));
        index.addBindValue(id);
        index.addBindValue(date);
        index.addBindValue(QStringLiteral("sender%1@example.jp").arg(i % 500));
        index.addBindValue(QStringLiteral("件名 %1").arg(i));
        index.addBindValue(QStringLiteral("本文です。").repeated(100));
        index.exec();
        data.prepare(QStringLiteral("insert into Message_DatTBL (Message_ID,Message_Date,Message_FileName,"
                                    "Message_FileExt,MailDat) values (?,?,'Inbox_000001.eml','.eml',?)"));
        data.addBindValue(id);
        data.addBindValue(date);
        data.addBindValue(message(i));
        data.exec();
        if (i % kBatch == kBatch - 1 || i == count - 1)
            db.commit();
    }
    index.finish();
    data.finish();
    const double bareRate = count * 1000.0 / qMax<qint64>(1, timer.elapsed());
    out << QString::asprintf("%d messages: import %.1f msg/s (%d registered, %d refused), bare insert %.1f msg/s, "
                             "ratio %.2f\n",
                             count, importRate, summary.registered, summary.refusedCount(), bareRate,
                             bareRate > 0 ? importRate / bareRate : 0.0);
    return summary.registered == count ? 0 : 1;
}
