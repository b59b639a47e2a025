#include "archive/TDm_Ldb.h"

#include "archive/ArchiveTexts.h"
#include "archive/ColonFreeAlias.h"

#include "archive/FirebirdClient.h"
#include "platform/ChildProcessRunner.h"

#include "archive/ArchiveListModel.h"
#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QStandardPaths>
#include <QUuid>

TDm_Ldb::TDm_Ldb(ChildProcessRunner& runner, const QString& programFolder, QObject* parent)
    : QObject(parent)
    , m_runner(runner)
    , m_programFolder(programFolder)
    , m_connectionName(QStringLiteral("TDm_Ldb-") + QUuid::createUuid().toString(QUuid::WithoutBraces))
    , m_list(std::make_unique<ArchiveListModel>())
{ }

TDm_Ldb::~TDm_Ldb()
{
    close();
    // Everything that holds a result of the driver goes before the driver.
    m_list.reset();
    FirebirdClient::removeConnection(m_connectionName);
}

QString TDm_Ldb::pointConnection(const ArchiveTarget& target)
{
    close();
    m_target = target;
    if (QSqlDatabase::contains(m_connectionName)) {
        QSqlDatabase db = database();
        FirebirdClient::pointConnection(db, target);
    } else {
        FirebirdClient::addConnection(m_connectionName, target);
    }
    m_caption = archiveCaption(target);
    Q_EMIT captionChanged(m_caption);
    return m_caption;
}

QSqlDatabase TDm_Ldb::database() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

bool TDm_Ldb::isOpen() const
{
    return QSqlDatabase::contains(m_connectionName) && database().isOpen();
}

bool TDm_Ldb::open(QString* error)
{
    if (!QSqlDatabase::contains(m_connectionName))
        FirebirdClient::addConnection(m_connectionName, m_target);
    QSqlDatabase db = database();
    if (db.isOpen())
        return true;
    if (m_target.path.isEmpty()) {
        if (error)
            *error = QStringLiteral("データベースファイルが設定されていません");
        return false;
    }
    if (m_target.localPathUnusable()) {
        QString aliasError;
        m_alias = ColonFreeAlias::make(m_target.path, &aliasError);
        if (!m_alias) {
            if (error)
                *error = aliasError;
            return false;
        }
        db.setDatabaseName(m_alias->path());
    }
    if (db.open())
        return true;
    dropAlias(db);
    if (error) {
        *error = FirebirdClient::describeError(db.lastError().text());
        // The engine needs to write even to read; its own words do not say
        // that the file's permissions are the reason.
        const QFileInfo file(m_target.path);
        if (m_target.isLocal() && file.exists() && !file.isWritable())
            *error = ArchiveTexts::kReadOnlyArchive.arg(m_target.path) + QStringLiteral("\r\n") + *error;
    }
    return false;
}

void TDm_Ldb::close()
{
    closeList();
    // Each query may hold a transaction; the engine refuses to let go of a
    // database with one open, and the driver would not say so.
    for (auto* query : {&m_statement, &m_dataQuery}) {
        if (*query) {
            (*query)->finish();
            query->reset();
        }
    }
    if (!QSqlDatabase::contains(m_connectionName))
        return;
    QSqlDatabase db = database();
    if (db.isOpen())
        db.close();
    dropAlias(db);
}

void TDm_Ldb::dropAlias(QSqlDatabase& db)
{
    if (!m_alias)
        return;
    m_alias.reset();
    db.setDatabaseName(m_target.databaseName());
}

bool TDm_Ldb::checkConnection(const ArchiveTarget& target, QString* error)
{
    pointConnection(target);
    const bool ok = open(error);
    close();
    return ok;
}

std::optional<TDm_Ldb::MonitorRow> TDm_Ldb::readMonitor(QString* error)
{
    QSqlQuery query(database());
    if (!query.exec(QStringLiteral("select MON$DATABASE_NAME, MON$ODS_MAJOR, MON$ODS_MINOR from MON$DATABASE"))
        || !query.next()) {
        if (error)
            *error = query.lastError().text();
        return std::nullopt;
    }
    MonitorRow row{query.value(0).toString().trimmed(), {query.value(1).toInt(), query.value(2).toInt()}};
    query.finish();
    if (m_odsProbe) {
        if (const auto ods = m_odsProbe())
            row.ods = *ods;
    }
    return row;
}

