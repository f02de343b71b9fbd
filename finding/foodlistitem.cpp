// A row of the food lists: the readable description, an optional amount, the hidden food number.
#include "finding/foodlistitem.h"

#include "platform/cnumber.h"

#include <QTreeWidget>

FoodListItem::FoodListItem(QTreeWidget *list, const QString &foodId, const QString &description,
                           const QString &value)
    : QTreeWidgetItem(list, QStringList{description, value}, RowType)
    , id(foodId)
    , valueKey(sortKey(value, 1)) {
    if (!value.isNull())
        setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
}

QString FoodListItem::sortKey(const QString &text, int column) {
    if (column != 1)
        return text;
    // The leading number, as the text-to-number conversion of the stored amounts has always read
    // it; nothing readable is 0.
    return QString::asprintf("%10.2lf", text.isEmpty() ? 0.0 : cStrtod(text));
}

QString FoodListItem::key(int column) const {
    return column == 1 ? valueKey : text(column);
}

bool FoodListItem::operator<(const QTreeWidgetItem &other) const {
    const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
    const QString otherKey = other.type() == RowType
                                 ? static_cast<const FoodListItem &>(other).key(column)
                                 : sortKey(other.text(column), column);
    return key(column) < otherKey;
}

void FoodListItem::setData(int column, int role, const QVariant &value) {
    QTreeWidgetItem::setData(column, role, value);
    if (column == 1 && (role == Qt::DisplayRole || role == Qt::EditRole))
        valueKey = sortKey(text(1), 1);
}
