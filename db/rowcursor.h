// One statement stepped a row at a time, for results too large to be held whole.
#pragma once

#include <QByteArrayView>
#include <QPointer>
#include <QString>

#include "db/sqlitedb.h"

struct sqlite3;
struct sqlite3_stmt;

// Prepares one statement on the wrapper's connection (a text holding a second statement is
// refused, as SQLiteDB::exec refuses it) and steps it on demand, so that a caller can read a long
// result in slices between events. Failures are kept here, not on the wrapper: hasError() and
// error(). A connection closed or reopened in the meantime ends the rows with an error.
class RowCursor {
public:
    RowCursor(SQLiteDB &db, const QString &sql);
    ~RowCursor();
    RowCursor(const RowCursor &) = delete;
    RowCursor &operator=(const RowCursor &) = delete;

    // Moves to the next row: false at the end of the rows or on a failure.
    bool next();
    bool atEnd() const { return finished; }
    bool hasError() const { return !failure.isNull(); }
    QString error() const { return failure; }

    // Binds an integer to the parameter (1 for the first "?") and starts the rows again.
    void rebind(int parameter, qint64 value);

    // Columns of the current row.
    bool isNull(int column) const;
    qint64 integer(int column) const;
    // A stored integer or real as a double; NaN for NULL and for text.
    double number(int column) const;
    QString text(int column) const; // null for NULL
    QByteArrayView utf8(int column) const;

private:
    bool connectionChanged() const;

    QPointer<SQLiteDB> wrapper;
    sqlite3 *connection = nullptr;
    sqlite3_stmt *statement = nullptr;
    bool finished = false;
    QString failure;
};
