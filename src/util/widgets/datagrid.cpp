#include "util/widgets/datagrid.h"

#include "db/query.h"

#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>
#include <algorithm>

namespace vaha::ui {
namespace {

const QColor kCell(0xF5, 0xF0, 0xDC);     // light beige
const QColor kFixed(0xBF, 0xDB, 0xF2);    // light blue
const QColor kFocused(0x9E, 0xE0, 0x9E);  // green
const QColor kSelected(0xFF, 0xF2, 0x80); // yellow

class CellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const auto* view = qobject_cast<const QAbstractItemView*>(parent());
        QColor background = kCell;
        const bool current = view && view->currentIndex() == index;
        if (current && view->hasFocus())
            background = kFocused;
        else if (option.state & QStyle::State_Selected)
            background = kSelected;
        painter->fillRect(option.rect, background);
        // The base class reads the cell's data into the option itself.
        QStyleOptionViewItem opt(option);
        opt.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
        opt.palette.setColor(QPalette::Text, Qt::black);
        QStyledItemDelegate::paint(painter, opt, index);
    }
};

// The row indicator: a small triangle in front of the current row.
class IndicatorHeader : public QHeaderView {
public:
    explicit IndicatorHeader(QWidget* parent) : QHeaderView(Qt::Vertical, parent) {}

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override {
        painter->fillRect(rect, kFixed);
        painter->setPen(kFixed.darker(130));
        painter->drawRect(rect.adjusted(0, 0, -1, -1));
        const auto* view = qobject_cast<const QAbstractItemView*>(parent());
        if (view && view->currentIndex().row() == logicalIndex) {
            const QPoint c = rect.center();
            const QPolygon arrow({c + QPoint(-3, -4), c + QPoint(2, 0), c + QPoint(-3, 4)});
            painter->setBrush(Qt::black);
            painter->setPen(Qt::black);
            painter->drawPolygon(arrow);
        }
    }
};

} // namespace

DataGrid::DataGrid(QWidget* parent) : QTableView(parent) {
    setVerticalHeader(new IndicatorHeader(this));
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setFixedWidth(14);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setStyleSheet(
        QStringLiteral(
            "QHeaderView::section { background: %1; border: 1px solid %2; padding: 2px; }")
            .arg(kFixed.name(), kFixed.darker(130).name()));
    setItemDelegate(new CellDelegate(this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setWordWrap(false);
    setShowGrid(true);
    setTabKeyNavigation(true);
    setCornerButtonEnabled(false);
    QPalette pal = palette();
    pal.setColor(QPalette::Base, kCell);
    setPalette(pal);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &DataGrid::titleClicked);
}

void DataGrid::setRowSelect(bool rowSelect) {
    setSelectionBehavior(rowSelect ? QAbstractItemView::SelectRows
                                   : QAbstractItemView::SelectItems);
}

void DataGrid::setQuery(db::Query* query) {
    m_query = query;
    m_sizedColumns = -1;
    m_model = new db::QueryModel(query, this);
    QItemSelectionModel* old = selectionModel();
    setModel(m_model);
    delete old;
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        // Widths are set once for a query's columns: a column the user widened keeps its
        // width when the query is opened again (a new filter, a sort).
        if (m_query && m_query->isOpen() && m_model->columnCount() != m_sizedColumns)
            applyColumnWidths();
        followQuery(m_query ? m_query->position() : -1);
    });
    connect(query, &db::Query::currentChanged, this, &DataGrid::followQuery);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { followGrid(current); });
    applyColumnWidths();
}

void DataGrid::setColumns(const QList<db::GridColumn>& columns) {
    m_model->setColumns(columns);
    m_sizedColumns = -1;
    applyColumnWidths();
}

void DataGrid::applyColumnWidths() {
    if (!m_model || !m_query)
        return;
    // Widths as the classic grids give them: the field's display width in digit widths.
    const QFontMetrics fm(font());
    const int digit = fm.horizontalAdvance(QLatin1Char('0'));
    for (int c = 0; c < m_model->columnCount(); ++c) {
        const int given = c < m_model->columns().size() ? m_model->columns()[c].width : -1;
        if (given > 0) {
            setColumnWidth(c, given);
            continue;
        }
        int chars = 10;
        const int field = m_model->fieldOfColumn(c);
        if (field >= 0 && m_query->isOpen()) {
            const db::Field& f = m_query->field(field);
            if (f.type == db::FieldType::DateTime)
                chars = 18;
            else if (f.type == db::FieldType::Date)
                chars = 10;
            else if (f.isNumeric())
                chars = 9;
            else
                chars = int(std::clamp<qint64>(f.length, 4, 30));
        }
        const int width = chars * digit + 8;
        const QString title = m_model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        setColumnWidth(c, qMax(width, fm.horizontalAdvance(title) + 12));
    }
    m_sizedColumns = m_query->isOpen() ? m_model->columnCount() : -1;
}

void DataGrid::followQuery(int position) {
    if (m_syncing || !m_model)
        return;
    m_syncing = true;
    const int column = qMax(0, currentIndex().column());
    if (position >= 0 && position < m_model->rowCount())
        setCurrentIndex(m_model->index(position, column));
    else
        selectionModel()->clearCurrentIndex();
    verticalHeader()->viewport()->update();
    m_syncing = false;
}

void DataGrid::followGrid(const QModelIndex& current) {
    verticalHeader()->viewport()->update();
    if (m_syncing || !m_query || !current.isValid())
        return;
    m_syncing = true;
    if (current.row() != m_query->position())
        m_query->moveTo(current.row());
    m_syncing = false;
}

} // namespace vaha::ui
