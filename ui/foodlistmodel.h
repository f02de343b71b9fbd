// The rows of a food list: a few held whole, or a stream of foods looked up as they are shown.
#pragma once

#include "ui/foodlistitem.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <QTimer>

#include <memory>
#include <vector>

class FinderStream;
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
    // Replaces the rows by those of a started Find by Nutrients stream (none: no rows) and the
    // columns by these: the description, then one per value of the stream.
    void setFinder(std::unique_ptr<FinderStream> stream, const QStringList &columnHeaders);
    bool isFilling() const;
    // Reads what the stream still has to give, now, or until more rows than the limit are read:
    // false then.
    bool finishFilling(int rowLimit);

    // Rows read one after another (FoodStream::setReadingInTurn).
    void setReadingInTurn(bool on);

    void setHeader(int column, const QString &text);
    QString foodId(int row) const;
    // A cell as shown, made on demand; a Find by Nutrients value with three decimals, empty where
    // the food has no figure.
    QString text(int row, int column) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant &value,
                       int role) override;
    // By a column's keys (equal keys keep their order), or, with column -1, the order the rows
    // came in: Best Match order for a ranked stream. Find by Nutrients rows are sorted by their
    // values, those without a figure last, once all are read.
    void sort(int column, Qt::SortOrder order) override;

signals:
    // The stream read its last row.
    void filled();
    void fillFailed(const QString &message);

private:
    void streamRowsAdded(int previousCount);
    void finderRowsAdded();
    void announceFinderRows();
    void sortFinder();
    int finderRow(int row) const;

    QStringList headers;
    std::vector<FoodListItem> rows; // the rows held whole, in the order they came
    std::vector<int> shown;         // indexes into rows, in the shown order
    std::unique_ptr<FoodStream> stream;
    int streamCount = 0; // the stream's rows announced to the views
    std::unique_ptr<FinderStream> finder;
    QTimer finderAnnouncement;    // of the rows read since the last
    std::vector<int> finderOrder; // the finder's rows as sorted; empty: in the stream's order
    int finderSortColumn = -1;
    Qt::SortOrder finderSortOrder = Qt::AscendingOrder;
};
