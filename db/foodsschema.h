// The tables of FOODS.db, shared by the database builder and the tests.
#pragma once

#include <QStringList>

// One nutrient column of FOODS_WR: amounts per 100 g of the nutrient with this USDA number
// (NUTR_DEF's Nutr_No), shown in the report under this name with this unit.
struct FoodsNutrient {
    const char *column;
    int number;
    const char *name;
    const char *unit;
};

constexpr int foodsNutrientCount = 25;
// The 25 nutrient columns in the report's order (its catalogue index). The table, the report's
// names and units, the builder's columns and the test fixtures all derive from this one table.
extern const FoodsNutrient foodsNutrients[foodsNutrientCount];

// CREATE TABLE statements of FOODS_GROUP, FOODS_WR and WORDS_WR, one statement per entry.
// NDB_No is an integer (the unquoted food number of the details statement and the "id int" of
// the ranking tables both match it); amounts and weights have numeric affinity so that the
// library orders them as numbers; an unknown amount is NULL.
QStringList foodsSchemaStatements();
// CREATE INDEX statements for the program's queries.
QStringList foodsIndexStatements();

// CREATE TABLE statements of the food's whole record and of the data's origin, which the program
// reads when present and does without when absent: SERVINGS (every serving in USDA order, Seq
// from 1), NUTRIENTS (every nutrient that some food has a figure for), NUTRIENT_DATA (one row per
// figure; an unknown figure has no row), DATA_INFO (Key, Value: where the data comes from) and
// BARCODES (the GTIN/UPC of branded foods without leading zeros).
QStringList foodsRecordSchemaStatements();
// CREATE INDEX statements for those tables, run once they are filled.
QStringList foodsRecordIndexStatements();
// The trigram index over FOODS_WR.desc that answers "desc like '%word%'" for words of three or
// more characters without reading every description: the CREATE VIRTUAL TABLE statement, then the
// statement that fills it from FOODS_WR (run after FOODS_WR is complete).
QStringList foodsSearchIndexStatements();

// CREATE TABLE statements of what each figure rests on, where the source says: NUTRIENT_STATS
// (one row per figure of NUTRIENT_DATA for which the source gives any of the number of analyses,
// their minimum, maximum and median, the standard error, the derivation and source codes or a
// footnote; NULL where not given) and FOOD_NOTES (the footnotes of a whole food, Seq from 1); then
// DERIVATIONS and SOURCES (code, description) when the source has those tables. A file without
// them is read as one whose source says nothing of the kind.
QStringList foodsBasisSchemaStatements(bool derivations, bool sources);
// The index of the figures by nutrient and value, which answers "foods with at most 200 mg of
// potassium" from a range of it; run once NUTRIENT_DATA is filled.
QString foodsValueIndexStatement();
