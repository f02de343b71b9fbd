// The rows of a food list: a few held whole, or a stream of foods looked up as they are shown.
#include "ui/foodlistmodel.h"

#include "finding/finderstream.h"
#include "finding/foodstream.h"

#include <algorithm>
#include <cmath>

namespace {

// Rows of a Find by Nutrients stream announced as they come, a few screens' worth; then a few
// times a second.
constexpr int finderRowsAtOnce = 256;
constexpr int finderAnnounceMs = 100;

} // namespace

FoodListModel::FoodListModel(const QStringList &columnHeaders, QObject *parent)
    : QAbstractTableModel(parent)
    , headers(columnHeaders) {
    finderAnnouncement.setSingleShot(true);
    finderAnnouncement.setInterval(finderAnnounceMs);
    connect(&finderAnnouncement, &QTimer::timeout, this, &FoodListModel::announceFinderRows);
}

FoodListModel::~FoodListModel() = default;

void FoodListModel::setRows(std::vector<FoodListItem> items) {
    beginResetModel();
    stream.reset();
    finder.reset();
    streamCount = 0;
    rows = std::move(items);
    shown.resize(rows.size());
    for (size_t i = 0; i < shown.size(); ++i)
        shown[i] = int(i);
    endResetModel();
}

void FoodListModel::setStream(std::unique_ptr<FoodStream> foods) {
    beginResetModel();
    rows.clear();
    shown.clear();
    finder.reset();
    stream = std::move(foods);
    streamCount = stream ? stream->count() : 0;
    endResetModel();
    if (!stream)
        return;
    connect(stream.get(), &FoodStream::rowsAdded, this, &FoodListModel::streamRowsAdded);
    connect(stream.get(), &FoodStream::finished, this, &FoodListModel::filled);
    connect(stream.get(), &FoodStream::failed, this, &FoodListModel::fillFailed);
    if (stream->isFinished() && stream->error().isNull())
        emit filled();
    else
        stream->resume();
}

void FoodListModel::setFinder(std::unique_ptr<FinderStream> foods,
                              const QStringList &columnHeaders) {
    beginResetModel();
    rows.clear();
    shown.clear();
    stream.reset();
    finder = std::move(foods);
    headers = columnHeaders;
    finderOrder.clear();
    finderSortColumn = -1;
    finderAnnouncement.stop();
    streamCount = finder ? finder->count() : 0;
    endResetModel();
    if (!finder) {
        emit filled();
        return;
    }
    connect(finder.get(), &FinderStream::rowsAdded, this, &FoodListModel::finderRowsAdded);
    connect(finder.get(), &FinderStream::finished, this, [this] {
        sortFinder();
        emit filled();
    });
    connect(finder.get(), &FinderStream::failed, this, &FoodListModel::fillFailed);
    if (finder->isFinished() && finder->error().isNull())
        emit filled();
    finder->resume(); // the count of the foods left out may still be read
}

bool FoodListModel::isFilling() const {
    return (stream && !stream->isFinished()) || (finder && !finder->isFinished());
}

bool FoodListModel::finishFilling(int rowLimit) {
    if (finder)
        return finder->finishRows(rowLimit);
    return !stream || stream->finish(rowLimit);
}

void FoodListModel::setReadingInTurn(bool on) {
    if (stream)
        stream->setReadingInTurn(on);
}

void FoodListModel::streamRowsAdded(int previousCount) {
    const int added = stream->count() - streamCount;
    if (added <= 0)
        return;
    // The stream's order already holds the new rows: announce them where they now stand.
    const int first = stream->addsAtTop() ? 0 : previousCount;
    beginInsertRows(QModelIndex(), first, first + added - 1);
    streamCount += added;
    endInsertRows();
}

void FoodListModel::finderRowsAdded() {
    // Each announcement has the view lay out and paint anew, which would take a good part of
    // every slice of a long list.
    if (streamCount >= finderRowsAtOnce && !finder->isFinished()) {
        if (!finderAnnouncement.isActive())
            finderAnnouncement.start();
        return;
    }
    announceFinderRows();
}

void FoodListModel::announceFinderRows() {
    finderAnnouncement.stop();
    const int added = finder ? finder->count() - streamCount : 0;
    if (added <= 0)
        return;
    beginInsertRows(QModelIndex(), streamCount, streamCount + added - 1);
    streamCount += added;
    endInsertRows();
}

int FoodListModel::finderRow(int row) const {
    return finderOrder.empty() ? row : finderOrder[size_t(row)];
}

void FoodListModel::setHeader(int column, const QString &text) {
    setHeaderData(column, Qt::Horizontal, text, Qt::DisplayRole);
}

