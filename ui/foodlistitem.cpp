// A row of the food lists: the readable description, an optional amount, the hidden food number.
#include "ui/foodlistitem.h"

#include "platform/cnumber.h"

namespace {

// The key of every value that reads as no number; most rows (all but the Top 15 list's) have no
// value, and formatting the same zero for each of them would be wasted.
const QString zeroKey = QStringLiteral("      0.00");

} // namespace

FoodListItem::FoodListItem(const QString &foodId, const QString &desc, const QString &amount)
    : id(foodId)
    , description(desc)
    , value(amount)
    , valueKey(amount.isEmpty() ? zeroKey : sortKey(amount, 1)) {}

QString FoodListItem::text(int column) const {
    if (column == 0)
        return description;
    return column == 1 ? value : QString();
}

QString FoodListItem::sortKey(const QString &text, int column) {
    if (column != 1)
        return text;
    // The leading number, read as the stored amounts are read; nothing readable is 0.
    return QString::asprintf("%10.2lf", text.isEmpty() ? 0.0 : cStrtod(text));
}

QString FoodListItem::key(int column) const {
    if (column == 0)
        return description;
    return column == 1 ? valueKey : QString();
}
