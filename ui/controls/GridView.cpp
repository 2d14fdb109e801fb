#include "ui/controls/GridView.h"

#include "ui/controls/Twips.h"
#include "ui/controls/UiFont.h"

#include <QApplication>
#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QWheelEvent>

namespace puka::ui {
namespace {

const QColor kSelectionTint(64, 128, 224, 56);

// Paints a selected row as a tint over each cell's own colour, so the coloured arrow
// cells keep their meaning while their row is highlighted.
class TintSelectionDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem opt(option);
        initStyleOption(&opt, index);
        const QVariant background = index.data(Qt::BackgroundRole);
        painter->fillRect(opt.rect, background.isValid() ? background.value<QBrush>() : opt.palette.base());
        if (opt.state & QStyle::State_Selected)
            painter->fillRect(opt.rect, kSelectionTint);
        opt.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
        opt.backgroundBrush = Qt::NoBrush;
        opt.palette.setColor(QPalette::Text, QColor(0x22, 0x2B, 0x38));
        const QWidget* widget = opt.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
    }
};

// The fixed column: a view of column 0 laid over the grid's left edge. Its scrolling is the
// grid's: the grid drives it, and it hands wheel turns and scroll requests to the grid.
class FrozenColumnView : public QTableView {
public:
    explicit FrozenColumnView(QTableView* grid) : QTableView(grid), m_grid(grid) {}

    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override { m_grid->scrollTo(index, hint); }

protected:
    void wheelEvent(QWheelEvent* event) override { QApplication::sendEvent(m_grid->viewport(), event); }

private:
    QTableView* m_grid;
};

const char* const kStyleSheet = R"(
puka--ui--GridView, QTableView#gridFrozenColumn {
    background: #FFFFFF;
    gridline-color: #E2E7EE;
    color: #222B38;
}
puka--ui--GridView {
    border: 1px solid #C8D1DD;
}
QTableView#gridFrozenColumn {
    border: none;
    border-right: 1px solid #C8D1DD;
}
QHeaderView::section {
    background: #EEF2F8;
    color: #2E3B52;
    border: none;
    border-right: 1px solid #D5DCE7;
    border-bottom: 1px solid #C8D1DD;
    padding: 3px 4px;
}
QTableCornerButton::section {
    background: #EEF2F8;
    border: none;
}
)";

void setUpTable(QTableView* view) {
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    view->setWordWrap(false);
    view->setTextElideMode(Qt::ElideRight);
    view->verticalHeader()->hide();
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->horizontalHeader()->setHighlightSections(false);
    view->horizontalHeader()->setMinimumSectionSize(4);
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    view->horizontalHeader()->setStretchLastSection(false);
    view->setCornerButtonEnabled(false);
}

} // namespace

