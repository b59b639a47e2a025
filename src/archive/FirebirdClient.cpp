#include "archive/FirebirdClient.h"

#include "archive/ArchiveSchema.h"
#include "archive/ArchiveTarget.h"
#include "archive/FirebirdEnvironment.h"

#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

#include <ibase.h>

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

QString createArchive(const ArchiveTarget& target)
{
    if (target.path.isEmpty())
        return QStringLiteral("データベースファイルが指定されていません");
    if (target.isLocal() && QFileInfo::exists(target.path))
        return QStringLiteral("ファイルが既に存在します: ") + target.path;
    prepareFirebirdEnvironment();
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
