#pragma once

#include <QAbstractTableModel>
#include <QCache>
#include <QDateTime>
#include <QSqlDatabase>
#include <QStringList>

// The rows of MAIL_VIEW for the list, newest first.
//
// A large archive stays light: the nine short columns of every row are held
// in memory, while MAILBODY is read from the database only for the rows
// that are drawn (and kept in a bounded cache), since loading every body up
// front is what makes a large archive slow to open and heavy to hold.
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

private:
    struct Row
    {
        QString values[9];   // MESSAGE_ID ... MESSAGE_FILENAME, the date as text
        QDateTime date;
    };

    QSqlDatabase m_db;
    QList<Row> m_rows;
    mutable QCache<QString, QString> m_bodies;
};
