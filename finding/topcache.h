// The Top 15 ranking cache: small tables in the food database, built once.
#pragma once

#include "finding/statements.h"

#include <QString>

class SQLiteDB;

// Builds the twenty ranking tables and the table of the rankings per 100 kcal and per serving over
// all groups (topBasisTable) when the first ranking table is missing; otherwise does nothing.
// The build is one transaction: it completes whole or leaves no table behind, so a cut-short or
// failed build is simply tried again at the next start. A ranking leaves out foods whose amount
// is unknown (NULL or empty). Shows nothing: a database that cannot be written gets no cache.
// Writes one "executing query:" debug line per row of the twenty tables.
void prepareTopCache(SQLiteDB &db);
// Also builds, when it is missing, the table of how many foods of each group have an amount for
// each ranked nutrient (topCoverageTable), so that the Top 15 page never counts them over a large
// FOODS_WR.
// Drops all twenty ranking tables and the table of the other bases; errors are not read.
void dropTopCache(SQLiteDB &db);

// The name of the table of the fifteen foods of each criterion (Criterion, 0 to 19) per 100 kcal
// and per serving (Basis, topBasisName) over all groups (NDB_No), as topRankedFoods ranks them.
QString topBasisTable();

// The statement of a Top 15 list (food number, stored description, amount): over all groups the
// cached ranking (per 100 kcal and per serving only where the file has topBasisTable, else ranked
// now); within a group a ranking made now.
QString topStatement(SQLiteDB &db, int criterion, const QString &groupCode, TopBasis basis);

// The name of the table of counts, and the statement that makes it: per group, the number of
// foods ("Foods") and, under each ranked nutrient's column name, how many have an amount.
QString topCoverageTable();
QString topCoverageBuildStatement();

// The statement that ranks the foods for one criterion (0 to 19).
QString topRankingStatement(int index);
