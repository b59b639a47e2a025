#include "archive/FirebirdClient.h"

#include "archive/ArchiveSchema.h"
#include "archive/ArchiveTarget.h"
#include "archive/ArchiveTexts.h"
#include "archive/FirebirdEnvironment.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

#include <cerrno>
#include <cstdio>
#include <ibase.h>
#include <unistd.h>

namespace FirebirdClient {

QSqlDatabase addConnection(const QString& connectionName, const ArchiveTarget& target)
{
    prepareFirebirdEnvironment();
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QIBASE"), connectionName);
    pointConnection(db, target);
    return db;
}

void pointConnection(QSqlDatabase& db, const ArchiveTarget& target)
{
    db.setDatabaseName(target.databaseName());
    db.setUserName(ArchiveCredentials::User);
    db.setPassword(ArchiveCredentials::Password);
    db.setConnectOptions(QStringLiteral("ISC_DPB_LC_CTYPE=UTF8"));
}

void removeConnection(const QString& connectionName)
{
    if (QSqlDatabase::contains(connectionName))
        QSqlDatabase::removeDatabase(connectionName);
}

QString describeError(const QString& engineText)
{
    if (engineText.contains(QLatin1String("already opened with engine instance"))
        || engineText.contains(QLatin1String("lock\" operation")))
        return QStringLiteral("データベースファイルは別のプログラムが使用中です: ") + engineText;
    if (engineText.contains(QLatin1String("No such file")) || engineText.contains(QLatin1String("I/O error")))
        return QStringLiteral("データベースファイルを開けません: ") + engineText;
    return QStringLiteral("データベースに接続できません: ") + engineText;
}

} // namespace FirebirdClient

namespace {

QString statusText(const ISC_STATUS* status)
{
    QString text;
    char buffer[1024];
    const ISC_STATUS* vector = status;
    while (fb_interpret(buffer, sizeof buffer, &vector) > 0) {
        if (!text.isEmpty())
            text += u' ';
        text += QString::fromLocal8Bit(buffer);
    }
    return text;
}

QString quoted(const QString& text)
{
    QString t = text;
    t.replace(u'\'', QLatin1String("''"));
    return u'\'' + t + u'\'';
}

// Qt's driver cannot create a database; the client library's own statement
// execution without a connection can.
QString createEmptyDatabase(const ArchiveTarget& target)
{
    const QByteArray sql = QStringLiteral("CREATE DATABASE %1 USER %2 PASSWORD %3 PAGE_SIZE 16384 "
                                          "DEFAULT CHARACTER SET UTF8")
                               .arg(quoted(target.databaseName()), quoted(ArchiveCredentials::User),
                                    quoted(ArchiveCredentials::Password))
                               .toUtf8();
    ISC_STATUS_ARRAY status = {};
    isc_db_handle db = 0;
    isc_tr_handle transaction = 0;
    if (isc_dsql_execute_immediate(status, &db, &transaction, 0, sql.constData(), SQL_DIALECT_V6, nullptr)) {
        return statusText(status);
    }
    isc_detach_database(status, &db);
    return {};
}

} // namespace

namespace {

// Creates the database and its schema at the target; on failure what was
// made is left for the caller to remove.
QString createWithSchema(const ArchiveTarget& target)
{
    const QString created = createEmptyDatabase(target);
    if (!created.isEmpty())
        return QStringLiteral("データベースを作成できません: ") + created;
    const QString name = QStringLiteral("create-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    QString error;
    {
        QSqlDatabase db = FirebirdClient::addConnection(name, target);
        if (!db.open()) {
            error = FirebirdClient::describeError(db.lastError().text());
        } else {
            for (const QString& statement : archiveSchemaStatements()) {
                QSqlQuery query(db);
                if (!query.exec(statement)) {
                    error = QStringLiteral("スキーマを作成できません: ") + query.lastError().text();
                    break;
                }
            }
            db.close();
        }
    }
    FirebirdClient::removeConnection(name);
    return error;
}

// link(2) refuses when a file of the final name appeared meanwhile; where
// the file system has no hard links, a rename after one more look.
QString giveFinalName(const QString& partial, const QString& finalPath)
{
    const QByteArray from = QFile::encodeName(partial);
    const QByteArray to = QFile::encodeName(finalPath);
    if (::link(from.constData(), to.constData()) == 0)
        return {};
    if (errno == EEXIST || QFileInfo::exists(finalPath))
        return QStringLiteral("ファイルが既に存在します: ") + finalPath;
    if (std::rename(from.constData(), to.constData()) == 0)
        return {};
    return QStringLiteral("データベースファイルを作成できません: ") + finalPath;
}

} // namespace

QString createArchive(const ArchiveTarget& target)
{
    if (target.path.isEmpty())
        return QStringLiteral("データベースファイルが指定されていません");
    if (target.isLocal() && (QFileInfo::exists(target.path) || QFileInfo(target.path).isSymLink()))
        return QStringLiteral("ファイルが既に存在します: ") + target.path;
    // The file is made under a temporary name; only the folder's own path
    // must be free of ":" (see ColonFreeAlias).
    if (target.isLocal() && QFileInfo(target.path).absolutePath().contains(u':'))
        return ArchiveTexts::kColonInPath.arg(target.path);
    prepareFirebirdEnvironment();
    if (!target.isLocal())
        return createWithSchema(target); // a server's file system is not ours to rename in

    // Made under a temporary name in the same folder and given its name only
    // when the schema is complete: a create that is killed half-way leaves
    // no file under the archive's name that could never be used.
    const QFileInfo final(target.path);
    const QString partial = final.absolutePath() + QStringLiteral("/.tallowin-partial-")
        + QUuid::createUuid().toString(QUuid::WithoutBraces) + QStringLiteral(".fdb");
    QString error = createWithSchema(ArchiveTarget{QString(), partial});
    if (error.isEmpty())
        error = giveFinalName(partial, final.absoluteFilePath());
    QFile::remove(partial);
    return error;
}

QString checkArchive(const ArchiveTarget& target)
{
    const QString name = QStringLiteral("check-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    QString error;
    {
        QSqlDatabase db = FirebirdClient::addConnection(name, target);
        if (!db.open()) {
            error = FirebirdClient::describeError(db.lastError().text());
        } else {
            QSqlQuery query(db);
            const bool read = query.exec(QStringLiteral("select count(*) from rdb$relations where rdb$relation_name in "
                                                        "('MESSAGE_IDXTBL', 'MESSAGE_DATTBL', 'MAIL_VIEW')"));
            if (!read || !query.next() || query.value(0).toInt() != 3)
                error = QStringLiteral("アーカイブの表がありません (作成が途中で止まったファイルかもしれません)");
            query.finish();
            db.close();
        }
    }
    FirebirdClient::removeConnection(name);
    return error;
}
