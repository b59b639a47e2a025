#include "app/ui/ParameterTableView.h"

#include "settings/ParameterTable.h"

#include <QHeaderView>

ParameterTableView::ParameterTableView(ParameterTable& table, QWidget* parent)
    : QTableWidget(int(ParameterTable::rowKeys().size()), 2, parent)
    , m_table(table)
{
    setObjectName(QStringLiteral("ParameterGrid"));
    setHorizontalHeaderLabels({QStringLiteral("Key"), QStringLiteral("Value")});
    verticalHeader()->hide();
    setColumnWidth(0, 150);
    horizontalHeader()->setStretchLastSection(true);
    const QStringList& keys = ParameterTable::rowKeys();
    for (int row = 0; row < keys.size(); ++row) {
        auto* keyItem = new QTableWidgetItem(keys.at(row));
        keyItem->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        setItem(row, 0, keyItem);
        setItem(row, 1, new QTableWidgetItem);
    }
    refresh();
    connect(this, &QTableWidget::itemChanged, this, &ParameterTableView::onItemChanged);
}

void ParameterTableView::refresh()
{
    m_refreshing = true;
    const QStringList& keys = ParameterTable::rowKeys();
    for (int row = 0; row < keys.size(); ++row)
        item(row, 1)->setText(m_table.value(keys.at(row)));
    m_refreshing = false;
}

void ParameterTableView::onItemChanged(QTableWidgetItem* changed)
{
    if (m_refreshing || changed->column() != 1)
        return;
    m_table.setValue(item(changed->row(), 0)->text(), changed->text());
}

void ParameterTableView::focusOutEvent(QFocusEvent* event)
{
    QTableWidget::focusOutEvent(event);
    Q_EMIT editingLeft();
}
