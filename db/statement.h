// A prepared statement with bound values, for writing many rows quickly and without quoting.
#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

class SQLiteDB;
struct sqlite3_stmt;

// Prepared once and run once per row: values are bound by position (from 1) and never placed into
// the statement's text, so no text needs its apostrophes doubled. Failures are pending on the
// wrapper as for SQLiteDB::exec: tested with hasError() after run(). A statement that failed to
// prepare runs as a failure with the library's message.
class Statement {
public:
    Statement(SQLiteDB &db, const QString &sql);
    ~Statement();
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    bool isValid() const { return stmt != nullptr; }

    void bind(int index, int value) { bind(index, qint64(value)); }
    void bind(int index, qint64 value);
    void bind(int index, double value);
    // A null string binds NULL; an empty one an empty text.
    void bind(int index, const QString &text);
    // UTF-8 bytes as text, copied by the library.
    void bindUtf8(int index, QByteArrayView text);
    void bind(int index, const std::optional<double> &value);
    void bindNull(int index);

    // Runs the statement to its end (rows it yields are dropped), then resets it and clears the
    // bindings for the next run. False with the error pending on the wrapper.
    bool run();

private:
    SQLiteDB &db;
    sqlite3_stmt *stmt = nullptr;
    QString prepareError;
};