QString TDm_Ldb::upgradeToolPath() const
{
    const QString bundled = QDir(m_programFolder).filePath(QStringLiteral("firebird/gfix"));
    if (QFileInfo(bundled).isExecutable())
        return bundled;
    const QString onPath = QStandardPaths::findExecutable(QStringLiteral("gfix"));
    return onPath.isEmpty() ? QStringLiteral("gfix") : onPath;
}

QStringList TDm_Ldb::upgradeToolArguments(const QString& databasePath) const
{
    return {QStringLiteral("-upgrade"), databasePath,
            QStringLiteral("-user"),    ArchiveCredentials::AdminUser,
            QStringLiteral("-pass"),    ArchiveCredentials::AdminPassword};
}

void TDm_Ldb::upgrade(const QString& databasePath)
{
    // The runner clears TerminateState, starts the tool and waits for the
    // flag, keeping the window alive. A failing tool is not detected here:
    // the reconnection that follows tells.
    m_runner.runAndWait(upgradeToolPath(), upgradeToolArguments(databasePath));
}

TDm_Ldb::StartupResult TDm_Ldb::connectAtStartup(const ArchiveTarget& target)
{
    StartupResult result;
    close();
    pointConnection(target);
    if (!open(&result.error)) {
        result.caption = kNoDatabaseCaption;
        m_caption = result.caption;
        Q_EMIT captionChanged(m_caption);
        return result;
    }
    result.connected = true;
    QString monitorError;
    const auto monitor = readMonitor(&monitorError);
    if (monitor && needsUpgrade(monitor->ods)) {
        close();
        upgrade(m_target.databaseName());
        result.upgraded = true;
        result.connected = open(&result.error);
    }
    if (!monitor || !result.connected) {
        if (result.error.isEmpty())
            result.error = monitorError;
        m_caption = kNoDatabaseCaption;
        Q_EMIT captionChanged(m_caption);
    }
    result.caption = m_caption;
    return result;
}

QString TDm_Ldb::listSql()
{
    return QStringLiteral("select MESSAGE_ID, MESSAGE_DATE, ACCOUNT_KEY, SENDER_NAME, SENDER_ADDRESS, RECIEVE_NAME, "
                          "RECIEVE_ADDRESS, MESSAGE_SUBJECT, MESSAGE_FILENAME, MAILBODY from MAIL_VIEW "
                          "order by MESSAGE_DATE desc");
}

bool TDm_Ldb::openList(QString* error)
{
    if (m_listOpen)
        return true;
    if (!open(error))
        return false;
    if (!m_list->load(database(), error)) {
        m_list->clear();
        return false;
    }
    m_listOpen = true;
    return true;
}

void TDm_Ldb::closeList()
{
    m_list->clear();
    m_listOpen = false;
}

bool TDm_Ldb::isListOpen() const
{
    return m_listOpen;
}

QString TDm_Ldb::dataQuerySql()
{
    return QStringLiteral("select Message_FileName,Message_FileExt,MailDat from Message_DatTBL "
                          "where Message_ID = :Message_ID and Message_Date = :Message_Date");
}

std::optional<TDm_Ldb::MessageData> TDm_Ldb::fetchMessageData(const QString& messageId, const QDateTime& messageDate,
                                                              QString* error)
{
    if (!open(error))
        return std::nullopt;
    if (!m_dataQuery)
        m_dataQuery = std::make_unique<QSqlQuery>(database());
    QSqlQuery& query = *m_dataQuery;
    query.prepare(dataQuerySql());
    query.bindValue(QStringLiteral(":Message_ID"), messageId);
    query.bindValue(QStringLiteral(":Message_Date"), messageDate);
    if (!query.exec()) {
        if (error)
            *error = query.lastError().text();
        return std::nullopt;
    }
    if (!query.next()) {
        query.finish();
        if (error)
            error->clear();
        return std::nullopt;
    }
    MessageData data{query.value(0).toString(), query.value(1).toString(), query.value(2).toByteArray()};
    query.finish();
    return data;
}

QSqlQuery& TDm_Ldb::FDQry()
{
    if (!m_statement)
        m_statement = std::make_unique<QSqlQuery>(database());
    return *m_statement;
}
