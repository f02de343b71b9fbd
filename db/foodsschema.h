// The tables of FOODS.db, shared by the database builder and the tests.
#pragma once

#include <QStringList>

constexpr int foodsNutrientCount = 25;
// The nutrient columns of FOODS_WR, amounts per 100 g, in nutrient catalogue order.
extern const char *const foodsNutrientColumns[foodsNutrientCount];

// CREATE TABLE statements of FOODS_GROUP, FOODS_WR and WORDS_WR, one statement per entry.
// NDB_No is an integer (the unquoted food number of the details statement and the "id int" of
// the ranking tables both match it); amounts and weights have numeric affinity so that the
// library orders them as numbers; an unknown amount is NULL.
QStringList foodsSchemaStatements();
// CREATE INDEX statements for the program's queries.
QStringList foodsIndexStatements();
// A statement that reads no row but names every table and column the program reads: it fails
// with the library's message ("no such table: WORDS_WR", "no such column: FOODS_WR.desc") on a
// file that lacks one, and succeeds on any FOODS.db the program can use.
QString foodsProbeStatement();
