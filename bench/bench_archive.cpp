// The archive at scale: for generated archives of the given sizes, the
// batch registration rate next to the bare insert rate of the same rows
// through the database driver, then the time to open the list, to sort it
// by subject, and the resident memory.
//
//   bench_archive [SIZE...]   (default 10000 100000)
#include "archive/ArchiveListModel.h"
#include "archive/FirebirdClient.h"
#include "archive/Registration.h"
#include "archive/TDm_Ldb.h"
#include "platform/ChildProcessRunner.h"
#include "reading/MessageIndex.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

long residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

Registration::Input inputFor(int i, const QString& file)
{
    Registration::Input input;
    input.fields.Message_ID = QStringLiteral("<bench%1@example.jp>").arg(i);
    input.fields.Message_Date = QStringLiteral("20%1/%2/%3 %4:%5:%6")
                                    .arg(10 + i % 15)
                                    .arg(1 + i % 12, 2, 10, QChar(u'0'))
                                    .arg(1 + i % 28, 2, 10, QChar(u'0'))
                                    .arg(i % 24)
                                    .arg(i % 60, 2, 10, QChar(u'0'))
                                    .arg((i / 60) % 60, 2, 10, QChar(u'0'));
    input.fields.Sender_Name = QStringLiteral("送信者 %1").arg(i % 500);
    input.fields.Sender_Address = QStringLiteral("sender%1@example.jp").arg(i % 500);
    input.fields.Recieve_Address = QStringLiteral("me@example.jp");
    input.fields.Message_Subject = QStringLiteral("件名 %1 のお知らせ").arg((i * 7919) % 100000);
    input.MDatType = 1;
    input.mailBody = QStringLiteral("本文です。").repeated(60) + QString::number(i);
    input.date = MessageFields::parseMessageDate(input.fields.Message_Date);
    input.fileName = QFileInfo(file).fileName();
    QFile bytes(file);
    if (bytes.open(QIODevice::ReadOnly))
        input.bytes = bytes.readAll();
    return input;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QList<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes << QByteArray(argv[i]).toInt();
    if (sizes.isEmpty())
        sizes = {10000, 100000};
    QTextStream out(stdout);
    QTemporaryDir dir;
    const QString mail = dir.filePath(QStringLiteral("message.eml"));
    {
        QFile f(mail);
        f.open(QIODevice::WriteOnly);
        f.write(QByteArray(4096, 'm'));
    }
    for (const int size : sizes) {
        const QString registered = dir.filePath(QStringLiteral("registered-%1.fdb").arg(size));
        const QString bare = dir.filePath(QStringLiteral("bare-%1.fdb").arg(size));
        if (!createArchive(ArchiveTarget{QString(), registered}).isEmpty()
            || !createArchive(ArchiveTarget{QString(), bare}).isEmpty()) {
            out << "cannot create archives\n";
            return 1;
        }
        bool terminated = false;
        ChildProcessRunner runner(terminated);

        // Batch registration, one transaction per message as the program does.
        TDm_Ldb dm(runner, QString());
        dm.pointConnection(ArchiveTarget{QString(), registered});
        dm.open();
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < size; ++i) {
            if (!Registration::registerMessage(dm, inputFor(i, mail)).ok()) {
                out << "registration failed at " << i << '\n';
                return 1;
            }
        }
        const double registerRate = size * 1000.0 / qMax<qint64>(1, timer.elapsed());

        // The same rows through the driver alone.
        {
            TDm_Ldb raw(runner, QString());
            raw.pointConnection(ArchiveTarget{QString(), bare});
            raw.open();
            QSqlDatabase db = raw.database();
            QFile f(mail);
            f.open(QIODevice::ReadOnly);
            const QByteArray bytes = f.readAll();
            QSqlQuery index(db);
            QSqlQuery data(db);
            timer.restart();
            for (int i = 0; i < size; ++i) {
                const Registration::Input in = inputFor(i, mail);
                db.transaction();
                index.prepare(
                    QStringLiteral("insert into Message_IdxTbl (Message_ID,Message_Date,Sender_Name,Sender_Address,"
                                   "Recieve_Address,Message_Subject,Message_dtype,Message_ftype,MailBody) values "
                                   "(?,?,?,?,?,?,'1','1',?)"));
                index.addBindValue(in.fields.Message_ID);
                index.addBindValue(MessageFields::parseMessageDate(in.fields.Message_Date));
                index.addBindValue(in.fields.Sender_Name);
                index.addBindValue(in.fields.Sender_Address);
                index.addBindValue(in.fields.Recieve_Address);
                index.addBindValue(in.fields.Message_Subject);
                index.addBindValue(in.mailBody);
                index.exec();
                data.prepare(QStringLiteral("insert into Message_DatTBL (Message_ID,Message_Date,Message_FileName,"
                                            "Message_FileExt,MailDat) values (?,?,'message.eml','.eml',?)"));
                data.addBindValue(in.fields.Message_ID);
                data.addBindValue(MessageFields::parseMessageDate(in.fields.Message_Date));
                data.addBindValue(bytes);
                data.exec();
                db.commit();
            }
            index.finish();
            data.finish();
        }
        const double bareRate = size * 1000.0 / qMax<qint64>(1, timer.elapsed());
        dm.close();

        const long before = residentKb();
        TDm_Ldb listDm(runner, QString());
        listDm.pointConnection(ArchiveTarget{QString(), registered});
        timer.restart();
        listDm.openList();
        const qint64 openMs = timer.elapsed();
        ArchiveListModel* list = listDm.FDTbl1();
        // The grid draws the first screenful, bodies included.
        for (int r = 0; r < qMin(40, list->rowCount()); ++r)
            list->data(list->index(r, ArchiveListModel::BodyColumn));
        timer.restart();
        list->sort(list->columnOf(QStringLiteral("MESSAGE_SUBJECT")), Qt::AscendingOrder);
        const qint64 sortMs = timer.elapsed();
        const long after = residentKb();

        out << QString::asprintf("%7d messages: registration %7.1f msg/s, bare insert %7.1f msg/s; "
                                 "open list %5lld ms, sort by subject %5lld ms, list memory %6ld KB (process %ld KB)\n",
                                 size, registerRate, bareRate, static_cast<long long>(openMs),
                                 static_cast<long long>(sortMs), after - before, after);
        out.flush();
    }
    return 0;
}
