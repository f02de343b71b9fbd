// The nutrient report: the basic and the detailed HTML text of one food for one serving weight.
#pragma once

#include <QList>
#include <QString>

// The amount of a nutrient in a serving: grams / 100 * amount per 100 g, with three decimals.
QString servingAmount(double grams, double per100g);

// The heading both views share: description and category, then the opening of the nutrient table.
// Texts are inserted as they are (the report is the program's own rich text).
QString reportHeading(const QString &desc, const QString &group);

// One table row; row 0, 2, 4 ... light, odd rows dark.
QString reportRow(int row, const QString &name, const QString &unit, const QString &amount);

// The basic view (eight rows) and the detailed view (all 25 nutrients) for a serving of the given
// weight; values are the 25 amounts per 100 g in catalogue order (missing ones count as 0).
QString basicReport(const QString &desc, const QString &group, const QList<double> &values,
                    double grams);
QString detailedReport(const QString &desc, const QString &group, const QList<double> &values,
                       double grams);