GridView::GridView(QWidget* parent) : QTableView(parent), m_model(new GridTableModel(this)) {
    setUpTable(this);
    setStyleSheet(QString::fromLatin1(kStyleSheet));
    // Tab leaves the list for the next control; the arrow keys move within it
    setTabKeyNavigation(false);
    auto* delegate = new TintSelectionDelegate(this);
    setItemDelegate(delegate);
    QTableView::setModel(m_model);

    // The fixed column is a second view over the same model, laid over the left edge of this
    // one; it shares the selection and follows the vertical scrolling.
    m_frozen = new FrozenColumnView(this);
    m_frozen->setObjectName(QStringLiteral("gridFrozenColumn"));
    setUpTable(m_frozen);
    m_frozen->setItemDelegate(delegate);
    m_frozen->setModel(m_model);
    QItemSelectionModel* ownSelection = m_frozen->selectionModel();
    m_frozen->setSelectionModel(selectionModel());
    delete ownSelection;
    m_frozen->setFocusPolicy(Qt::NoFocus);
    m_frozen->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_frozen->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_frozen->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_frozen->hide();
    viewport()->stackUnder(m_frozen);

    connect(verticalScrollBar(), &QAbstractSlider::valueChanged, m_frozen->verticalScrollBar(),
            &QAbstractSlider::setValue);
    connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this, [this] { m_pendingTopRow = -1; });
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int section, int, int size) {
        if (section == 0) {
            m_frozen->setColumnWidth(0, size);
            updateFrozenColumn();
        }
    });

    const auto reportClick = [this](const QModelIndex& index) { Q_EMIT cellClicked(index.row() + 1, index.column()); };
    const auto reportDoubleClick = [this](const QModelIndex& index) {
        Q_EMIT cellDoubleClicked(index.row() + 1, index.column());
    };
    connect(this, &QAbstractItemView::clicked, this, reportClick);
    connect(m_frozen, &QAbstractItemView::clicked, this, reportClick);
    connect(this, &QAbstractItemView::doubleClicked, this, reportDoubleClick);
    connect(m_frozen, &QAbstractItemView::doubleClicked, this, reportDoubleClick);
    for (QHeaderView* header : {horizontalHeader(), m_frozen->horizontalHeader()}) {
        connect(header, &QHeaderView::sectionClicked, this, [this](int column) { Q_EMIT cellClicked(0, column); });
        connect(header, &QHeaderView::sectionDoubleClicked, this,
                [this](int column) { Q_EMIT cellDoubleClicked(0, column); });
    }
    applyLayout();
}

void GridView::setModel(GridModel grid) {
    const int top = grid.topRow;
    m_model->setGrid(std::move(grid));
    applyLayout();
    scrollToRow(top > 0 ? top : 1);
}

void GridView::updateModel(GridModel grid) {
    // a grid stays where the panel put it until the user scrolls it
    const bool placedByPanel = m_pendingTopRow >= 0;
    const int shownTop = topRow();
    const QModelIndex current = currentIndex();
    const int top = grid.topRow;
    m_model->setGrid(std::move(grid));
    applyLayout();
    if (current.isValid() && current.row() < m_model->rowCount())
        selectionModel()->setCurrentIndex(m_model->index(current.row(), current.column()),
                                          QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollToRow(placedByPanel ? std::max(top, 1) : std::max(shownTop, 1));
}

void GridView::applyLayout() {
    const GridModel& grid = m_model->grid();
    const QFont font = uiFont(grid.fontPt);
    const int rowHeight = QFontMetrics(font).height() + 8;
    for (QTableView* view : {static_cast<QTableView*>(this), m_frozen}) {
        view->setFont(font);
        view->horizontalHeader()->setFont(font);
        view->verticalHeader()->setMinimumSectionSize(1);
        view->verticalHeader()->setDefaultSectionSize(rowHeight);
        for (int c = 0; c < grid.columnCount(); ++c)
            view->setColumnWidth(c, twipsToPixels(grid.columns[static_cast<size_t>(c)].widthTwips, this));
    }
    for (int c = 0; c < grid.columnCount(); ++c)
        m_frozen->setColumnHidden(c, c != 0);
    updateFrozenColumn();
}

bool GridView::frozenActive() const {
    const GridModel& grid = m_model->grid();
    return grid.fixedColumns >= 1 && grid.columnCount() > 1;
}

void GridView::updateFrozenColumn() {
    // the base class lays out while this view is still being set up
    if (!m_frozen)
        return;
    if (!frozenActive()) {
        m_frozen->hide();
        return;
    }
    m_frozen->horizontalHeader()->setFixedHeight(horizontalHeader()->height());
    m_frozen->setGeometry(frameWidth(), frameWidth(), columnWidth(0) + 1,
                          viewport()->height() + horizontalHeader()->height());
    m_frozen->verticalScrollBar()->setRange(verticalScrollBar()->minimum(), verticalScrollBar()->maximum());
    m_frozen->verticalScrollBar()->setValue(verticalScrollBar()->value());
    m_frozen->show();
}

void GridView::updateGeometries() {
    QTableView::updateGeometries();
    updateFrozenColumn();
    applyPendingTopRow();
}

void GridView::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    updateFrozenColumn();
}

