// Small food databases and installation directories for tests.
#include "tests/common/fixturedb.h"

#include "db/foodsschema.h"
#include "db/sqlitedb.h"
#include "finding/topcache.h"

#include <QDir>
#include <QFile>
#include <QtGlobal>

namespace {

QString food(int id, const char *desc, const char *group, const QString &values,
             const char *servings) {
    return QStringLiteral("INSERT INTO FOODS_WR (NDB_No, \"desc\", FdGrp_Cd, Energ_Kcal, "
                          "Cholestrl, FA_Sat, Protein, Vit_C, GmWt_1, GmWt_Desc1, GmWt_2, "
                          "GmWt_Desc2) VALUES (%1, '%2', '%3', %4, %5)")
        .arg(id)
        .arg(QLatin1String(desc), QLatin1String(group), values, QLatin1String(servings));
}

} // namespace

bool runStatements(const QString &path, const QStringList &statements) {
    SQLiteDB db;
    if (!db.open(path, true)) {
        qWarning("fixture: %s", qPrintable(db.lastError()));
        return false;
    }
    for (const QString &sql : statements) {
        db.exec(sql);
        if (db.hasError()) {
            qWarning("fixture: %s: %s", qPrintable(sql), qPrintable(db.lastError()));
            return false;
        }
    }
    return true;
}

bool createFixtureDatabase(const QString &path, const QStringList &extraStatements) {
    QFile::remove(path);
    QStringList sql = foodsSchemaStatements();
    sql << foodsIndexStatements();
    sql << QStringLiteral("INSERT INTO FOODS_GROUP VALUES ('0100', 'Dairy and Egg Products')")
        << QStringLiteral("INSERT INTO FOODS_GROUP VALUES ('0400', 'Fats and Oils')")
        << QStringLiteral(
               "INSERT INTO FOODS_GROUP VALUES ('1100', 'Vegetables and Vegetable Products')")
        << QStringLiteral("INSERT INTO WORDS_WR VALUES ('@CHD@', 'cheddar')");
    // Energ_Kcal, Cholestrl, FA_Sat, Protein, Vit_C; then the two servings.
    sql << food(1001, "Butter, salted", "0100", QStringLiteral("717, 215, 51.368, 0.85, 0"),
                "5, '1 pat (1\" sq, 1/3\" high)', 14.2, '1 tbsp'")
        << food(1009, "Cheese, @CHD@", "0100", QStringLiteral("403, 105, 21.092, 24.9, 0"),
                "132, '1 cup, diced', 244, '1 cup, melted'")
        << food(1123, "Egg, whole, raw", "0100", QStringLiteral("143, 372, 3.126, 12.56, 0"),
                "50, '1 large', NULL, NULL")
        << food(4053, "Oil, olive", "0400", QStringLiteral("884, 0, 13.808, 0, 0"),
                "13.5, '1 tbsp', NULL, NULL")
        << food(11124, "Carrots, raw", "1100", QStringLiteral("41, 0, 0.037, 0.93, 5.9"),
                "NULL, NULL, 61, '1 medium'")
        << food(11215, "Garlic, raw", "1100", QStringLiteral("149, 0, NULL, 6.36, 31.2"),
                "NULL, NULL, NULL, NULL");
    sql << extraStatements;
    return runStatements(path, sql);
}

QString prepareInstallDir(const QString &dir, bool withDatabase,
                          const QStringList &extraStatements) {
    QDir().mkpath(dir + QStringLiteral("/pics/kalo/graphics"));
    const QString path = dir + QStringLiteral("/pics/kalo/FOODS.db");
    if (withDatabase && !createFixtureDatabase(path, extraStatements))
        return QString();
    if (withDatabase) { // with its rankings, as the builder makes it
        SQLiteDB db(path, false);
        const QtMessageHandler previous =
            qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
        prepareTopCache(db);
        qInstallMessageHandler(previous);
    }
    qputenv("QPEDIR", dir.toUtf8());
    return path;
}

QString realFoodsDatabase() {
    const QString path =
        qEnvironmentVariable("KALO_REAL_DATA_DIR") + QStringLiteral("/pics/kalo/FOODS.db");
    return QFile::exists(path) ? path : QString();
}
