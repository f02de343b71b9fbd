// A row of the food lists: the readable description, an optional amount, the hidden food number.
#include "finding/foodlistitem.h"

#include <QTreeWidget>

FoodListItem::FoodListItem(QTreeWidget *list, const QString &foodId, const QString &description,
                           const QString &value)
    : QTreeWidgetItem(list, QStringList{description, value})
    , id(foodId)
{
    if (list && list->columnCount() > 1)
        setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
}

QString FoodListItem::sortKey(const QString &text, int column)
{
    if (column == 1)
        return QString::asprintf("%10.2lf", text.toDouble());
    return text;
}

QString FoodListItem::key(int column) const
{
    return sortKey(text(column), column);
}

bool FoodListItem::operator<(const QTreeWidgetItem &other) const
{
    const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
    return key(column) < sortKey(other.text(column), column);
}
