// The name of the data release a FOODS.db holds, as reports cite it.
#include "details/datarelease.h"

#include "db/sqlitedb.h"

QString dataReleaseName(SQLiteDB &db) {
    const int release = db.userVersion();
    return QStringLiteral("USDA SR %1").arg(release != 0 ? release : 14);
}
