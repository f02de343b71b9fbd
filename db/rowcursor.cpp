// One statement stepped a row at a time, for results too large to be held whole.
#include "db/rowcursor.h"

#include <cmath>
#include <sqlite3.h>

RowCursor::RowCursor(SQLiteDB &db, const QString &sql)
    : wrapper(&db)
    , connection(db.handle) {
    if (!connection) {
        failure = QStringLiteral("Invalid database.");
        finished = true;
        return;
    }
    failure = SQLiteDB::prepareOne(connection, sql.toUtf8(), &statement);
    finished = !statement;
}

RowCursor::~RowCursor() {
    sqlite3_finalize(statement);
}

bool RowCursor::connectionChanged() const {
    return !wrapper || wrapper->handle != connection;
}

bool RowCursor::next() {
    if (finished)
        return false;
    if (connectionChanged()) {
        failure = QString::fromUtf8(sqlite3_errstr(SQLITE_ABORT));
        finished = true;
        return false;
    }
    const int rc = sqlite3_step(statement);
    if (rc == SQLITE_ROW)
        return true;
    finished = true;
    if (rc != SQLITE_DONE) {
        const char *message = sqlite3_errmsg(connection);
        failure = message && *message ? QString::fromUtf8(message)
                                      : QString::fromUtf8(sqlite3_errstr(rc));
    }
    return false;
}

void RowCursor::rebind(int parameter, qint64 value) {
    if (!statement || connectionChanged())
        return;
    sqlite3_reset(statement);
    sqlite3_bind_int64(statement, parameter, value);
    finished = false;
    failure = QString();
}

bool RowCursor::isNull(int column) const {
    return sqlite3_column_type(statement, column) == SQLITE_NULL;
}

qint64 RowCursor::integer(int column) const {
    return sqlite3_column_int64(statement, column);
}

double RowCursor::number(int column) const {
    const int type = sqlite3_column_type(statement, column);
    return type == SQLITE_INTEGER || type == SQLITE_FLOAT ? sqlite3_column_double(statement, column)
                                                          : std::nan("");
}

QString RowCursor::text(int column) const {
    if (isNull(column))
        return QString();
    const QByteArrayView bytes = utf8(column);
    return bytes.isEmpty() ? QLatin1String("") : QString::fromUtf8(bytes);
}

QByteArrayView RowCursor::utf8(int column) const {
    const auto *data = reinterpret_cast<const char *>(sqlite3_column_text(statement, column));
    return QByteArrayView(data, data ? sqlite3_column_bytes(statement, column) : 0);
}
