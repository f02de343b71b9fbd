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

// A stored number: null or empty is 0, otherwise strtod's reading of the text in the C locale.
double parseStoredValue(const QString &text);

// The servings of a food from its stored weights and names: each common serving whose weight
// reads as non-zero, then "Custom" with the custom weight as given.
ServingList buildServings(const QString &weight1, const QString &name1, const QString &weight2,
                          const QString &name2, double customWeight);

// The menu text of a serving, "<name>  (<grams with one decimal> g)".
QString servingMenuText(const QString &name, double grams);
