// The Top 15 ranking cache: small tables in the food database, built once.
#include "finding/topcache.h"

#include "db/foodsdatabase.h"
#include "db/sqlitedb.h"
#include "db/transaction.h"
#include "finding/toprankings.h"

#include <QDebug>

namespace {

// Builds every table inside the caller's transaction; false as soon as one write fails.
bool buildTopTables(FoodsDatabase &foods) {
    SQLiteDB &db = foods.connection();
    dropTopCache(foods);
    for (int i = 0; i < topCriteriaCount; ++i) {
        const ResultRows ranking = db.exec(topRankingStatement(i));
        if (ranking.isEmpty())
            continue; // no food has an amount for this criterion: no table
        if (!db.run(topTableCreateStatement(i)))
            return false;
        for (int j = 0; j < ranking.rowCount(); ++j) {
            const QString insert = topTableInsertStatement(i, ranking.value(j, 0));
            qDebug().noquote() << QStringLiteral("executing query:") + insert;
            if (!db.run(insert))
                return false;
        }
    }
    // The other bases over all groups: ranking them means an amount for every food, too slow at
    // each choice on a large database.
    if (!db.run(topBasisCreateStatement()))
        return false;
    for (int i = 0; i < topCriteriaCount; ++i) {
        for (const TopBasis basis : {TopBasis::Per100kcal, TopBasis::PerServing}) {
            if (!db.run(topBasisFillStatement(i, basis)))
                return false;
        }
    }
    return true;
}

} // namespace

void prepareTopCache(FoodsDatabase &foods) {
    SQLiteDB &db = foods.connection();
    // One statement: made whole or not at all. Without it the page counts on FOODS_WR.
    if (!foods.hasTable(topCoverageTable()))
        db.tryRun(topCoverageBuildStatement());
    // All twenty tables or none: a build cut short must not leave the first table behind, or the
    // cache would count as present for good with rankings missing.
    if (!foods.hasTable(topTableName(0))) {
        Transaction transaction(db);
        if (transaction.isActive() && buildTopTables(foods))
            transaction.commit();
    }
    db.clearError();
    foods.learnTables();
}

void dropTopCache(FoodsDatabase &foods) {
    SQLiteDB &db = foods.connection();
    for (int i = 0; i < topCriteriaCount; ++i)
        db.tryRun(topTableDropStatement(i));
    db.tryRun(QStringLiteral("drop table ") + topBasisTable());
}
