#include "archive/ui/TDBListFrm.h"

#include "archive/ArchiveListModel.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QMenu>
#include <QResizeEvent>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// Column titles from the layout instead of the view's column names.
class TitledColumns final : public QIdentityProxyModel
{
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QHash<int, QString> titles;

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && titles.contains(section))
            return titles.value(section);
        return QIdentityProxyModel::headerData(section, orientation, role);
    }
};

} // namespace

TDBListFrm::TDBListFrm(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("DBListFrm"));
    setWindowTitle(QStringLiteral("DB List View"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    DBGrid1 = new QTableView;
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->setWordWrap(false);
    DBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    DBGrid1->horizontalHeader()->setSectionsMovable(true);
    DBGrid1->horizontalHeader()->setSectionsClickable(true);
    DBGrid1->horizontalHeader()->setHighlightSections(true);
    DBGrid1->verticalHeader()->setDefaultSectionSize(DBGrid1->fontMetrics().height() + 6);
    layout->addWidget(DBGrid1);
    PopupMenu = new QMenu(this);
    PopupMenu->setObjectName(QStringLiteral("ListPopup"));
    connect(DBGrid1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenu->popup(DBGrid1->viewport()->mapToGlobal(at)); });
    m_titles = new TitledColumns(this);
    DBGrid1->setModel(m_titles);
}

void TDBListFrm::setModel(ArchiveListModel* model)
{
    m_model = model;
    m_titles->setSourceModel(model);
    applyLayout(m_layout);
}

void TDBListFrm::applyLayout(const GridLayout& layout)
{
    m_layout = layout;
    if (!m_model)
        return;
    auto* titled = static_cast<TitledColumns*>(m_titles);
    titled->titles.clear();
    QHeaderView* header = DBGrid1->horizontalHeader();
    for (int position = 0; position < GridLayout::ColumnCount; ++position) {
        const GridColumn& c = layout.columns[position];
        const int logical = m_model->columnOf(c.fieldName);
        if (logical < 0)
            continue;
        titled->titles.insert(logical, c.title);
        header->moveSection(header->visualIndex(logical), position);
        header->setSectionHidden(logical, !c.visible);
        header->resizeSection(logical, c.width);
    }
}

GridLayout TDBListFrm::currentLayout() const
{
    GridLayout layout = m_layout;
    if (!m_model)
        return layout;
    const QHeaderView* header = DBGrid1->horizontalHeader();
    const auto* titled = static_cast<const TitledColumns*>(m_titles);
    for (int position = 0; position < GridLayout::ColumnCount && position < header->count(); ++position) {
        const int logical = header->logicalIndex(position);
        GridColumn& c = layout.columns[position];
        c.fieldName = ArchiveListModel::columnNames().value(logical);
        c.title = titled->titles.value(logical, c.fieldName);
        c.visible = !header->isSectionHidden(logical);
        c.width = header->sectionSize(logical) > 0 ? header->sectionSize(logical) : c.width;
    }
    return layout;
}

void TDBListFrm::setGridFontSize(int points)
{
    QFont font = DBGrid1->font();
    font.setPointSize(qMax(1, points));
    DBGrid1->setFont(font);
    DBGrid1->verticalHeader()->setDefaultSectionSize(QFontMetrics(font).height() + 6);
}

int TDBListFrm::currentRow() const
{
    const QModelIndex current = DBGrid1->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void TDBListFrm::closeEvent(QCloseEvent* event)
{
    if (closeQuery && closeQuery()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void TDBListFrm::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Q_EMIT resized(event->size());
}
