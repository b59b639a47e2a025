#pragma once

#include <QTableWidget>

class ParameterTable;

// The "パラメータ設定" tab: the fixed rows of the parameter table, keys in
// the first column (150 pixels, read-only), values editable in the second.
// Edits go straight into the table object, which the rest of the program reads.
class ParameterTableView : public QTableWidget
{
    Q_OBJECT

public:
    ParameterTableView(ParameterTable& table, QWidget* parent = nullptr);

    // Shows the table object's values again, after code changed them.
    void refresh();

Q_SIGNALS:
    // The focus left the table (the list's pop-up shortcuts follow AutoView).
    void editingLeft();

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    void onItemChanged(QTableWidgetItem* item);

    ParameterTable& m_table;
    bool m_refreshing = false;
};
