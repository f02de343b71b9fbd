// The readable description of a food looked up by its number, for the rows a list shows.
#pragma once

#include "db/wordindex.h"

#include <QCache>
#include <QString>

#include <memory>

class RowCursor;
class SQLiteDB;

// A list of many foods keeps only their numbers: the descriptions of the rows shown are looked up
// with one prepared statement and the last few thousand kept.
class DescriptionLookup {
public:
    DescriptionLookup(SQLiteDB &db, const WordIndex &words);
    ~DescriptionLookup();
    DescriptionLookup(const DescriptionLookup &) = delete;
    DescriptionLookup &operator=(const DescriptionLookup &) = delete;

    // Null when the food is not in the file.
    QString description(qint64 foodId);

private:
    SQLiteDB &db;
    const WordIndex &words;
    std::unique_ptr<RowCursor> lookup; // prepared at the first look-up
    QCache<qint64, QString> kept;
};
