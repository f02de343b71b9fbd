// The Top 15 ranking cache: twenty small tables in the food database, built once.
#include "finding/topcache.h"

#include "db/sqlitedb.h"
#include "db/sqltext.h"
#include "db/transaction.h"
#include "finding/topcriteria.h"

#include <QDebug>
#include <QStringList>

namespace {

// Builds every table inside the caller's transaction; false as soon as one write fails.
bool buildTopTables(SQLiteDB &db) {
    dropTopCache(db);
    for (int i = 0; i < topCriteriaCount; ++i) {
        const ResultRows ranking = db.exec(topRankingStatement(i));
        const QString table = topTableName(i);
        if (ranking.isEmpty())
            continue; // no food has an amount for this criterion: no table, as before
        db.exec(QStringLiteral("create table %1 ( id int PRIMARY_KEY )").arg(table));
        if (db.hasError())
            return false;
        for (int j = 0; j < ranking.rowCount(); ++j) {
            const QString insert = QStringLiteral("insert into %1 values ('%2')")
                                       .arg(table, sqlQuoted(ranking.value(j, 0)));
            qDebug().noquote() << QStringLiteral("executing query:") + insert;
            db.exec(insert);
            if (db.hasError())
                return false;
        }
    }
    // The other bases over all groups: ranking them means an amount for every food, too slow at
    // each choice on a large database.
    db.exec(QStringLiteral("create table %1 (Criterion INTEGER NOT NULL, Basis TEXT NOT NULL, "
                           "NDB_No INTEGER NOT NULL, PRIMARY KEY (Criterion, Basis, NDB_No)) "
                           "WITHOUT ROWID")
                .arg(topBasisTable()));
    if (db.hasError())
        return false;
    for (int i = 0; i < topCriteriaCount; ++i) {
        for (const TopBasis basis : {TopBasis::Per100kcal, TopBasis::PerServing}) {
            db.exec(QStringLiteral("insert into %1 select %2, '%3', NDB_No from (%4)")
                        .arg(topBasisTable(), QString::number(i), topBasisName(basis),
                             topRankedFoods(i, QString(), basis)));
            if (db.hasError())
                return false;
        }
    }
    return true;
}

} // namespace

QString topRankingStatement(int index) {
    // Foods with no figure for the nutrient are left out: sorted ascending they would otherwise
    // fill the "Least" rankings, since NULL and text order before any number.
    const QString column = QLatin1String(topColumns[index]);
    return QStringLiteral("select NDB_No,desc, %1 from FOODS_WR where %1 is not null and %1 <> '' "
                          "order by %1 %2 LIMIT 15")
        .arg(column, QLatin1String(topDirection(index)));
}

QString topBasisTable() {
    return QStringLiteral("topbasis");
}

QString topStatement(SQLiteDB &db, int criterion, const QString &groupCode, TopBasis basis) {
    if (!groupCode.isNull())
        return topLiveStatement(criterion, groupCode, basis);
    if (basis == TopBasis::Per100g)
        return topListStatement(criterion);
    return topLiveStatement(criterion, groupCode, basis, db.tableExists(topBasisTable()));
}

QString topCoverageTable() {
    return QStringLiteral("topcoverage");
}

QString topCoverageBuildStatement() {
    QString counts;
    QStringList columns;
    for (const char *column : topColumns) {
        if (columns.contains(QLatin1String(column)))
            continue;
        columns << QLatin1String(column);
        counts += QStringLiteral(", count(nullif(%1, '')) as %1").arg(QLatin1String(column));
    }
    return QStringLiteral("create table %1 as select FdGrp_Cd, count(*) as Foods%2 from FOODS_WR "
                          "group by FdGrp_Cd")
        .arg(topCoverageTable(), counts);
}

void prepareTopCache(SQLiteDB &db) {
    // One statement: made whole or not at all. Without it the page counts on FOODS_WR.
    if (!db.tableExists(topCoverageTable()) && !db.hasError())
        db.exec(topCoverageBuildStatement());
    db.lastError();
    if (db.tableExists(topTableName(0)))
        return;
    // All twenty tables or none: a build cut short must not leave the first table behind, or the
    // cache would count as present for good with rankings missing.
    Transaction transaction(db);
    if (transaction.isActive() && buildTopTables(db))
        transaction.commit();
}

void dropTopCache(SQLiteDB &db) {
    for (int i = 0; i < topCriteriaCount; ++i)
        db.exec(QStringLiteral("drop table ") + topTableName(i));
    db.exec(QStringLiteral("drop table ") + topBasisTable());
}
