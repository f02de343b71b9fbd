// The twenty ranking criteria of the Top 15 page.
#include "finding/topcriteria.h"

const char *const topLabels[topCriteriaCount] = {
    "Most saturated fat",
    "Least saturated fat",
    "Most calories",
    "Least calories",
    "Cholesterol",
    "Vitamine C",
    "Vitamine B6",
    "Vitamine B12",
    "Vitamine A",
    "Vitamine E",
    "Carbon",
    "Fiber",
    "Calcium",
    "Iron",
    "Sodium",
    "Magnesium",
    "Zinc",
    "Copper",
    "Selenium",
    "Protein",
};

const char *const topColumns[topCriteriaCount] = {
    "FA_Sat",  "FA_Sat",    "Energ_Kcal", "Energ_Kcal", "Cholestrl", "Vit_C",   "Vit_B6",
    "Vit_B12", "Vit_A",     "Vit_E",      "Carbohydrt", "Fiber_TD",  "Calcium", "Iron",
    "Sodium",  "Magnesium", "Zinc",       "Copper",     "Selenium",  "Protein",
};

const char *topDirection(int index) {
    return (index == 1 || index == 3) ? "asc" : "desc";
}

QString topTableName(int index) {
    return QString::asprintf("topdata_%s_%d", topColumns[index], index);
}
