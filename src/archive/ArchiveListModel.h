#pragma once

#include <QAbstractTableModel>
#include <QCache>
#include <QDateTime>
#include <QSqlDatabase>
#include <QStringList>

// The rows of MAIL_VIEW for the list, newest first.
//
// A large archive stays light: the short columns of every row are read from
// the index table alone and held in memory; the file name (from the data
// table) and MAILBODY are read only for the rows that are drawn, the bodies
// kept in a bounded cache. Loading every body, or joining every row with the
// data table up front, is what makes a large archive slow to open and heavy
// to hold. The rows are the rows of MAIL_VIEW, newest first.
class ArchiveListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    // The view's ten columns, in the view's order.
    static const QStringList& columnNames();
    static constexpr int BodyColumn = 9;
    // The whole body text of a row (DisplayRole gives its first part on one line).
    static constexpr int FullTextRole = Qt::UserRole + 1;

    explicit ArchiveListModel(QObject* parent = nullptr);

    bool load(const QSqlDatabase& db, QString* error = nullptr);
    void clear();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    QString messageId(int row) const;
    QDateTime messageDate(int row) const;
    int columnOf(const QString& fieldName) const;
    QString bodyText(int row) const;
    QString fileName(int row) const;
    // Reads every row's file name in one query (for sorting by it, or
    // listing them all).
    void loadAllFileNames();

private:
    struct Row
    {
        QString values[9]; // MESSAGE_ID ... MESSAGE_FILENAME, the date as text
        QDateTime date;
        bool fileNameRead = false;
    };
    static constexpr int FileNameColumn = 8;

    QSqlDatabase m_db;
    mutable QList<Row> m_rows;
    mutable QCache<QString, QString> m_bodies;
};
