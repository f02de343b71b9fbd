// The Top 15 page's twenty ranking criteria, and every statement that ranks foods by them.
#include "finding/toprankings.h"

#include "db/foodsdatabase.h"
#include "db/foodsschema.h"
#include "db/sqltext.h"

#include <QStringList>

namespace {

// Catalogue indexes of the ranked columns (db/foodsschema.cpp).
enum : int {
    energy = 0,
    cholesterol = 1,
    saturatedFat = 3,
    carbohydrate = 5,
    fiber = 6,
    protein = 7,
    vitaminC = 8,
    vitaminB6 = 9,
    vitaminB12 = 10,
    vitaminA = 11,
    vitaminE = 12,
    calcium = 17,
    iron = 18,
    sodium = 19,
    magnesium = 20,
    zinc = 22,
    copper = 23,
    selenium = 24,
};

// An amount the USDA gives: not NULL and not an empty text.
QString known(const QString &column) {
    return QStringLiteral("%1 is not null and %1 <> ''").arg(column);
}

// The amount a food is ranked by, and the condition for having one.
struct TopAmount {
    QString amount;
    QString condition;
};

TopAmount topAmount(int criterion, TopBasis basis) {
    const QString column = topColumn(criterion);
    TopAmount top{column, known(column)};
    if (basis == TopBasis::Per100kcal) {
        top.amount = QStringLiteral("%1 * 100.0 / Energ_Kcal").arg(column);
        top.condition += QStringLiteral(" and ") + known(QStringLiteral("Energ_Kcal")) +
                         QStringLiteral(" and Energ_Kcal > 0");
    } else if (basis == TopBasis::PerServing) {
        top.amount = QStringLiteral("%1 * GmWt_1 / 100.0").arg(column);
        top.condition += QStringLiteral(" and ") + known(QStringLiteral("GmWt_1")) +
                         QStringLiteral(" and GmWt_1 > 0");
    }
    return top;
}

// Every ranked column once, in criteria order.
QStringList rankedColumns() {
    QStringList columns;
    for (int i = 0; i < topCriteriaCount; ++i)
        if (!columns.contains(topColumn(i)))
            columns << topColumn(i);
    return columns;
}

} // namespace

// The labels "Vitamine ..." and "Carbon" are the program's own: see docs/compatibility.md.
const TopCriterion topCriteria[topCriteriaCount] = {
    {"Most saturated fat", saturatedFat, false},
    {"Least saturated fat", saturatedFat, true},
    {"Most calories", energy, false},
    {"Least calories", energy, true},
    {"Cholesterol", cholesterol, false},
    {"Vitamine C", vitaminC, false},
    {"Vitamine B6", vitaminB6, false},
    {"Vitamine B12", vitaminB12, false},
    {"Vitamine A", vitaminA, false},
    {"Vitamine E", vitaminE, false},
    {"Carbon", carbohydrate, false},
    {"Fiber", fiber, false},
    {"Calcium", calcium, false},
    {"Iron", iron, false},
    {"Sodium", sodium, false},
    {"Magnesium", magnesium, false},
    {"Zinc", zinc, false},
    {"Copper", copper, false},
    {"Selenium", selenium, false},
    {"Protein", protein, false},
};

QString topColumn(int criterion) {
    return QLatin1String(foodsNutrients[topCriteria[criterion].nutrient].column);
}

QString topDirection(int criterion) {
    return topCriteria[criterion].ascending ? QStringLiteral("asc") : QStringLiteral("desc");
}

QString topBasisName(TopBasis basis) {
    return basis == TopBasis::Per100kcal   ? QStringLiteral("100kcal")
           : basis == TopBasis::PerServing ? QStringLiteral("serving")
                                           : QStringLiteral("100g");
}

QString topTableName(int criterion) {
    return QStringLiteral("topdata_%1_%2").arg(topColumn(criterion)).arg(criterion);
}

QString topRankingStatement(int criterion) {
    // Foods with no figure for the nutrient are left out: sorted ascending they would otherwise
    // fill the "Least" rankings, since NULL and text order before any number.
    const QString column = topColumn(criterion);
    return QStringLiteral("select NDB_No,desc, %1 from FOODS_WR where %2 order by %1 %3 LIMIT 15")
        .arg(column, known(column), topDirection(criterion));
}

QString topTableCreateStatement(int criterion) {
    return QStringLiteral("create table %1 ( id int PRIMARY_KEY )").arg(topTableName(criterion));
}

