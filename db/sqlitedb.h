// The program's one gateway to the SQLite library: a connection, statements, pending errors.
#pragma once

#include "db/resultrows.h"

#include <QObject>
#include <QString>

struct sqlite3;
struct sqlite3_stmt;

// Runs one SQL statement at a time and returns every row it yields as a ResultRows. Failures are
// never thrown or printed: they are kept as a pending error text, tested with hasError() right
// after a call and taken once with lastError(). Texts cross the library boundary as UTF-8.
class SQLiteDB : public QObject {
    Q_OBJECT
public:
    SQLiteDB();
    SQLiteDB(const QString &path, bool create);
    ~SQLiteDB() override;

    // Opens the file, closing any connection first. With create false a missing file is the
    // error "File does not exist" and no file is made. A file that is not a database fails here.
    bool open(const QString &path, bool create);
    void close();
    bool isOpen() const { return handle != nullptr; }

    // Runs exactly one statement (a further statement in the text is refused and nothing runs).
    // perRow true emits nextRow for every row as it arrives; false returns rows only when the
    // statement succeeded. On failure the error is pending and, per row, the rows delivered so far
    // are returned.
    ResultRows exec(const QString &sql, bool perRow = true);

    // Runs a statement whose rows are not wanted: false with the error pending.
    bool run(const QString &sql);
    // Runs a statement whose failure the caller does without: false on failure, which leaves no
    // error pending.
    bool tryRun(const QString &sql, ResultRows *rows = nullptr);

    bool hasError() const { return errorPending; }
    // The pending error text, which it clears; a null string when nothing is pending.
    QString lastError();
    // Drops a pending error the caller has no use for.
    void clearError();

    // Stops a running per-row statement after the row being delivered.
    void abortQuery();

    static QString version();

    // The number stored by PRAGMA user_version (0 when unset or closed).
    int userVersion();

    // True when the library opened the file for reading only (its permissions forbid writing).
    bool isReadOnly() const;

signals:
    // Emitted once per row in per-row mode, with the row just appended (owned by the result, valid
    // while the result lives), the column names and the row's index.
    void nextRow(QList<QString> *row, QList<QString> *columns, int index);

private:
    friend class Transaction;
    friend class Statement;
    friend class RowCursor;
    // Prepares the one statement of the text into *statement (null for a text of blanks and
    // comments); the failure text, null on success. Text after the first statement is refused.
    static QString prepareOne(sqlite3 *db, const QByteArray &utf8, sqlite3_stmt **statement);
    void setError(const QString &message);
    QString runStatement(const QString &sql, bool perRow, ResultRows &result);

    ResultRows *currentResult = nullptr;
    bool running = false;
    sqlite3 *handle = nullptr;
    bool errorPending = false;
    QString errorText = QLatin1String("");
};
