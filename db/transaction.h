// A transaction on the food database that can never be left open or half committed.
#pragma once

class SQLiteDB;

// Begins in the constructor; commit() ends it; the destructor rolls back a transaction that was
// not committed, so an early return undoes everything written since the begin. When the begin
// fails (no connection, a transaction already open) the guard is inactive, its error is pending
// on the wrapper, and commit() does nothing and returns false.
class Transaction {
public:
    explicit Transaction(SQLiteDB &db);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    bool isActive() const { return active; }
    // True when everything written since the begin is stored; a failed commit rolls back.
    bool commit();
    void rollback();

private:
    SQLiteDB &db;
    bool active = false;
};
