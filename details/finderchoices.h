// The nutrients a Find by Nutrients condition can name, and the names it shows for them.
#pragma once

#include "details/fullnutrients.h"

#include <QList>
#include <QStringList>

class FoodsDatabase;

// Every nutrient of NUTRIENTS (number, name and unit as the table gives them) in the Full view's
// order, where the file has the nutrient record; otherwise, or when it cannot be read, the 25
// amounts of FOODS_WR under the report's names and units, in the report's order. The amounts per
// 100 g are NaN.
QList<FullNutrient> finderChoices(FoodsDatabase &foods);

// The names of the nutrients (USDA numbers) among the choices; "nutrient N" for one they lack.
QStringList finderNames(const QList<int> &nutrients, const QList<FullNutrient> &choices);
