// The Top 15 ranking cache: twenty small tables in the food database, built once.
#include "finding/topcache.h"

#include "db/sqlitedb.h"
#include "finding/topcriteria.h"

void prepareTopCache(SQLiteDB &db)
{
    Q_UNUSED(db); // TODO: build the ranking tables
}

void dropTopCache(SQLiteDB &db)
{
    for (int i = 0; i < topCriteriaCount; ++i)
        db.exec(QStringLiteral("drop table ") + topTableName(i));
}
