#pragma once

#include "archive/ArchiveTarget.h"

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class ArchiveListModel;
class ColonFreeAlias;
class ChildProcessRunner;

// The archive database module: the connection, the list over MAIL_VIEW,
// the data query, the general statement object and the monitoring read.
// Every statement commits on its own.
class TDm_Ldb : public QObject
{
    Q_OBJECT

public:
    struct OdsVersion
    {
        int major = 0;
        int minor = 0;
    };

    struct MonitorRow
    {
        QString databaseName;
        OdsVersion ods;
    };

    struct StartupResult
    {
        bool connected = false; // DBConnect may be enabled
        bool upgraded = false;  // the upgrade tool ran
        QString caption;
        QString error; // why the connection failed, for the status bar
    };

    struct MessageData
    {
        QString fileName;
        QString fileExt;
        QByteArray bytes;
    };

    // programFolder: the folder whose "firebird" sub-folder may hold the
    // engine's tools. runner: the child-process runner that sets TerminateState.
    TDm_Ldb(ChildProcessRunner& runner, const QString& programFolder, QObject* parent = nullptr);
    ~TDm_Ldb() override;

    // Points the connection at a database (closing it first) and returns
    // the caption that names it.
    QString pointConnection(const ArchiveTarget& target);
    const ArchiveTarget& target() const { return m_target; }
    QString caption() const { return m_caption; }

    // Opens the pointed database silently, upgrading an old on-disk
    // structure on the way.
    StartupResult connectAtStartup(const ArchiveTarget& target);

    bool open(QString* error = nullptr);
    // Releases every query first: an unfinished SELECT keeps a transaction
    // open and the close would silently fail.
    void close();
    bool isOpen() const;

    // Opens and closes a connection to the target. The connection is left
    // closed either way.
    bool checkConnection(const ArchiveTarget& target, QString* error = nullptr);

    std::optional<MonitorRow> readMonitor(QString* error = nullptr);
    // Tests put a stand-in here to report another on-disk structure.
    void setOdsProbe(std::function<std::optional<OdsVersion>()> probe) { m_odsProbe = std::move(probe); }
    static bool needsUpgrade(const OdsVersion& ods) { return ods.major == 13 && ods.minor == 0; }
    QString upgradeToolPath() const;
    QStringList upgradeToolArguments(const QString& databasePath) const;

    // The list dataset: the whole of MAIL_VIEW, newest first.
    static QString listSql();
    bool openList(QString* error = nullptr);
    void closeList();
    bool isListOpen() const;
    ArchiveListModel* FDTbl1() const { return m_list.get(); }

    // The data query: the stored file of one message.
    static QString dataQuerySql();
    std::optional<MessageData> fetchMessageData(const QString& messageId, const QDateTime& messageDate,
                                                QString* error = nullptr);

    // The general statement object, for inserts, updates and deletes. It
    // is the module's own, so that closing can release it.
    QSqlQuery& FDQry();
    QSqlDatabase database() const;

Q_SIGNALS:
    void captionChanged(const QString& caption);

private:
    void dropAlias(QSqlDatabase& db);
    void upgrade(const QString& databasePath);

    ChildProcessRunner& m_runner;
    QString m_programFolder;
    QString m_connectionName;
    ArchiveTarget m_target;
    std::unique_ptr<ColonFreeAlias> m_alias; // while open, for a file name with ":"
    QString m_caption = kNoDatabaseCaption;
    std::unique_ptr<ArchiveListModel> m_list;
    std::unique_ptr<QSqlQuery> m_statement; // FDQry
    std::unique_ptr<QSqlQuery> m_dataQuery; // FDQryDat
    bool m_listOpen = false;
    std::function<std::optional<OdsVersion>()> m_odsProbe;
};
