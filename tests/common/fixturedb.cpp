// Small food databases and installation directories for tests.
#include "tests/common/fixturedb.h"

#include "db/foodsdatabase.h"
#include "db/foodsschema.h"
#include "db/sqlitedb.h"
#include "finding/topcache.h"
#include "finding/toprankings.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QtGlobal>

namespace {

QStringList *capturing = nullptr;

// The amounts a fixture food gives: energy, cholesterol, saturated fat, protein, vitamin C.
QString fixtureColumns() {
    QString columns;
    for (const int nutrient : {0, 1, 3, 7, 8})
        columns += QStringLiteral(", ") + QLatin1String(foodsNutrients[nutrient].column);
    return columns;
}

QString food(int id, const char *desc, const char *group, const QString &values,
             const char *servings) {
    return QStringLiteral("INSERT INTO FOODS_WR (NDB_No, \"desc\", FdGrp_Cd%1, GmWt_1, "
                          "GmWt_Desc1, GmWt_2, GmWt_Desc2) VALUES (%2, '%3', '%4', %5, %6)")
        .arg(fixtureColumns())
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
    sql << foodsIndexStatements() << topRankingIndexStatement();
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

QStringList fullRecordStatements() {
    QStringList tables; // as the builder makes them, without the data's origin or barcodes
    for (const QString &sql : foodsRecordSchemaStatements())
        if (!sql.contains(QLatin1String("DATA_INFO")) && !sql.contains(QLatin1String("BARCODES")))
            tables << sql;
    return tables +
           QStringList{
               "INSERT INTO SERVINGS VALUES (1009, 1, 1, 'cup, diced', 132), (1009, 2, 1, 'cup, "
               "melted', 244), (1009, 3, 1, 'cup, shredded', 113), (1009, 4, 1, 'oz', 28.35), "
               "(1009, 5, "
               "1, 'cubic inch', 17), (1009, 6, 1, 'slice (1 oz)', 28), (1123, 1, 1, 'large', 50), "
               "(1123,"
               " 2, 0.25, 'cup', 60.75)",
               "INSERT INTO NUTRIENTS VALUES (301, 'Calcium, Ca', 'mg', 5300), (318, 'Vitamin A, "
               "IU', "
               "'IU', 7500), (324, 'Vitamin D', 'IU', 8750), (504, 'Leucine', 'g', 16600), (505, "
               "'Lysine', 'g', 16700), (262, 'Caffeine', 'mg', 18300)",
               "INSERT INTO NUTRIENT_DATA VALUES (1009, 301, 721), (1009, 318, 1002), (1009, 324, "
               "24), "
               "(1009, 504, 2.385), (1009, 262, 0), (11215, 505, 0.273)",
           };
}

QString prepareInstallDir(const QString &dir, bool withDatabase,
                          const QStringList &extraStatements) {
    QDir().mkpath(dir + QStringLiteral("/pics/kalo/graphics"));
    for (const auto &[name, colour] :
         {std::pair{"bookmark_add.png_", Qt::red}, std::pair{"bookmark_remove.png_", Qt::green}}) {
        QImage image(16, 16, QImage::Format_RGB32);
        image.fill(colour);
        image.save(dir + QStringLiteral("/pics/kalo/graphics/") + name, "PNG");
    }
    const QString path = dir + QStringLiteral("/pics/kalo/FOODS.db");
    if (withDatabase && !createFixtureDatabase(path, extraStatements))
        return QString();
    if (withDatabase) { // with its rankings, as the builder makes it
        FoodsDatabase foods;
        foods.open(path);
        debugMessages([&foods] { prepareTopCache(foods); });
    }
    qputenv("QPEDIR", dir.toUtf8());
    return path;
}

QString realFoodsDatabase() {
    const QString path =
        qEnvironmentVariable("KALO_REAL_DATA_DIR") + QStringLiteral("/pics/kalo/FOODS.db");
    return QFile::exists(path) ? path : QString();
}

QStringList debugMessages(const std::function<void()> &run) {
    QStringList lines;
    capturing = &lines;
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &text) {
            if (type == QtDebugMsg)
                capturing->append(text);
        });
    run();
    qInstallMessageHandler(previous);
    capturing = nullptr;
    return lines;
}

QByteArray fileContents(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
