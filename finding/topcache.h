// The Top 15 ranking cache: small tables in the food database, built once.
#pragma once

class FoodsDatabase;

// Builds, when the first ranking table is missing, the twenty ranking tables and the table of the
// rankings per 100 kcal and per serving over all groups; otherwise does nothing. The build is one
// transaction: it completes whole or leaves no table behind, so a cut-short or failed build is
// simply tried again at the next start. A ranking leaves out foods whose amount is unknown (NULL
// or empty). Shows nothing: a database that cannot be written gets no cache. Writes one
// "executing query:" debug line per row of the twenty tables.
// Also builds, when it is missing, the table of how many foods of each group have an amount for
// each ranked nutrient, so that the Top 15 page never counts them over a large FOODS_WR.
// The database learns the tables it now has.
void prepareTopCache(FoodsDatabase &foods);
// Drops all twenty ranking tables and the table of the other bases; errors are not read.
void dropTopCache(FoodsDatabase &foods);
