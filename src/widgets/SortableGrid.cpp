#include "widgets/SortableGrid.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>

#include <algorithm>
#include <limits>
#include <numeric>
#include <vector>

namespace quillon {

class SortableGridModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : int(rows.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : int(headers.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid()) return {};
        if (role == Qt::DisplayRole) return rows.at(index.row()).at(index.column());
        if (role == Qt::CheckStateRole && index.column() == tickCol)
            return ticks.at(index.row()) ? Qt::Checked : Qt::Unchecked;
        return {};
    }
    bool setData(const QModelIndex& index, const QVariant& value, int role) override {
        if (!index.isValid() || role != Qt::CheckStateRole || index.column() != tickCol)
            return false;
        ticks[index.row()] = value.toInt() == Qt::Checked;
        emit dataChanged(index, index, {Qt::CheckStateRole});
        return true;
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override {
        // The tick box is drawn from the check state; the grid itself turns it on a click
        // anywhere in the cell (not only on the box), so the view's own toggle is left out.
        Q_UNUSED(index);
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
        return headers.value(section);
    }

    void reset(QStringList h, QList<QStringList> r) {
        beginResetModel();
        headers = std::move(h);
        rows = std::move(r);
        for (QStringList& row : rows) {
            if (row.size() > headers.size()) row.erase(row.begin() + headers.size(), row.end());
            while (row.size() < headers.size()) row.append(QString());
        }
        ticks = QList<bool>(rows.size(), false);
        source.resize(rows.size());
        std::iota(source.begin(), source.end(), 0);
        endResetModel();
    }

    void setHeader(int col, const QString& text) {
        headers[col] = text;
        emit headerDataChanged(Qt::Horizontal, col, col);
    }

    void sortRows(int col, bool descending) {
        const int n = int(rows.size());
        std::vector<int> order(n);
        std::iota(order.begin(), order.end(), 0);

        // Numbers when every cell that holds anything is one; empty cells come first. The tick
        // column sorts by its ticks: the rows not ticked first.
        std::vector<double> numbers(n);
        bool numeric = true;
        if (col == tickCol)
            for (int r = 0; r < n; ++r) numbers[r] = ticks.at(r) ? 1 : 0;
        for (int r = 0; r < n && numeric && col != tickCol; ++r) {
            const QString& text = rows.at(r).at(col);
            if (text.isEmpty())
                numbers[r] = -std::numeric_limits<double>::infinity();
            else
                numeric = IsNumericCell(text, &numbers[r]);
        }
        if (numeric) {
            std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
                return descending ? numbers[b] < numbers[a] : numbers[a] < numbers[b];
            });
        } else {
            // Without regard to case, then by case, as the lists sort.
            std::vector<QString> folded(n);
            for (int r = 0; r < n; ++r) folded[r] = rows.at(r).at(col).toCaseFolded();
            const auto less = [&](int a, int b) {
                const int c = folded[a].compare(folded[b]);
                if (c != 0) return c < 0;
                return rows.at(a).at(col) < rows.at(b).at(col);
            };
            std::stable_sort(order.begin(), order.end(),
                             [&](int a, int b) { return descending ? less(b, a) : less(a, b); });
        }

        beginResetModel();
        QList<QStringList> sorted;
        QList<bool> sortedTicks;
        QList<int> sortedSource;
        sorted.reserve(n);
        sortedTicks.reserve(n);
        sortedSource.reserve(n);
        for (int r : order) {
            sorted.append(std::move(rows[r]));
            sortedTicks.append(ticks.at(r));
            sortedSource.append(source.at(r));
        }
        rows = std::move(sorted);
        ticks = std::move(sortedTicks);
        source = std::move(sortedSource);
        endResetModel();
    }

    QStringList headers;
    QList<QStringList> rows;
    QList<bool> ticks;
    QList<int> source;  // each row's index in the list loaded
    int tickCol = -1;
};

SortableGrid::SortableGrid(QWidget* parent)
    : QTableView(parent), m_model(new SortableGridModel(this)) {
    setModel(m_model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    setWordWrap(false);
    // Tab moves on to the next control, as in the other lists; arrows move within the grid.
    setTabKeyNavigation(false);
    verticalHeader()->setVisible(false);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    // Columns are sized for their texts from a sample of rows, so a long table loads quickly.
    horizontalHeader()->setResizeContentsPrecision(500);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int col) {
        if (m_sortable) SortByColumn(col);
    });
    // The header forgets hidden sections when the model resets (a load, a sort).
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] { applyHiddenColumns(); });
    connect(this, &QTableView::clicked, this, [this](const QModelIndex& index) {
        if (index.isValid() && index.column() == m_model->tickCol)
            setTicked(index.row() + 1, !isTicked(index.row() + 1));
    });
    connect(this, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { emit rowDoubleClicked(index.row() + 1); });
}

