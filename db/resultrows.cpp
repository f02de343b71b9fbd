// The rows and column names that one statement yielded, shared by reference count.
#include "db/resultrows.h"

#include <QSharedData>
#include <deque>

class ResultRowsData : public QSharedData {
public:
    std::deque<QList<QString>> rows; // a deque keeps rows in place while more are appended
    QList<QString> columns;
};

ResultRows::ResultRows()
    : d(new ResultRowsData) {}

ResultRows::ResultRows(const ResultRows &other) = default;
ResultRows &ResultRows::operator=(const ResultRows &other) = default;
ResultRows::~ResultRows() = default;

int ResultRows::rowCount() const {
    return int(d->rows.size());
}

bool ResultRows::isEmpty() const {
    return d->rows.empty();
}

int ResultRows::columnCount() const {
    return int(d->columns.size());
}

QString ResultRows::value(int row, int column) const {
    if (row < 0 || size_t(row) >= d->rows.size())
        return QString();
    const QList<QString> &r = d->rows[size_t(row)];
    if (column < 0 || column >= r.size())
        return QString();
    return r.at(column);
}

QString ResultRows::columnName(int column) const {
    if (column < 0 || column >= d->columns.size())
        return QString();
    return d->columns.at(column);
}

QList<QString> *ResultRows::addRow(QList<QString> &&values) {
    if (values.isEmpty())
        return nullptr;
    d->rows.push_back(std::move(values));
    return &d->rows.back();
}

QList<QString> *ResultRows::columnList() {
    return &d->columns;
}
