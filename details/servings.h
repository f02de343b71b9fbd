// Serving weights: the servings offered for a food and their menu texts.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The servings of one food in menu order: names and gram weights, parallel.
struct ServingList {
    QStringList names;
    QList<double> weights;
};

class ResultRows;

// A stored number: null or empty is 0, otherwise strtod's reading of the text in the C locale.
double parseStoredValue(const QString &text);
// A stored nutrient amount: null or empty is unknown (NaN), which is not 0; otherwise as above.
double parseStoredAmount(const QString &text);

// The servings of a food from its stored weights and names: each common serving whose weight
// reads as non-zero, then "Custom" with the custom weight as given.
ServingList buildServings(const QString &weight1, const QString &name1, const QString &weight2,
                          const QString &name2, double customWeight);

// The servings of a food from the rows of servingsStatement (amount, measure, grams), in their
// order, then "Custom". A serving whose weight reads as 0 is left out, as above. The name is the
// amount with up to three decimals and no trailing zeros, a blank and the measure ("1 cup, diced",
// "0.5 cup"); the measure alone when the amount is missing.
ServingList servingsFromRows(const ResultRows &rows, double customWeight);
// Every USDA serving of a food from SERVINGS, in USDA order; the food number must be digits only
// (as detailsStatement checks it).
QString servingsStatement(const QString &foodId);

// The menu text of a serving, "<name>  (<grams with one decimal> g)".
QString servingMenuText(const QString &name, double grams);
