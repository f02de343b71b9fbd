// A row of the food lists: the readable description, an optional amount, the hidden food number.
#include "ui/foodlistitem.h"

#include "platform/cnumber.h"

#include <QTreeWidget>

namespace {

// The key of every value that reads as no number; most rows (all but the Top 15 list's) have no
// value, and formatting the same zero for thousands of them is a good part of a list's fill.
const QString zeroKey = QStringLiteral("      0.00");

} // namespace

FoodListItem::FoodListItem(QTreeWidget *list, const QString &foodId, const QString &description,
                           const QString &value)
    : QTreeWidgetItem(list, QStringList{description, value}, RowType)
    , id(foodId)
    , descriptionKey(description)
    , valueKey(value.isEmpty() ? zeroKey : sortKey(value, 1)) {
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
    if (column == 0)
        return descriptionKey;
    return column == 1 ? valueKey : text(column);
}

bool FoodListItem::operator<(const QTreeWidgetItem &other) const {
    const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
    // Two rows of ours compare their kept keys directly: sorting thousands of rows makes this
    // comparison a hundred thousand times, too often to fetch and convert the column texts.
    if (other.type() == RowType && (column == 0 || column == 1)) {
        const auto &row = static_cast<const FoodListItem &>(other);
        return column == 0 ? descriptionKey < row.descriptionKey : valueKey < row.valueKey;
    }
    const QString otherKey = other.type() == RowType
                                 ? static_cast<const FoodListItem &>(other).key(column)
                                 : sortKey(other.text(column), column);
    return key(column) < otherKey;
}

void FoodListItem::setData(int column, int role, const QVariant &value) {
    QTreeWidgetItem::setData(column, role, value);
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return;
    if (column == 0)
        descriptionKey = text(0);
    else if (column == 1)
        valueKey = sortKey(text(1), 1);
}
