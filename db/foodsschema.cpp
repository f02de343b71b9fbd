// The tables of FOODS.db, shared by the database builder and the tests.
#include "db/foodsschema.h"

const char *const foodsNutrientColumns[foodsNutrientCount] = {
    "Energ_Kcal", "Cholestrl", "Tot_Lipid", "FA_Sat",   "Water", "Carbohydrt", "Fiber_TD",
    "Protein",    "Vit_C",     "Vit_B6",    "Vit_B12",  "Vit_A", "Vit_E",      "Folate",
    "Riboflavin", "Niacin",    "Thiamin",   "Calcium",  "Iron",  "Sodium",     "Magnesium",
    "Potassium",  "Zinc",      "Copper",    "Selenium",
};

const int foodsNutrientNumbers[foodsNutrientCount] = {
    208, 601, 204, 606, 255, 205, 291, 203, 401, 415, 418, 318, 323,
    417, 405, 406, 404, 301, 303, 307, 304, 306, 309, 312, 317,
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
        // A Top 15 within a group reads every amount it ranks by from here, not from the foods'
        // rows: the group, the energy and serving weight of the other bases, then the nutrients.
        QStringLiteral("CREATE INDEX FOODS_WR_rank ON FOODS_WR (FdGrp_Cd, Energ_Kcal, GmWt_1, "
                       "FA_Sat, Cholestrl, Vit_C, Vit_B6, Vit_B12, Vit_A, Vit_E, Carbohydrt, "
                       "Fiber_TD, Calcium, Iron, Sodium, Magnesium, Zinc, Copper, Selenium, "
                       "Protein)"),
        QStringLiteral("CREATE INDEX FOODS_GROUP_desc ON FOODS_GROUP (FdGrp_Desc)"),
        QStringLiteral("CREATE INDEX WORDS_WR_text ON WORDS_WR (TEXT COLLATE NOCASE)"),
    };
}

QStringList foodsRecordSchemaStatements() {
    // Keyed tables without a rowid: rows are stored in key order, one food's rows together.
    return {
        QStringLiteral("CREATE TABLE SERVINGS (NDB_No INTEGER NOT NULL, Seq INTEGER NOT NULL, "
                       "Amount NUMERIC NOT NULL, Msre_Desc TEXT NOT NULL, Gm_Wgt NUMERIC NOT NULL, "
                       "PRIMARY KEY (NDB_No, Seq)) WITHOUT ROWID"),
        QStringLiteral("CREATE TABLE NUTRIENTS (Nutr_No INTEGER PRIMARY KEY, Name TEXT NOT NULL, "
                       "Units TEXT NOT NULL, SR_Order INTEGER NOT NULL)"),
        QStringLiteral("CREATE TABLE NUTRIENT_DATA (NDB_No INTEGER NOT NULL, Nutr_No INTEGER NOT "
                       "NULL, Nutr_Val NUMERIC NOT NULL, PRIMARY KEY (NDB_No, Nutr_No)) WITHOUT "
                       "ROWID"),
        QStringLiteral("CREATE TABLE DATA_INFO (\"Key\" TEXT PRIMARY KEY, Value TEXT NOT NULL)"),
        QStringLiteral("CREATE TABLE BARCODES (Code TEXT NOT NULL, NDB_No INTEGER NOT NULL)"),
    };
}

QStringList foodsRecordIndexStatements() {
    return {QStringLiteral("CREATE INDEX BARCODES_Code ON BARCODES (Code)")};
}

QStringList foodsSearchIndexStatements() {
    return {
        QStringLiteral("CREATE VIRTUAL TABLE FOODS_FTS USING fts5(\"desc\", content='FOODS_WR', "
                       "content_rowid='NDB_No', tokenize='trigram')"),
        QStringLiteral("INSERT INTO FOODS_FTS(FOODS_FTS) VALUES('rebuild')"),
    };
}

QStringList foodsBasisSchemaStatements(bool derivations, bool sources) {
    QStringList statements = {
        QStringLiteral("CREATE TABLE NUTRIENT_STATS (NDB_No INTEGER NOT NULL, Nutr_No INTEGER NOT "
                       "NULL, Data_Pts INTEGER, Min NUMERIC, Max NUMERIC, Median NUMERIC, "
                       "Std_Error NUMERIC, Deriv_Cd TEXT, Src_Cd TEXT, Footnote TEXT, PRIMARY KEY "
                       "(NDB_No, Nutr_No)) WITHOUT ROWID"),
        QStringLiteral("CREATE TABLE FOOD_NOTES (NDB_No INTEGER NOT NULL, Seq INTEGER NOT NULL, "
                       "Footnote TEXT NOT NULL, PRIMARY KEY (NDB_No, Seq)) WITHOUT ROWID"),
    };
    if (derivations)
        statements << QStringLiteral(
            "CREATE TABLE DERIVATIONS (Deriv_Cd TEXT PRIMARY KEY, Description TEXT NOT NULL)");
    if (sources)
        statements << QStringLiteral(
            "CREATE TABLE SOURCES (Src_Cd TEXT PRIMARY KEY, Description TEXT NOT NULL)");
    return statements;
}

QString foodsValueIndexStatement() {
    return QStringLiteral("CREATE INDEX NUTRIENT_DATA_value ON NUTRIENT_DATA (Nutr_No, Nutr_Val)");
}
