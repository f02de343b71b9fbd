// The nutrient catalogue: the 25 nutrients of every report, the basic view's rows and the select
// list of the details statement.
#pragma once

#include "db/foodsschema.h"

#include <QString>
#include <QStringList>

// The catalogue index (0 = calories ... 24 = selenium) is the position in foodsNutrients
// (db/foodsschema.h), which names each nutrient's column, USDA number, name and unit.
constexpr int nutrientCount = foodsNutrientCount;
constexpr int basicRowCount = 8;

// The select list of the details statement: the 25 nutrient columns in catalogue order, then the
// description, number, two servings and the group's description (32 columns, two CR LF breaks).
extern const char *const detailColumns;

// The basic view: row label and the catalogue index whose unit and amount the row shows.
extern const char *const basicLabels[basicRowCount];
extern const int basicIndex[basicRowCount];

// Field positions of the non-nutrient columns in a row of the details statement (the nutrients
// take positions 0 to 24, position = catalogue index).
enum DetailField {
    DetailDesc = 25,
    DetailId = 26,
    DetailWeight1 = 27,
    DetailWeightName1 = 28,
    DetailWeight2 = 29,
    DetailWeightName2 = 30,
    DetailGroup = 31,
};

// The details statement for a food number, which is written in unquoted. A number that is not
// made of the digits 0-9 alone (a hand-edited bookmark can hold anything) gives a null string:
// such a text is never placed into SQL, and the caller treats it as a food with no row.
QString detailsStatement(const QString &foodId);