QString topTableInsertStatement(int criterion, const QString &foodId) {
    return QStringLiteral("insert into %1 values ('%2')")
        .arg(topTableName(criterion), sqlQuoted(foodId));
}

QString topTableDropStatement(int criterion) {
    return QStringLiteral("drop table ") + topTableName(criterion);
}

QString topListStatement(int criterion) {
    return QStringLiteral("select id,desc, %1 from %2, FOODS_WR where NDB_No=id ")
        .arg(topColumn(criterion), topTableName(criterion));
}

QString topBasisTable() {
    return QStringLiteral("topbasis");
}

QString topBasisCreateStatement() {
    return QStringLiteral("create table %1 (Criterion INTEGER NOT NULL, Basis TEXT NOT NULL, "
                          "NDB_No INTEGER NOT NULL, PRIMARY KEY (Criterion, Basis, NDB_No)) "
                          "WITHOUT ROWID")
        .arg(topBasisTable());
}

QString topBasisFillStatement(int criterion, TopBasis basis) {
    return QStringLiteral("insert into %1 select %2, '%3', NDB_No from (%4)")
        .arg(topBasisTable(), QString::number(criterion), topBasisName(basis),
             topRankedFoods(criterion, QString(), basis));
}

QString topRankedFoods(int criterion, const QString &groupCode, TopBasis basis) {
    const TopAmount top = topAmount(criterion, basis);
    QString condition = top.condition;
    if (!groupCode.isNull())
        condition += QStringLiteral(" and FdGrp_Cd='%1'").arg(sqlQuoted(groupCode));
    // Food numbers only: within a group the foods' amounts are all read from the ranking index.
    return QStringLiteral("select NDB_No from FOODS_WR where %1 order by %2 %3, NDB_No LIMIT 15")
        .arg(condition, top.amount, topDirection(criterion));
}

QString topLiveStatement(int criterion, const QString &groupCode, TopBasis basis, bool cached) {
    const TopAmount top = topAmount(criterion, basis);
    const QString foods =
        cached ? QStringLiteral("select NDB_No from %1 where Criterion=%2 and Basis='%3'")
                     .arg(topBasisTable(), QString::number(criterion), topBasisName(basis))
               : topRankedFoods(criterion, groupCode, basis);
    // Ranked by the exact amount, shown with three decimals as the stored amounts are.
    const QString shown =
        basis == TopBasis::Per100g ? top.amount : QStringLiteral("round(%1, 3)").arg(top.amount);
    return QStringLiteral("select NDB_No,desc, %1 from FOODS_WR where NDB_No in (%2) order by %3 "
                          "%4, NDB_No")
        .arg(shown, foods, top.amount, topDirection(criterion));
}

QString topStatement(const FoodsDatabase &foods, int criterion, const QString &groupCode,
                     TopBasis basis) {
    if (!groupCode.isNull())
        return topLiveStatement(criterion, groupCode, basis);
    if (basis == TopBasis::Per100g)
        return topListStatement(criterion);
    return topLiveStatement(criterion, groupCode, basis, foods.hasTable(topBasisTable()));
}

QString topCoverageTable() {
    return QStringLiteral("topcoverage");
}

QString topCoverageBuildStatement() {
    QString counts;
    for (const QString &column : rankedColumns())
        counts += QStringLiteral(", count(nullif(%1, '')) as %1").arg(column);
    return QStringLiteral("create table %1 as select FdGrp_Cd, count(*) as Foods%2 from FOODS_WR "
                          "group by FdGrp_Cd")
        .arg(topCoverageTable(), counts);
}

QString topCoverageStatement(int criterion, const QString &groupCode, bool counted) {
    const QString column = topColumn(criterion);
    QString sql =
        counted
            ? QStringLiteral("select coalesce(sum(%1), 0), coalesce(sum(Foods), 0) "
                             "from %2")
                  .arg(column, topCoverageTable())
            : QStringLiteral("select count(nullif(%1, '')), count(*) from FOODS_WR").arg(column);
    if (!groupCode.isNull())
        sql += QStringLiteral(" where FdGrp_Cd='%1'").arg(sqlQuoted(groupCode));
    return sql;
}

QString topRankingIndexStatement() {
    QStringList columns{QStringLiteral("FdGrp_Cd"), QStringLiteral("Energ_Kcal"),
                        QStringLiteral("GmWt_1")};
    for (const QString &column : rankedColumns())
        if (!columns.contains(column))
            columns << column;
    return QStringLiteral("CREATE INDEX FOODS_WR_rank ON FOODS_WR (%1)")
        .arg(columns.join(QStringLiteral(", ")));
}
