// The Top 15 page's twenty ranking criteria, and every statement that ranks foods by them.
#pragma once

#include <QString>

class FoodsDatabase;

// One criterion: its label in the criteria combo box, the FOODS_WR nutrient column it ranks by
// (an index into foodsNutrients, db/foodsschema.h) and its order.
struct TopCriterion {
    const char *label;
    int nutrient;
    bool ascending; // the two "Least" criteria; every other ranks the largest amount first
};

constexpr int topCriteriaCount = 20;
// In combo order: the index of a criterion is the index of its combo entry and of its table.
extern const TopCriterion topCriteria[topCriteriaCount];

// The column a criterion ranks by, and "asc" or "desc".
QString topColumn(int criterion);
QString topDirection(int criterion);

// What the amounts are taken per.
enum class TopBasis { Per100g, Per100kcal, PerServing };
// The name a basis has in the table of the other bases: "100g", "100kcal", "serving".
QString topBasisName(TopBasis basis);

// The ranking cache per 100 g over all groups: one table per criterion,
// "topdata_<column>_<index>", holding the fifteen food numbers (id).
QString topTableName(int criterion);
// The fifteen foods with an amount, ranked by one criterion, as the cache build stores them
// (food number, stored description, amount).
QString topRankingStatement(int criterion);
// Creating a cache table, and storing one food number in it.
QString topTableCreateStatement(int criterion);
QString topTableInsertStatement(int criterion, const QString &foodId);
QString topTableDropStatement(int criterion);
// A cached ranking for the list: food number, stored description, amount (no order: the list
// sorts by the amount).
QString topListStatement(int criterion);

// The table of the Top 15 per 100 kcal and per serving over all groups: the fifteen food numbers
// (NDB_No) of each criterion (Criterion, 0 to 19) and basis (Basis, topBasisName).
QString topBasisTable();
QString topBasisCreateStatement();
QString topBasisFillStatement(int criterion, TopBasis basis);

// The numbers of the fifteen foods ranked by a criterion's amount per basis, within the group with
// the code (all groups when null). Foods without the amount are left out, per 100 kcal also those
// whose energy is unknown or not above 0, per serving those without a first serving weight above
// 0. Equal amounts rank by food number.
QString topRankedFoods(int criterion, const QString &groupCode, TopBasis basis);
// Those fifteen foods in rank order: food number, stored description, amount. With cached, over
// all groups, they are the ones the table of the other bases holds for the criterion and basis,
// which gives the same rows without ranking every food.
QString topLiveStatement(int criterion, const QString &groupCode, TopBasis basis,
                         bool cached = false);
// The statement of a Top 15 list: over all groups the cached ranking (per 100 kcal and per serving
// only where the file has the table of the other bases, else ranked now); within a group a ranking
// made now.
QString topStatement(const FoodsDatabase &foods, int criterion, const QString &groupCode,
                     TopBasis basis);

// The table of counts: per group (FdGrp_Cd), the number of foods ("Foods") and, under each ranked
// column's name, how many have an amount; and the statement that makes it.
QString topCoverageTable();
QString topCoverageBuildStatement();
// How many foods of the group (all groups when null) have an amount for the criterion, and how
// many foods the group has; from the table of counts when counted is true.
QString topCoverageStatement(int criterion, const QString &groupCode, bool counted);

// The index a Top 15 within a group is ranked from without reading the foods' rows: the group, the
// energy and first serving weight of the other bases, then every ranked column.
QString topRankingIndexStatement();
