// The Top 15 ranking cache: twenty small tables in the food database, built once.
#include "finding/topcache.h"

#include "db/sqlitedb.h"
#include "db/sqltext.h"
#include "finding/topcriteria.h"

#include <QDebug>

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

void prepareTopCache(SQLiteDB &db) {
    const ResultRows present =
        db.exec(QStringLiteral("select name from sqlite_master where type='table' and name='%1'")
                    .arg(topTableName(0)));
    if (!present.isEmpty())
        return;

    // One transaction: all twenty tables or none. Without it a build cut short would leave the
    // first table behind, and the cache would count as present forever with rankings missing.
    db.exec(QStringLiteral("begin"));
    if (db.hasError())
        return; // not open, or a transaction we must not commit for someone else
    if (!buildTopTables(db)) {
        db.exec(QStringLiteral("rollback"));
        return;
    }
    db.exec(QStringLiteral("commit"));
    if (db.hasError())
        db.exec(QStringLiteral("rollback"));
}

void dropTopCache(SQLiteDB &db) {
    for (int i = 0; i < topCriteriaCount; ++i)
        db.exec(QStringLiteral("drop table ") + topTableName(i));
}
