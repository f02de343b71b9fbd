// The nutrient catalogue: the 25 nutrients of every report, the basic view's rows and the select
// list of the details statement.
#include "details/nutrientcatalogue.h"

const char *const detailColumns =
    "Energ_Kcal,Cholestrl,Tot_Lipid,FA_Sat,Water,Carbohydrt,Fiber_TD,Protein,Vit_C,Vit_B6,"
    "Vit_B12,Vit_A,Vit_E,\r\n"
    "Folate,Riboflavin,Niacin,Thiamin,Calcium,Iron,Sodium,Magnesium,Potassium,Zinc,Copper,"
    "Selenium,Desc,NDB_No,GmWt_1,GmWt_Desc1,\r\n"
    "GmWt_2,GmWt_Desc2,FOODS_GROUP.FdGrp_Desc";

// Every row shows label, unit and amount of one nutrient: the two vitamin rows use the entries
// whose names they carry. detailColumns is the details statement's select list as the program
// sends it, with its two line breaks (tests check it names the catalogue's columns in order).
const char *const basicLabels[basicRowCount] = {
    "Calories",   "Cholesterol", "Saturated Fat", "Water",
    "Vitamine C", "Vitamine B6", "Vitamine A",    "Vitamine E",
};

const int basicIndex[basicRowCount] = {0, 1, 3, 4, 8, 9, 11, 12};

QString detailsStatement(const QString &foodId) {
    if (foodId.isEmpty())
        return QString();
    for (const QChar c : foodId) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return QString();
    }
    return QStringLiteral("select %1 from FOODS_WR,FOODS_GROUP where NDB_No=%2 and "
                          "FOODS_WR.FdGrp_Cd=FOODS_GROUP.FdGrp_Cd")
        .arg(QLatin1String(detailColumns), foodId);
}
