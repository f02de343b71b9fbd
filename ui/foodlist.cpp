// A food list: one row per food, its readable description, an optional amount, its hidden number.
#include "ui/foodlist.h"

#include "db/resultrows.h"
#include "finding/foodstream.h"
#include "settings/bookmarks.h"
#include "ui/foodlistmodel.h"

#include <QHeaderView>
#include <QKeySequence>
#include <QMouseEvent>
#include <QShortcut>
#include <QSignalBlocker>

#include <algorithm>

namespace {

// Typing letters jumps to a row that starts with them, which looks at every row in turn: on a
// longer list that would stall the window.
constexpr int keyboardSearchRowLimit = 20000;

} // namespace

FoodList::FoodList(const QStringList &headers, const QString &objectName, QWidget *parent)
    : QTableView(parent)
    , foods(new FoodListModel(headers, this))
    , withValueColumn(headers.size() > 1)
    , sortColumn(withValueColumn ? 1 : 0)
    , sortOrder(withValueColumn ? Qt::DescendingOrder : Qt::AscendingOrder) {
    setObjectName(objectName);
    setModel(foods);
    setShowGrid(false);
    setWordWrap(false);
    setTabKeyNavigation(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->hide();
    // Rows of one height, never measured: a view that measured them would read every row.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    QHeaderView *header = horizontalHeader();
    header->setHighlightSections(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    if (withValueColumn) {
        setColumnWidth(0, 160);
        setColumnWidth(1, 56);
        // The amounts keep their width and the descriptions take the rest of a wider window,
        // rather than the amounts' column growing into empty space.
        header->setStretchLastSection(false);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
    } else {
        setColumnWidth(0, 320);
        header->setStretchLastSection(true);
    }
    showSort(sortColumn, sortOrder);
    setSortingEnabled(true);
    // The header's sort indicator after a click is the sort a refill keeps.
    connect(header, &QHeaderView::sectionClicked, this, [this, header](int) {
        header->setSortIndicatorShown(true);
        sortColumn = header->sortIndicatorSection();
        sortOrder = header->sortIndicatorOrder();
    });

    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex &index) {
        if (!(clickModifiers & (Qt::ControlModifier | Qt::ShiftModifier)))
            chooseRow(index);
    });
    // Return or Enter opens the current food, as a click on it does.
    for (const QKeySequence &key : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)}) {
        auto *shortcut = new QShortcut(key, this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, [this]() { chooseRow(currentIndex()); });
    }
    connect(foods, &FoodListModel::filled, this, &FoodList::filled);
    connect(foods, &FoodListModel::fillFailed, this, &FoodList::fillFailed);
}

FoodList::~FoodList() = default;

void FoodList::chooseRow(const QModelIndex &index) {
    if (index.isValid())
        emit foodChosen(foods->foodId(index.row()));
}

void FoodList::mouseReleaseEvent(QMouseEvent *event) {
    clickModifiers = event->modifiers(); // the click that the release completes
    QTableView::mouseReleaseEvent(event);
}

void FoodList::keyboardSearch(const QString &search) {
    if (foods->rowCount() <= keyboardSearchRowLimit)
        QTableView::keyboardSearch(search);
}

void FoodList::showSort(int column, Qt::SortOrder order) {
    // The indicator alone: the view would sort the model a second time.
    {
        const QSignalBlocker quiet(horizontalHeader());
        horizontalHeader()->setSortIndicator(column, order);
    }
    horizontalHeader()->setSortIndicatorShown(column >= 0);
    foods->sort(column, order);
}

void FoodList::fill(const ResultRows &rows, bool withValue, const WordIndex &words) {
    const int count = rows.rowCount();
    std::vector<FoodListItem> items;
    items.reserve(size_t(count));
    for (int i = 0; i < count; ++i)
        items.emplace_back(rows.value(i, 0), expandDescription(rows.value(i, 1), words),
                           withValue ? rows.value(i, 2) : QString());
    foods->setRows(std::move(items));
    showSort(sortColumn, sortOrder);
}

void FoodList::fill(const QList<BookmarkEntry> &bookmarks) {
    std::vector<FoodListItem> items;
    items.reserve(size_t(bookmarks.size()));
    for (const BookmarkEntry &entry : bookmarks)
        items.emplace_back(entry.id, entry.text, QString());
    foods->setRows(std::move(items));
    showSort(sortColumn, sortOrder);
}

void FoodList::fill(std::unique_ptr<FoodStream> stream) {
    const bool ranked = stream && stream->isRanked();
    foods->setStream(std::move(stream));
    // A ranked list shows its own order; the sort chosen before comes back with the next list
    // that is not ranked.
    if (ranked)
        showSort(-1, Qt::AscendingOrder);
    else
        showSort(sortColumn, sortOrder);
}

Qt::SortOrder FoodList::nameOrder() const {
    return sortColumn == 0 ? sortOrder : Qt::AscendingOrder;
}

bool FoodList::isFilling() const {
    return foods->isFilling();
}

void FoodList::finishFilling() {
    foods->finishFilling();
}

void FoodList::setValueHeader(const QString &text) {
    foods->setHeader(1, text);
    // Wide enough for its title and the sort mark ("100kcal" is wider than the amounts).
    const int title = horizontalHeader()->fontMetrics().horizontalAdvance(text) + 24;
    setColumnWidth(1, qMax(56, title));
}

int FoodList::rowCount() const {
    return foods->rowCount();
}

QString FoodList::foodId(int row) const {
    return foods->foodId(row);
}

QString FoodList::text(int row, int column) const {
    return foods->item(row).text(column);
}

QStringList FoodList::selectedFoodIds() const {
    QModelIndexList selected = selectionModel()->selectedRows();
    std::sort(selected.begin(), selected.end(),
              [](const QModelIndex &a, const QModelIndex &b) { return a.row() < b.row(); });
    QStringList ids;
    for (const QModelIndex &index : selected)
        ids << foods->foodId(index.row());
    return ids;
}
