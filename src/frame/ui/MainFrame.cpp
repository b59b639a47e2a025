#include "frame/ui/MainFrame.h"

#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>

void MainFrame::setPanes(const Panes& panes)
{
    m_panes = panes;
    connect(m_panes.tabs, &QTabWidget::tabBarDoubleClicked, this, [this](int index) {
        if (QWidget* widget = m_panes.tabs->widget(index))
            Q_EMIT pageTabDoubleClicked(widget);
    });
}

QLineEdit* MainFrame::headerField(int index) const
{
    return index >= 0 && index < 8 ? m_panes.fields[index] : nullptr;
}

QListWidget* MainFrame::attachmentList(int which) const
{
    return which == 2 ? m_panes.list2 : m_panes.list1;
}

int MainFrame::currentPage() const
{
    return m_panes.tabs->currentIndex();
}

void MainFrame::showPage(int page)
{
    if (m_panes.tabs->currentIndex() != page)
        m_panes.tabs->setCurrentIndex(page);
}

bool MainFrame::isPageVisible(int page) const
{
    return m_panes.tabs->isTabVisible(page);
}

void MainFrame::setPageVisible(int page, bool visible)
{
    m_panes.tabs->setTabVisible(page, visible);
}

void MainFrame::addTrailingPage(QWidget* widget, const QString& caption)
{
    if (m_panes.tabs->indexOf(widget) < 0)
        m_panes.tabs->addTab(widget, caption);
    widget->show();
    m_panes.tabs->setCurrentIndex(m_panes.tabs->count() - 1);
}

bool MainFrame::removeTrailingPage(QWidget* widget)
{
    const int index = m_panes.tabs->indexOf(widget);
    if (index < PageCount)
        return false; // not a page, or one of the fixed ones
    m_panes.tabs->removeTab(index);
    return true;
}

bool MainFrame::holdsPage(QWidget* widget) const
{
    return m_panes.tabs->indexOf(widget) >= 0;
}

QPoint MainFrame::pagesOrigin() const
{
    return m_panes.tabs->mapToGlobal(QPoint(0, 0));
}
