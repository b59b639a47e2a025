#pragma once

#include "settings/GridLayout.h"

#include <QWidget>

#include <functional>

class ArchiveListModel;
class QIdentityProxyModel;
class QMenu;
class QTableView;

// "DB List View": the archive list, a grid over MAIL_VIEW whose ten column
// positions (field, title, visibility, width) come from the settings.
class TDBListFrm : public QWidget
{
    Q_OBJECT

public:
    explicit TDBListFrm(QWidget* parent = nullptr);

    void setModel(ArchiveListModel* model);
    void applyLayout(const GridLayout& layout);
    // The layout as the user left it: order, widths, visibility.
    GridLayout currentLayout() const;
    void setGridFontSize(int points);

    QTableView* DBGrid1 = nullptr;
    QMenu* PopupMenu = nullptr;
    int currentRow() const;

    // Asked before a floating list window closes; true keeps it open
    // (it docks back instead).
    std::function<bool()> closeQuery;

Q_SIGNALS:
    void resized(const QSize& size);

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    ArchiveListModel* m_model = nullptr;
    QIdentityProxyModel* m_titles = nullptr;
    GridLayout m_layout;
};
