// The tables of FOODS.db, shared by the database builder and the tests.
#include "db/foodsschema.h"

// The names "Vitamine C" and "Carbon" (a Top criterion) are the program's own: see
// docs/compatibility.md.
const FoodsNutrient foodsNutrients[foodsNutrientCount] = {
    {"Energ_Kcal", 208, "Calories", "kcal"},
    {"Cholestrl", 601, "Cholesterol", "mg"},
    {"Tot_Lipid", 204, "Lipid Fat", "g"},
    {"FA_Sat", 606, "Saturated Fat", "g"},
    {"Water", 255, "Water", "g"},
    {"Carbohydrt", 205, "Carbohydrate", "g"},
    {"Fiber_TD", 291, "Fiber", "g"},
    {"Protein", 203, "Protein", "g"},
    {"Vit_C", 401, "Vitamine C", "mg"},
    {"Vit_B6", 415, "Vitamine B6", "mg"},
    {"Vit_B12", 418, "Vitamine B12", "mcg"},
    {"Vit_A", 318, "Vitamine A", "IU"},
    {"Vit_E", 323, "Vitamine E", "mg_ATE"},
    {"Folate", 417, "Folate", "mcg"},
    {"Riboflavin", 405, "Riboflavin", "mg"},
    {"Niacin", 406, "Niacin", "mg"},
    {"Thiamin", 404, "Thiamin", "mg"},
    {"Calcium", 301, "Calcium", "mg"},
    {"Iron", 303, "Iron", "mg"},
    {"Sodium", 307, "Sodium", "mg"},
    {"Magnesium", 304, "Magnesium", "mg"},
    {"Potassium", 306, "Potassium", "mg"},
    {"Zinc", 309, "Zinc", "mg"},
    {"Copper", 312, "Copper", "mg"},
    {"Selenium", 317, "Selenium", "mcg"},
};

QStringList foodsSchemaStatements() {
    QString foods = QStringLiteral("CREATE TABLE FOODS_WR (NDB_No INTEGER PRIMARY KEY, "
                                   "\"desc\" TEXT NOT NULL, FdGrp_Cd TEXT NOT NULL");
    for (const FoodsNutrient &nutrient : foodsNutrients)
        foods += QStringLiteral(", ") + QLatin1String(nutrient.column) + QStringLiteral(" NUMERIC");
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
