// The rows of a food list: a few held whole, or a stream of foods looked up as they are shown.
#pragma once

#include "ui/foodlistitem.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <memory>
#include <vector>

class FoodStream;

class FoodListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    FoodListModel(const QStringList &headers, QObject *parent);
    ~FoodListModel() override;

    // Replaces the rows by these, in this order until sort() is called.
    void setRows(std::vector<FoodListItem> items);
    // Replaces the rows by those of a started stream, which the model then owns.
    void setStream(std::unique_ptr<FoodStream> stream);
    bool isFilling() const;
    // Reads what the stream still has to give, now, or until more rows than the limit are read:
    // false then.
    bool finishFilling(int rowLimit);

    // Rows read one after another (FoodStream::setReadingInTurn).
    void setReadingInTurn(bool on);

    void setHeader(int column, const QString &text);
    QString foodId(int row) const;
    // The row as shown, made on demand.
    FoodListItem item(int row) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant &value,
                       int role) override;
    // By a column's keys (equal keys keep their order), or, with column -1, the order the rows
    // came in: Best Match order for a ranked stream.
    void sort(int column, Qt::SortOrder order) override;

signals:
    // The stream read its last row.
    void filled();
    void fillFailed(const QString &message);

private:
    void streamRowsAdded(int previousCount);

    QStringList headers;
    std::vector<FoodListItem> rows; // the rows held whole, in the order they came
    std::vector<int> shown;         // indexes into rows, in the shown order
    std::unique_ptr<FoodStream> stream;
    int streamCount = 0; // the stream's rows announced to the views
};
