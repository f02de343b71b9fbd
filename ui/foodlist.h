// A food list: one row per food, its readable description, an optional amount, its hidden number.
#pragma once

#include "finding/wordindex.h"

#include <QTreeWidget>

class ResultRows;
struct BookmarkEntry;

class FoodList : public QTreeWidget {
    Q_OBJECT
public:
    // A list with the given column titles (one or two) sorted by its first column ascending, or,
    // with a value column, by the value descending.
    FoodList(const QStringList &headers, const QString &objectName, QWidget *parent);

    // Replaces the rows by those of a query result: column 0 the food number, column 1 the stored
    // description (shown expanded through the word index), column 2 the value when withValue.
    void fill(const ResultRows &rows, bool withValue, const WordIndex &words);
    // Replaces the rows by the bookmarks, which carry their own descriptions.
    void fill(const QList<BookmarkEntry> &bookmarks);

    // The food numbers of the selected rows, top to bottom.
    QStringList selectedFoodIds() const;

signals:
    // A plain click on a food row (a click with Ctrl or Shift only selects), or Return or Enter on
    // the current one.
    void foodChosen(const QString &foodId);

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void replaceRows(const QList<QTreeWidgetItem *> &items);
    void chooseItem(QTreeWidgetItem *item);

    bool withValueColumn;
    Qt::KeyboardModifiers clickModifiers;
};
