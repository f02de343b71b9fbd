// The tables of FOODS.db, shared by the database builder and the tests.
#include "db/foodsschema.h"

const char *const foodsNutrientColumns[foodsNutrientCount] = {
    "Energ_Kcal", "Cholestrl", "Tot_Lipid", "FA_Sat",   "Water", "Carbohydrt", "Fiber_TD",
    "Protein",    "Vit_C",     "Vit_B6",    "Vit_B12",  "Vit_A", "Vit_E",      "Folate",
    "Riboflavin", "Niacin",    "Thiamin",   "Calcium",  "Iron",  "Sodium",     "Magnesium",
    "Potassium",  "Zinc",      "Copper",    "Selenium",
};

QStringList foodsSchemaStatements() {
    QString foods = QStringLiteral("CREATE TABLE FOODS_WR (NDB_No INTEGER PRIMARY KEY, "
                                   "\"desc\" TEXT NOT NULL, FdGrp_Cd TEXT NOT NULL");
    for (const char *column : foodsNutrientColumns)
        foods += QStringLiteral(", ") + QLatin1String(column) + QStringLiteral(" NUMERIC");
    foods += QStringLiteral(", GmWt_1 NUMERIC, GmWt_Desc1 TEXT, GmWt_2 NUMERIC, GmWt_Desc2 TEXT)");
    return {
        QStringLiteral(
            "CREATE TABLE FOODS_GROUP (FdGrp_Cd TEXT PRIMARY KEY, FdGrp_Desc TEXT NOT NULL)"),
        foods,
        QStringLiteral("CREATE TABLE WORDS_WR (WID TEXT PRIMARY KEY, TEXT TEXT NOT NULL)"),
    };
}

QStringList foodsIndexStatements() {
    return {
        QStringLiteral("CREATE INDEX FOODS_WR_group ON FOODS_WR (FdGrp_Cd, \"desc\")"),
        // Lists ordered by description are read in order from it, the first screen first.
        QStringLiteral("CREATE INDEX FOODS_WR_desc ON FOODS_WR (\"desc\")"),
        QStringLiteral("CREATE INDEX FOODS_GROUP_desc ON FOODS_GROUP (FdGrp_Desc)"),
        QStringLiteral("CREATE INDEX WORDS_WR_text ON WORDS_WR (TEXT COLLATE NOCASE)"),
    };
}

QString foodsProbeStatement() {
    QString columns = QStringLiteral("FOODS_WR.NDB_No, FOODS_WR.\"desc\", FOODS_WR.FdGrp_Cd");
    for (const char *column : foodsNutrientColumns)
        columns += QStringLiteral(", FOODS_WR.") + QLatin1String(column);
    columns += QStringLiteral(", FOODS_WR.GmWt_1, FOODS_WR.GmWt_Desc1, FOODS_WR.GmWt_2, "
                              "FOODS_WR.GmWt_Desc2, FOODS_GROUP.FdGrp_Cd, FOODS_GROUP.FdGrp_Desc, "
                              "WORDS_WR.WID, WORDS_WR.TEXT");
    return QStringLiteral("select ") + columns +
           QStringLiteral(" from FOODS_WR, FOODS_GROUP, WORDS_WR limit 0");
}
