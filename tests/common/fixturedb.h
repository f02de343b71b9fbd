// Small food databases and installation directories for tests.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Creates a FOODS.db at the path with the program's tables and a few foods:
//   groups 0100 "Dairy and Egg Products", 0400 "Fats and Oils", 1100 "Vegetables and Vegetable
//   Products";
//   foods 1001 "Butter, salted" (0100), 1009 "Cheese, @CHD@" (0100, WORDS_WR @CHD@ = "cheddar"),
//   1123 "Egg, whole, raw" (0100), 4053 "Oil, olive" (0400), 11124 "Carrots, raw" (1100),
//   11215 "Garlic, raw" (1100).
// Further statements (inserts, drops) run after the fixture. Returns false (with a warning)
// when a statement fails.
bool createFixtureDatabase(const QString &path, const QStringList &extraStatements = {});

// The tables of a food's whole USDA record (SERVINGS, NUTRIENTS, NUTRIENT_DATA), as the database
// builder writes them, with cheddar's six servings in USDA order, two servings of the egg (the
// second 0.25 cup), and a few nutrients: cheddar has no lysine row, garlic only lysine.
QStringList fullRecordStatements();

// Runs the statements on the database at the path; false when one fails.
bool runStatements(const QString &path, const QStringList &statements);

// Makes <dir>/pics/kalo/ with the two bookmark pictures (16 px, "add" red, "remove" green) and,
// when withDatabase, a fixture FOODS.db in it; sets QPEDIR to dir.
// Returns the path of FOODS.db.
QString prepareInstallDir(const QString &dir, bool withDatabase = true,
                          const QStringList &extraStatements = {});

// The FOODS.db built from the real USDA data in the build tree (empty when it was not built).
QString realFoodsDatabase();
// Real-data tests skip without the built FOODS.db, but fail under CI, where it must be there.
#define REAL_FOODS_DATABASE(path)                                                                  \
    const QString path = realFoodsDatabase();                                                      \
    if (path.isEmpty()) {                                                                          \
        if (qEnvironmentVariableIsSet("CI"))                                                       \
            QFAIL("the real FOODS.db was not built");                                              \
        QSKIP("the real FOODS.db was not built");                                                  \
    }

// The bytes of a file (empty when it cannot be read), and writing them anew.
QByteArray fileContents(const QString &path);
bool writeFile(const QString &path, const QByteArray &bytes);

// The debug messages (the statements the database wrapper logs) while run runs.
QStringList debugMessages(const std::function<void()> &run);
