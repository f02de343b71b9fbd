// The Top 15 ranking cache: twenty small tables in the food database, built once.
#pragma once

class SQLiteDB;

// Builds the twenty ranking tables when the first of them is missing; otherwise does nothing.
// Reads no errors and shows nothing: a database that cannot be written simply gets no cache.
void prepareTopCache(SQLiteDB &db);
// Drops all twenty ranking tables; errors are not read.
void dropTopCache(SQLiteDB &db);
