// A transaction on the food database that can never be left open or half committed.
#include "db/transaction.h"

#include "db/sqlitedb.h"

Transaction::Transaction(SQLiteDB &database)
    : db(database) {
    db.exec(QStringLiteral("begin"));
    active = !db.hasError();
}

Transaction::~Transaction() {
    rollback();
}

bool Transaction::commit() {
    if (!active)
        return false;
    db.exec(QStringLiteral("commit"));
    if (db.hasError()) {
        const QString failure = db.lastError();
        rollback();
        // The commit's own message stays pending for the caller, not the rollback's outcome.
        db.clearError();
        db.setError(failure);
        return false;
    }
    active = false;
    return true;
}

void Transaction::rollback() {
    if (!active)
        return;
    active = false;
    db.exec(QStringLiteral("rollback"));
}
