// A row of the food lists: the readable description, an optional amount, the hidden food number.
#pragma once

#include <QString>

// A value made when a row is shown (a list keeps no object per row it does not show), or kept
// for the short lists (Top 15, bookmarks) that are held whole.
class FoodListItem {
public:
    // The description goes in column 0, the value (null when the row has none) in column 1.
    FoodListItem(const QString &foodId, const QString &description, const QString &value);

    QString foodId() const { return id; }
    QString text(int column) const;

    // The text a column sorts by: column 1 its value as "%10.2lf" of the leading number of the
    // text (a text that is no number counts as 0), any other column its text. Keys compare as
    // text.
    static QString sortKey(const QString &text, int column);
    QString key(int column) const;

private:
    QString id;
    QString description;
    QString value;
    QString valueKey; // key(1), made once: sorting compares it many times
};