QString GridView::cellText(int gridRow, int column) const {
    const GridModel& grid = m_model->grid();
    if (column < 0 || column >= grid.columnCount())
        return {};
    if (gridRow == 0)
        return grid.columns[static_cast<size_t>(column)].header;
    if (gridRow < 1 || gridRow > grid.bodyRows())
        return {};
    return grid.cell(gridRow - 1, column);
}

void GridView::setCellText(int gridRow, int column, const QString& text) {
    m_model->setCellText(gridRow, column, text);
}

void GridView::setCellColour(int gridRow, int column, std::optional<Rgb> colour) {
    m_model->setCellColour(gridRow, column, colour);
}

void GridView::scrollToRow(int gridRow) {
    m_pendingTopRow = std::max(gridRow - 1, 0);
    applyPendingTopRow();
}

void GridView::applyPendingTopRow() {
    if (m_pendingTopRow < 0)
        return;
    const int bodyRows = m_model->rowCount();
    if (bodyRows == 0) {
        verticalScrollBar()->setValue(0);
        return;
    }
    const int row = std::min(m_pendingTopRow, bodyRows - 1);
    verticalScrollBar()->setValue(verticalHeader()->sectionPosition(row));
}

int GridView::topRow() const {
    if (m_model->rowCount() == 0)
        return 0;
    const int row = rowAt(0);
    return row < 0 ? 1 : row + 1;
}

int GridView::currentRow() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() + 1 : 0;
}

int GridView::currentColumn() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.column() : -1;
}

void GridView::setCurrentCell(int gridRow, int column) {
    const QModelIndex index = m_model->index(gridRow - 1, column);
    if (index.isValid())
        setCurrentIndex(index);
}

QModelIndex GridView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) {
    const QModelIndex current = QTableView::moveCursor(cursorAction, modifiers);
    // a cell that moves under the fixed column must be scrolled out from behind it
    if (frozenActive() && cursorAction == MoveLeft && current.column() > 0 &&
        visualRect(current).left() < m_frozen->columnWidth(0)) {
        const int overlap = m_frozen->columnWidth(0) - visualRect(current).left();
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() - overlap);
    }
    return current;
}

void GridView::scrollTo(const QModelIndex& index, ScrollHint hint) {
    // the fixed column is always in view, so only its row needs bringing into view
    if (frozenActive() && index.isValid() && index.column() == 0) {
        const int visibleColumn = std::max(columnAt(m_frozen->columnWidth(0) + 1), 1);
        QTableView::scrollTo(m_model->index(index.row(), visibleColumn), hint);
        return;
    }
    QTableView::scrollTo(index, hint);
}

void GridView::mousePressEvent(QMouseEvent* event) {
    m_pendingTopRow = -1;
    QTableView::mousePressEvent(event);
}

void GridView::keyPressEvent(QKeyEvent* event) {
    m_pendingTopRow = -1;
    QTableView::keyPressEvent(event);
}

void GridView::focusInEvent(QFocusEvent* event) {
    // Qt makes the first row current when the focus arrives, and scrolls to it; a grid the
    // panel scrolled to its end must stay there, and no row is chosen until the user chooses one
    const bool hadCurrent = currentIndex().isValid();
    const int scrolled = verticalScrollBar()->value();
    QTableView::focusInEvent(event);
    if (!hadCurrent && event->reason() != Qt::MouseFocusReason) {
        selectionModel()->clear();
        verticalScrollBar()->setValue(scrolled);
    }
}

void GridView::wheelEvent(QWheelEvent* event) {
    m_pendingTopRow = -1;
    QTableView::wheelEvent(event);
}

} // namespace puka::ui
