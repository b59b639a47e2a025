#include "archive/ArchiveListModel.h"

#include "reading/MessageIndex.h"

#include <QCollator>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>
#include <numeric>

namespace {

QString cacheKey(const QString& id, const QDateTime& date)
{
    return id + u'\x1f' + date.toString(Qt::ISODateWithMs);
}

} // namespace

const QStringList& ArchiveListModel::columnNames()
{
    static const QStringList names{QStringLiteral("MESSAGE_ID"),       QStringLiteral("MESSAGE_DATE"),
                                   QStringLiteral("ACCOUNT_KEY"),      QStringLiteral("SENDER_NAME"),
                                   QStringLiteral("SENDER_ADDRESS"),   QStringLiteral("RECIEVE_NAME"),
                                   QStringLiteral("RECIEVE_ADDRESS"),  QStringLiteral("MESSAGE_SUBJECT"),
                                   QStringLiteral("MESSAGE_FILENAME"), QStringLiteral("MAILBODY")};
    return names;
}

ArchiveListModel::ArchiveListModel(QObject* parent)
    : QAbstractTableModel(parent)
    , m_bodies(8 * 1024 * 1024) // characters of body text kept
{ }

bool ArchiveListModel::load(const QSqlDatabase& db, QString* error)
{
    beginResetModel();
    m_db = db;
    m_rows.clear();
    m_bodies.clear();
    QSqlQuery query(db);
    query.setForwardOnly(true);
    // MAIL_VIEW lists every index row; its file name comes from the data
    // table and is read when needed. Sorting in memory is cheaper than
    // walking the date index row by row.
    const QString sql = QStringLiteral("select %1 from Message_IdxTbl")
                            .arg(columnNames().mid(0, FileNameColumn).join(QStringLiteral(", ")));
    const bool ok = query.exec(sql);
    if (!ok) {
        if (error)
            *error = query.lastError().text();
    } else {
        while (query.next()) {
            Row row;
            for (int c = 0; c < FileNameColumn; ++c)
                row.values[c] = query.value(c).toString();
            row.date = query.value(1).toDateTime();
            row.values[1] = MessageFields::formatMessageDate(row.date);
            m_rows.append(std::move(row));
        }
        std::stable_sort(m_rows.begin(), m_rows.end(), [](const Row& a, const Row& b) { return a.date > b.date; });
    }
    query.finish();
    endResetModel();
    return ok;
}

void ArchiveListModel::clear()
{
    beginResetModel();
    m_rows.clear();
    m_bodies.clear();
    m_db = QSqlDatabase();
    endResetModel();
}

int ArchiveListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ArchiveListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(columnNames().size());
}

QString ArchiveListModel::bodyText(int row) const
{
    if (row < 0 || row >= m_rows.size())
        return {};
    const Row& r = m_rows.at(row);
    const QString key = cacheKey(r.values[0], r.date);
    if (const QString* cached = m_bodies.object(key))
        return *cached;
    QSqlQuery query(m_db);
    query.prepare(
        QStringLiteral("select MailBody from Message_IdxTbl where Message_ID = :id and Message_Date = :date"));
    query.bindValue(QStringLiteral(":id"), r.values[0]);
    query.bindValue(QStringLiteral(":date"), r.date);
    QString body;
    if (query.exec() && query.next())
        body = query.value(0).toString();
    query.finish();
    m_bodies.insert(key, new QString(body), qMax<qsizetype>(1, body.size()));
    return body;
}

QString ArchiveListModel::fileName(int row) const
{
    if (row < 0 || row >= m_rows.size())
        return {};
    Row& r = m_rows[row];
    if (!r.fileNameRead) {
        QSqlQuery query(m_db);
        query.prepare(QStringLiteral(
            "select Message_FileName from Message_DatTBL where Message_ID = :id and Message_Date = :date"));
        query.bindValue(QStringLiteral(":id"), r.values[0]);
        query.bindValue(QStringLiteral(":date"), r.date);
        if (query.exec() && query.next())
            r.values[FileNameColumn] = query.value(0).toString();
        query.finish();
        r.fileNameRead = true;
    }
    return r.values[FileNameColumn];
}

void ArchiveListModel::loadAllFileNames()
{
    QHash<QString, QString> names;
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (query.exec(QStringLiteral("select Message_ID, Message_Date, Message_FileName from Message_DatTBL"))) {
        while (query.next())
            names.insert(cacheKey(query.value(0).toString(), query.value(1).toDateTime()), query.value(2).toString());
    }
    query.finish();
    for (Row& r : m_rows) {
        r.values[FileNameColumn] = names.value(cacheKey(r.values[0], r.date));
        r.fileNameRead = true;
    }
}

QVariant ArchiveListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    if (index.column() == FileNameColumn && (role == Qt::DisplayRole || role == FullTextRole))
        return fileName(index.row());
    const Row& row = m_rows.at(index.row());
    if (index.column() == BodyColumn) {
        if (role == FullTextRole)
            return bodyText(index.row());
        if (role == Qt::DisplayRole) {
            QString shown = bodyText(index.row()).left(200);
            shown.replace(u'\n', u' ');
            return shown;
        }
        return {};
    }
    if (role == Qt::DisplayRole || role == FullTextRole)
        return row.values[index.column()];
    return {};
}

QVariant ArchiveListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return columnNames().value(section);
    return section + 1;
}

void ArchiveListModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= columnNames().size())
        return;
    Q_EMIT layoutAboutToBeChanged();
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    if (column == FileNameColumn)
        loadAllFileNames();
    QList<QString> bodies;
    if (column == BodyColumn) {
        // The only sort that needs every body; read once for the sort.
        for (int i = 0; i < m_rows.size(); ++i)
            bodies << bodyText(i);
    }
    QList<int> order_(m_rows.size());
    std::iota(order_.begin(), order_.end(), 0);
    const auto less = [&](int a, int b) {
        if (column == 1)
            return m_rows.at(a).date < m_rows.at(b).date;
        if (column == BodyColumn)
            return collator.compare(bodies.at(a), bodies.at(b)) < 0;
        return collator.compare(m_rows.at(a).values[column], m_rows.at(b).values[column]) < 0;
    };
    if (order == Qt::AscendingOrder)
        std::stable_sort(order_.begin(), order_.end(), less);
    else
        std::stable_sort(order_.begin(), order_.end(), [&](int a, int b) { return less(b, a); });
    QList<Row> sorted;
    sorted.reserve(m_rows.size());
    for (int i : order_)
        sorted.append(m_rows.at(i));
    m_rows = std::move(sorted);
    Q_EMIT layoutChanged();
}

QString ArchiveListModel::messageId(int row) const
{
    return row >= 0 && row < m_rows.size() ? m_rows.at(row).values[0] : QString();
}

QDateTime ArchiveListModel::messageDate(int row) const
{
    return row >= 0 && row < m_rows.size() ? m_rows.at(row).date : QDateTime();
}

int ArchiveListModel::columnOf(const QString& fieldName) const
{
    return int(columnNames().indexOf(fieldName.toUpper()));
}
