// A row of the food lists: the readable description, an optional amount, the hidden food number.
#pragma once

#include <QString>
#include <QTreeWidgetItem>

class QTreeWidget;

class FoodListItem : public QTreeWidgetItem
{
public:
    // A row of the list (not yet inserted when list is null): description in column 0, value
    // (null when the row has none) in column 1.
    FoodListItem(QTreeWidget *list, const QString &foodId, const QString &description,
                 const QString &value);

    QString foodId() const { return id; }

    // The text a column sorts by: column 1 its value as "%10.2lf" (a text that is no number counts
    // as 0), any other column its text.
    static QString sortKey(const QString &text, int column);
    QString key(int column) const;

    bool operator<(const QTreeWidgetItem &other) const override;

private:
    QString id;
};
