// A prepared statement with bound values, for writing many rows quickly and without quoting.
#include "db/statement.h"

#include "db/sqlitedb.h"

#include <sqlite3.h>

Statement::Statement(SQLiteDB &database, const QString &sql)
    : db(database) {
    if (!db.handle) {
        prepareError = QStringLiteral("Invalid database.");
        return;
    }
    prepareError = SQLiteDB::prepareOne(db.handle, sql.toUtf8(), &stmt);
}

Statement::~Statement() {
    sqlite3_finalize(stmt);
}

void Statement::bind(int index, qint64 value) {
    sqlite3_bind_int64(stmt, index, value);
}

void Statement::bind(int index, double value) {
    sqlite3_bind_double(stmt, index, value);
}

void Statement::bind(int index, const QString &text) {
    if (text.isNull()) {
        bindNull(index);
        return;
    }
    bindUtf8(index, text.toUtf8());
}

void Statement::bindUtf8(int index, QByteArrayView text) {
    // A null pointer would bind NULL: an empty text keeps a valid one.
    sqlite3_bind_text64(stmt, index, text.data() ? text.data() : "", sqlite3_uint64(text.size()),
                        SQLITE_TRANSIENT, SQLITE_UTF8);
}

void Statement::bind(int index, const std::optional<double> &value) {
    if (value)
        bind(index, *value);
    else
        bindNull(index);
}

void Statement::bindNull(int index) {
    sqlite3_bind_null(stmt, index);
}

bool Statement::run() {
    db.errorPending = false;
    db.errorText.truncate(0);
    if (!stmt) {
        db.setError(prepareError);
        return false;
    }
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    }
    const bool done = rc == SQLITE_DONE;
    if (!done)
        db.setError(QString::fromUtf8(sqlite3_errmsg(sqlite3_db_handle(stmt))));
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    return done;
}