SortableGrid::~SortableGrid() = default;

void SortableGrid::load(const QStringList& headers, QList<QStringList> rows) {
    m_model->reset(headers, std::move(rows));
    m_sortCol = -1;
    m_sortOrder = 1;
    setCurrentRow(0);
}

void SortableGrid::clear() {
    load({}, {});
}

int SortableGrid::dataRows() const {
    return m_model->rowCount();
}

int SortableGrid::columns() const {
    return m_model->columnCount();
}

QString SortableGrid::cell(int row, int col) const {
    if (col < 0 || col >= columns()) return {};
    if (row == 0) return headerText(col);
    if (row < 1 || row > dataRows()) return {};
    return m_model->rows.at(row - 1).at(col);
}

QStringList SortableGrid::rowCells(int row) const {
    QStringList out;
    for (int c = 0; c < columns(); ++c) out << cell(row, c);
    return out;
}

QString SortableGrid::headerText(int col) const {
    return m_model->headers.value(col);
}

int SortableGrid::sourceIndex(int row) const {
    if (row < 1 || row > dataRows()) return -1;
    return m_model->source.at(row - 1);
}

void SortableGrid::setHiddenColumns(const QList<int>& cols) {
    for (int c : m_hidden) setColumnHidden(c, false);
    m_hidden = cols;
    applyHiddenColumns();
}

void SortableGrid::applyHiddenColumns() {
    for (int c : m_hidden)
        if (c >= 0 && c < columns()) setColumnHidden(c, true);
}

int SortableGrid::currentRow() const {
    const QModelIndex current = selectionModel()->currentIndex();
    return current.isValid() ? current.row() + 1 : 0;
}

void SortableGrid::setCurrentRow(int row) {
    if (row < 1 || row > dataRows()) {
        selectionModel()->clear();
        return;
    }
    setCurrentIndex(m_model->index(row - 1, 0));
}

void SortableGrid::SortByColumn(int col) {
    if (col < 0 || col >= columns()) return;
    m_sortOrder = col == m_sortCol && m_sortOrder == 1 ? 2 : 1;
    m_model->sortRows(col, m_sortOrder == 2);
    if (m_sortCol >= 0) m_model->setHeader(m_sortCol, headerText(m_sortCol).mid(2));
    m_sortCol = col;
    m_model->setHeader(
        col, (m_sortOrder == 1 ? QStringLiteral("> ") : QStringLiteral("< ")) + headerText(col));
    setCurrentRow(0);
}

void SortableGrid::setTickColumn(int col) {
    m_model->tickCol = col;
    if (columns() > 0)
        emit m_model->dataChanged(m_model->index(0, 0),
                                  m_model->index(std::max(0, dataRows() - 1), columns() - 1));
}

bool SortableGrid::isTicked(int row) const {
    return row >= 1 && row <= dataRows() && m_model->ticks.at(row - 1);
}

void SortableGrid::setTicked(int row, bool ticked) {
    if (row < 1 || row > dataRows() || m_model->tickCol < 0) return;
    m_model->setData(m_model->index(row - 1, m_model->tickCol),
                     ticked ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
}

QList<int> SortableGrid::tickedRows() const {
    QList<int> out;
    for (int r = 1; r <= dataRows(); ++r)
        if (isTicked(r)) out << r;
    return out;
}

void SortableGrid::focusInEvent(QFocusEvent* event) {
    // Qt makes the first row current when a view without a current row takes the focus (the
    // window's first show, Tab): that would choose a row the user never clicked.
    const bool noneCurrent = !selectionModel()->currentIndex().isValid();
    QTableView::focusInEvent(event);
    if (noneCurrent && selectionModel()->currentIndex().isValid())
        selectionModel()->clearCurrentIndex();
}

void SortableGrid::keyPressEvent(QKeyEvent* event) {
    const int row = currentRow();
    if (event->key() == Qt::Key_Space && m_model->tickCol >= 0 && row > 0) {
        setTicked(row, !isTicked(row));
        return;
    }
    QTableView::keyPressEvent(event);
}

void SortableGrid::AutoSizeGrid() {
    resizeColumnsToContents();
    int width = 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < columns(); ++c)
        if (!isColumnHidden(c)) width += columnWidth(c);
    setMinimumWidth(std::min(width, 1400));
    setMinimumHeight(260);
    if (QWidget* w = window(); w && w != this && !w->isMaximized()) w->adjustSize();
}

QString SortableGrid::TextMatrix(int row, int col) const {
    return cell(row, col);
}

}  // namespace quillon