QString FoodListModel::foodId(int row) const {
    if (row < 0 || row >= rowCount())
        return QString();
    if (stream)
        return QString::number(stream->foodId(row));
    if (finder)
        return QString::number(finder->foodId(finderRow(row)));
    return rows[size_t(shown[size_t(row)])].foodId();
}

QString FoodListModel::text(int row, int column) const {
    if (row < 0 || row >= rowCount())
        return QString();
    if (stream)
        return column == 0 ? stream->description(row) : QString();
    if (finder) {
        const int at = finderRow(row);
        if (column == 0)
            return finder->description(at);
        const double value = finder->value(at, column - 1);
        return std::isnan(value) ? QString() : QString::number(value, 'f', 3);
    }
    return rows[size_t(shown[size_t(row)])].text(column);
}

int FoodListModel::rowCount(const QModelIndex &parent) const {
    if (parent.isValid())
        return 0;
    return stream || finder ? streamCount : int(shown.size());
}

int FoodListModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(headers.size());
}

QVariant FoodListModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
        return text(index.row(), index.column());
    case Qt::TextAlignmentRole:
        if (index.column() >= 1)
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        return QVariant();
    case Qt::UserRole:
        return foodId(index.row());
    default:
        return QVariant();
    }
}

QVariant FoodListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= headers.size())
        return QVariant();
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) // a narrow column cuts its title
        return headers.at(section);
    if (role == Qt::TextAlignmentRole)
        return QVariant((section >= 1 ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    return QVariant();
}

bool FoodListModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant &value,
                                  int role) {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= headers.size())
        return false;
    headers[section] = value.toString();
    emit headerDataChanged(orientation, section, section);
    return true;
}

void FoodListModel::sort(int column, Qt::SortOrder order) {
    if (finder) {
        finderSortColumn = column;
        finderSortOrder = order;
        if (finder->isFinished())
            sortFinder();
        return;
    }
    if (stream) {
        // Only the description orders a stream; the views are told all rows moved.
        using Order = FoodStream::Order;
        const Order wanted = column < 0                    ? Order::BestMatch
                             : order == Qt::AscendingOrder ? Order::NameAscending
                                                           : Order::NameDescending;
        if (column > 0 || wanted == stream->order() ||
            (wanted == Order::BestMatch && !stream->isRanked()))
            return;
        beginResetModel();
        stream->setOrder(wanted);
        endResetModel();
        return;
    }
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<int> heldRows;
    for (const QModelIndex &index : before)
        heldRows.push_back(shown[size_t(index.row())]);
    for (size_t i = 0; i < shown.size(); ++i)
        shown[i] = int(i);
    if (column >= 0 && column < columnCount()) {
        // Equal keys keep the order they came in, whichever the direction.
        std::stable_sort(shown.begin(), shown.end(), [&](int a, int b) {
            const QString &keyA = rows[size_t(a)].key(column);
            const QString &keyB = rows[size_t(b)].key(column);
            return order == Qt::AscendingOrder ? keyA < keyB : keyB < keyA;
        });
    }
    std::vector<int> rowOf(shown.size());
    for (size_t i = 0; i < shown.size(); ++i)
        rowOf[size_t(shown[i])] = int(i);
    QModelIndexList after;
    for (size_t i = 0; i < heldRows.size(); ++i)
        after << index(rowOf[size_t(heldRows[i])], before.at(int(i)).column());
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void FoodListModel::sortFinder() {
    const int column = finderSortColumn;
    if (finderOrder.empty() && column < 0)
        return;
    const size_t count = size_t(streamCount);
    std::vector<int> order(count);
    for (size_t i = 0; i < count; ++i)
        order[i] = int(i);
    const bool ascending = finderSortOrder == Qt::AscendingOrder;
    // Equal keys keep the stream's order, whichever the direction.
    if (column == 0) {
        std::vector<QString> names(count);
        for (size_t i = 0; i < count; ++i)
            names[i] = finder->description(int(i));
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            return ascending ? names[size_t(a)] < names[size_t(b)]
                             : names[size_t(b)] < names[size_t(a)];
        });
    } else if (column > 0) {
        // Foods without a figure last either way.
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            const double x = finder->value(a, column - 1);
            const double y = finder->value(b, column - 1);
            if (std::isnan(x) || std::isnan(y))
                return !std::isnan(x) && std::isnan(y);
            return ascending ? x < y : y < x;
        });
    }
    beginResetModel();
    finderOrder = column < 0 ? std::vector<int>() : std::move(order);
    endResetModel();
}
