// The FDA Daily Values and the percentage of them in a serving.
#pragma once

#include <QString>

// The percentage of the Daily Value for adults and children 4 years and over that an amount of a
// nutrient makes up. The nutrient is named by its USDA number and the unit its amount is given
// in; NaN when the nutrient has no Daily Value, when its figure is not on the Daily Value's basis
// (vitamin A in IU, total folate, preformed niacin, protein not corrected for its digestibility)
// or when the amount is unknown (NaN).
double dailyValuePercent(int nutrientNumber, const QString &unit, double amount);

// The percentage as the report shows it: a whole number as food labels round it, "--" for an
// unknown amount of a nutrient that has a Daily Value, empty for one that has none.
QString dailyValueText(int nutrientNumber, const QString &unit, double amount);

// One line naming the source of the Daily Values, for the foot of a report.
QString dailyValueSource();
