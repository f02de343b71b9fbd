// The program's one gateway to the SQLite library: a connection, statements, pending errors.
#include "db/sqlitedb.h"

#include "db/sqltext.h"

#include <QFile>
#include <sqlite3.h>

namespace {

QString columnText(sqlite3_stmt *stmt, int column) {
    if (sqlite3_column_type(stmt, column) == SQLITE_NULL)
        return QString();
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, column));
    const int bytes = sqlite3_column_bytes(stmt, column);
    if (!text || bytes == 0)
        return QLatin1String(""); // empty, not null
    return QString::fromUtf8(text, bytes);
}

// The library's message for a failed call, never empty.
QString failureText(sqlite3 *db, int rc) {
    const char *msg = db ? sqlite3_errmsg(db) : nullptr;
    if (msg && *msg && sqlite3_errcode(db) == rc)
        return QString::fromUtf8(msg);
    return QString::fromUtf8(sqlite3_errstr(rc));
}

struct StatementGuard {
    sqlite3_stmt *stmt = nullptr;
    ~StatementGuard() { sqlite3_finalize(stmt); }
};

} // namespace

SQLiteDB::SQLiteDB() = default;

SQLiteDB::SQLiteDB(const QString &path, bool create) {
    open(path, create);
}

SQLiteDB::~SQLiteDB() {
    close();
}

bool SQLiteDB::open(const QString &path, bool create) {
    close();
    if (!create && !QFile::exists(path)) {
        setError(QStringLiteral("File does not exist"));
        return false;
    }
    sqlite3 *db = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
    int rc = sqlite3_open_v2(path.toUtf8().constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString msg = db ? failureText(db, rc) : QString();
        setError(msg.isEmpty() ? QStringLiteral("Unable to open/create database") : msg);
        sqlite3_close(db);
        return false;
    }
    // Before the first read: a database another program holds locked for a moment is waited for.
    sqlite3_busy_timeout(db, 2000);
    // SQLite opens lazily: read the catalogue now so that a file that is no database fails here.
    rc = sqlite3_exec(db, "select count(*) from sqlite_master", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        setError(failureText(db, rc));
        sqlite3_close(db);
        return false;
    }
    handle = db;
    return true;
}

void SQLiteDB::close() {
    if (handle) {
        // close_v2: when a nextRow receiver closes the wrapper mid-statement, the connection is
        // freed once that statement is finalised instead of staying open for good.
        sqlite3_close_v2(handle);
        handle = nullptr;
    }
}

ResultRows SQLiteDB::exec(const QString &sql, bool perRow) {
    errorPending = false;
    errorText.truncate(0);
    ResultRows result;
    if (!handle) {
        setError(QStringLiteral("Invalid database."));
        return result;
    }
    if (running) {
        setError(QStringLiteral("Query in progress."));
        return result;
    }
    currentResult = &result;
    running = true;
    const QString failure = runStatement(sql, perRow, result);
    running = false;
    currentResult = nullptr;
    if (!failure.isNull()) {
        setError(failure);
        if (!perRow)
            return ResultRows();
    }
    return result;
}

QString SQLiteDB::prepareOne(sqlite3 *db, const QByteArray &utf8, sqlite3_stmt **statement) {
    const char *const end = utf8.constData() + utf8.size();
    const char *rest = nullptr;
    *statement = nullptr;
    int rc = sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), statement, &rest);
    if (rc != SQLITE_OK)
        return failureText(db, rc);

    // Anything after the first statement but white space, comments and semicolons is refused
    // before the first one runs: a value spliced into the text must never start a statement.
    // The library stops reading at a NUL character, so text after one is refused as well rather
    // than silently dropped.
    while (rest && rest < end) {
        StatementGuard next;
        const char *after = nullptr;
        rc = sqlite3_prepare_v2(db, rest, int(end - rest), &next.stmt, &after);
        if (rc != SQLITE_OK || next.stmt || !after || after <= rest) {
            sqlite3_finalize(*statement);
            *statement = nullptr;
            return QStringLiteral("Refused to run: the text holds more than one SQL statement.");
        }
        rest = after;
    }
    return QString();
}

// Prepares and steps the one statement of the text; returns the failure text, null on success.
QString SQLiteDB::runStatement(const QString &sql, bool perRow, ResultRows &result) {
    // The connection this statement runs on; a nextRow receiver may close or reopen the wrapper.
    sqlite3 *const db = handle;
    StatementGuard statement;
    const QString failure = prepareOne(db, sql.toUtf8(), &statement.stmt);
    if (!failure.isNull())
        return failure;
    if (!statement.stmt)
        return QString(); // only white space, comments or semicolons

    const int columns = sqlite3_column_count(statement.stmt);
    int rc = SQLITE_OK;
    while ((rc = sqlite3_step(statement.stmt)) == SQLITE_ROW) {
        if (result.isEmpty()) {
            QList<QString> *names = result.columnList();
            for (int i = 0; i < columns; ++i)
                names->append(QString::fromUtf8(sqlite3_column_name(statement.stmt, i)));
        }
        QList<QString> values;
        values.reserve(columns);
        for (int i = 0; i < columns; ++i)
            values.append(columnText(statement.stmt, i));
        QList<QString> *row = result.addRow(std::move(values));
        if (perRow && row) {
            emit nextRow(row, result.columnList(), result.rowCount() - 1);
            // abortQuery(), or a receiver that closed the connection, ends the statement here.
            if (!running || handle != db)
                return QString::fromUtf8(sqlite3_errstr(SQLITE_ABORT));
        }
    }
    if (rc != SQLITE_DONE)
        return failureText(db, rc);
    return QString();
}

void SQLiteDB::setError(const QString &message) {
    if (message.isNull())
        return;
    errorPending = true;
    errorText += message;
}

bool SQLiteDB::run(const QString &sql) {
    exec(sql);
    return !errorPending;
}

bool SQLiteDB::tryRun(const QString &sql, ResultRows *rows) {
    const ResultRows result = exec(sql, false);
    if (errorPending) {
        clearError();
        return false;
    }
    if (rows)
        *rows = result;
    return true;
}

void SQLiteDB::clearError() {
    errorPending = false;
    errorText.truncate(0);
}

QString SQLiteDB::lastError() {
    if (!errorPending)
        return QString();
    errorPending = false;
    QString text = errorText;
    errorText.truncate(0);
    return text;
}

void SQLiteDB::abortQuery() {
    running = false;
}

QString SQLiteDB::version() {
    return QString::fromUtf8(sqlite3_libversion());
}

int SQLiteDB::userVersion() {
    if (!handle)
        return 0;
    sqlite3_stmt *stmt = nullptr;
    int version = 0;
    if (sqlite3_prepare_v2(handle, "PRAGMA user_version", -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW)
        version = sqlite3_column_int(stmt, 0);
    sqlite3_finalize(stmt);
    return version;
}

bool SQLiteDB::isReadOnly() const {
    return handle && sqlite3_db_readonly(handle, "main") == 1;
}
