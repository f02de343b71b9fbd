// A row of the food lists: the readable description, an optional amount, the hidden food number.
#pragma once

#include <QString>
#include <QTreeWidgetItem>

class QTreeWidget;

class FoodListItem : public QTreeWidgetItem {
public:
    // The item type that tells these rows from plain tree items.
    static constexpr int RowType = QTreeWidgetItem::UserType + 1;

    // A row with the description in column 0 and the value (null when the row has none) in
    // column 1, appended to the list; a null list makes a row that is inserted later (the way to
    // fill a list with many rows in one call).
    FoodListItem(QTreeWidget *list, const QString &foodId, const QString &description,
                 const QString &value);

    QString foodId() const { return id; }

    // The text a column sorts by: column 1 its value as "%10.2lf" of the leading number of the
    // text (a text that is no number counts as 0), any other column its text. Keys compare as
    // text.
    static QString sortKey(const QString &text, int column);
    QString key(int column) const;

    bool operator<(const QTreeWidgetItem &other) const override;
    void setData(int column, int role, const QVariant &value) override;

private:
    QString id;
    QString descriptionKey; // key(0), the description; shares the column text's data
    QString valueKey;       // key(1), made once: sorting compares it many times
};
