// A food list: one row per food, its readable description, an optional amount, its hidden number.
#include "ui/foodlist.h"

#include "db/resultrows.h"
#include "settings/bookmarks.h"
#include "ui/foodlistitem.h"

#include <QHeaderView>
#include <QKeySequence>
#include <QMouseEvent>
#include <QShortcut>

FoodList::FoodList(const QStringList &headers, const QString &objectName, QWidget *parent)
    : QTreeWidget(parent)
    , withValueColumn(headers.size() > 1) {
    setObjectName(objectName);
    setAllColumnsShowFocus(true);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setHeaderLabels(headers);
    setSortingEnabled(true);
    if (withValueColumn) {
        setColumnWidth(0, 160);
        setColumnWidth(1, 56);
        headerItem()->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        sortByColumn(1, Qt::DescendingOrder);
        // The amounts keep their width and the descriptions take the rest of a wider window,
        // rather than the amounts' column growing into empty space.
        header()->setStretchLastSection(false);
        header()->setSectionResizeMode(0, QHeaderView::Stretch);
    } else {
        setColumnWidth(0, 320);
        sortByColumn(0, Qt::AscendingOrder);
    }

    connect(this, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item, int) {
        if (!(clickModifiers & (Qt::ControlModifier | Qt::ShiftModifier)))
            chooseItem(item);
    });
    // Return or Enter opens the current food, as a click on it does.
    for (const QKeySequence &key : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)}) {
        auto *shortcut = new QShortcut(key, this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, [this]() { chooseItem(currentItem()); });
    }
}

void FoodList::chooseItem(QTreeWidgetItem *item) {
    if (item && item->type() == FoodListItem::RowType)
        emit foodChosen(static_cast<FoodListItem *>(item)->foodId());
}

void FoodList::mouseReleaseEvent(QMouseEvent *event) {
    clickModifiers = event->modifiers(); // the click that the release completes
    QTreeWidget::mouseReleaseEvent(event);
}

QStringList FoodList::selectedFoodIds() const {
    QStringList ids;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        QTreeWidgetItem *row = topLevelItem(i);
        if (row->isSelected() && row->type() == FoodListItem::RowType)
            ids << static_cast<FoodListItem *>(row)->foodId();
    }
    return ids;
}

void FoodList::fill(const ResultRows &rows, bool withValue, const WordIndex &words) {
    const int count = rows.rowCount();
    QList<QTreeWidgetItem *> items;
    items.reserve(count);
    for (int i = 0; i < count; ++i)
        items.append(new FoodListItem(nullptr, rows.value(i, 0),
                                      expandDescription(rows.value(i, 1), words),
                                      withValue ? rows.value(i, 2) : QString()));
    replaceRows(items);
}

void FoodList::fill(const QList<BookmarkEntry> &bookmarks) {
    QList<QTreeWidgetItem *> items;
    items.reserve(bookmarks.size());
    for (const BookmarkEntry &entry : bookmarks)
        items.append(new FoodListItem(nullptr, entry.id, entry.text, QString()));
    replaceRows(items);
}

void FoodList::replaceRows(const QList<QTreeWidgetItem *> &items) {
    setEnabled(false);
    // Thousands of rows: no sorting and no painting while they go in, then one sort at the end.
    setUpdatesEnabled(false);
    setSortingEnabled(false);
    clear();
    addTopLevelItems(items);
    // Switching sorting on sorts once, by the header's indicator (which would start descending):
    // the amounts largest first, descriptions in ascending order.
    if (withValueColumn)
        header()->setSortIndicator(1, Qt::DescendingOrder);
    else
        header()->setSortIndicator(0, Qt::AscendingOrder);
    setSortingEnabled(true);
    setUpdatesEnabled(true);
    setEnabled(true);
}
