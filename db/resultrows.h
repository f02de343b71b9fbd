// The rows and column names that one statement yielded, shared by reference count.
#pragma once

#include <QExplicitlySharedDataPointer>
#include <QList>
#include <QString>
#include <QStringList>

class ResultRowsData;

// Copies share one body, so returning, copying and assigning never copy rows. Reads outside the
// rows or columns (negative indexes too) give a null string; an SQL NULL is a null string and an
// empty text an empty, non-null one.
class ResultRows {
public:
    ResultRows();
    ResultRows(const ResultRows &other);
    ResultRows &operator=(const ResultRows &other);
    ~ResultRows();

    int rowCount() const;
    bool isEmpty() const;
    int columnCount() const;
    QString value(int row, int column) const;
    QString columnName(int column) const;

private:
    friend class SQLiteDB;
    // Appends one row; the returned row stays at its address while later rows are appended.
    QList<QString> *addRow(QList<QString> &&values);
    QList<QString> *columnList();

    QExplicitlySharedDataPointer<ResultRowsData> d;
};
