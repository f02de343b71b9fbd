// The question of Find by Nutrients and the statements that answer it.
#pragma once

#include "finding/toprankings.h"

#include <QList>
#include <QString>
#include <QStringList>

class FoodsDatabase;

// What the open food database holds that the finder reads; the caller fills it from the file.
struct FinderSchema {
    // The tables NUTRIENTS and NUTRIENT_DATA.
    bool nutrientTables = false;
    // The index NUTRIENT_DATA_value on NUTRIENT_DATA (Nutr_No, Nutr_Val).
    bool valueIndex = false;
    // The columns of FOODS_WR.
    QStringList foodsColumns;
};

// What the session's file holds: its nutrient tables and value index, and the FOODS_WR columns the
// program reads (the session stands in for those the file lacks, which read as unknown).
FinderSchema finderSchema(const FoodsDatabase &foods);

// The amount of a nutrient (USDA number) on the query's basis is at least, or at most, this.
struct FinderCondition {
    int nutrient = 208;
    bool atMost = false;
    double amount = 0.0;
};

// A food is listed when it meets every condition; a food without a figure for a condition's
// nutrient never meets it. A figure is a number: NULL, an empty or any other text is none.
//
// A nutrient among the 25 amounts of FOODS_WR is read from there (where the file has the column),
// any other from NUTRIENT_DATA. Energy (208) is FOODS_WR's Energ_Kcal, the report's figure.
// Per 100 kcal an amount is amount × 100 / Energ_Kcal, per serving amount × GmWt_1 / 100 (the
// first serving); foods whose energy, or serving weight, is unknown or not above 0 are left out,
// as on the Top 15 page.
struct FinderQuery {
    QList<FinderCondition> conditions;
    TopBasis basis = TopBasis::Per100g;
    // The group's code; null for all groups.
    QString groupCode;
    // A statement whose first column lists the foods the search words find over all groups
    // (foodSearchStatement for "All Categories"); null without words.
    QString wordFoods;
    // The rows are ordered by this nutrient's amount, highest first when descending, foods
    // without a figure last; equal amounts by stored description (as the library orders text),
    // then by food number.
    int orderNutrient = 208;
    Qt::SortOrder order = Qt::DescendingOrder;
};

// The nutrients a row has a value for, in column order: the conditions' nutrients in their order,
// each once (two conditions on one nutrient make a range), then the order nutrient unless a
// condition names it. A condition whose amount is not a finite number is no condition.
QList<int> finderColumns(const FinderQuery &query);

// The statement whose first column lists the foods the query reads, in no particular order: those
// of the words where it has words, else those of the group; null when it reads every food.
QString finderScopeStatement(const FinderQuery &query);

// What a scan statement lists: the foods that meet every condition; those that fail no condition
// they have a figure for but lack a figure for one; or both.
enum class FinderRows { Listed, LeftOut, Both };

// Among the foods of the group that meet the condition on f.NDB_No in `foods` and that the basis
// keeps, the rows: food number, then the value of each column on the basis (NULL where the food
// has no figure; of the foods listed only the order nutrient's column can be NULL).
QString finderScanStatement(const FinderQuery &query, const FinderSchema &schema,
                            const QString &foods, FinderRows rows);

// The nutrient whose value index finderIndexStatement reads, 0 for none: per 100 g over all foods
// without words, where the file has the index, a condition's nutrient that NUTRIENT_DATA holds,
// the order nutrient where it is one.
int finderIndexNutrient(const FinderQuery &query, const FinderSchema &schema);

// The foods with a figure for that nutrient within its conditions, read from its value index,
// each looked up as it is found (which is quicker than reading every food when the figure is
// given for a part of them only): food number, 1 for a food listed (else 0, the other columns
// NULL: every food read is a row, so that each row takes a bounded time), the columns' values,
// the stored description, and the figure as stored. In the order of the figure where it is the
// order nutrient's, foods of one figure in no particular order. Null for no such nutrient.
QString finderIndexStatement(const FinderQuery &query, const FinderSchema &schema);

// The count line: "N foods" ("1 food"), and with foods left out for lack of a figure
// " (M more have no figure for A, B)" ("1 more has"), the names joined with "; " when one of
// them holds a comma.
QString finderCountText(qint64 found, qint64 more, const QStringList &missing);
