// Two foods side by side: the rows of the comparison table and its HTML.
#pragma once

#include "details/foodreport.h"

#include <QList>
#include <QString>

struct CompareRow {
    QString name;
    QString unit;
    QString first; // the first food's amount, "--" when unknown
    QString second;
    bool heading = false; // a group heading of the full view: the name alone
};

// The view the comparison shows for the view asked for: Full where either food has its full
// record, otherwise Detailed in its place.
ReportView comparedView(const FoodReport &first, const FoodReport &second, ReportView view);

// The rows of that view with both foods' amounts in a serving of the custom weight (each report's
// last serving). In the full view a nutrient that only one food's record names is listed too,
// in the USDA order. A food that was not found has every amount unknown.
QList<CompareRow> compareRows(const FoodReport &first, const FoodReport &second, ReportView view);

// The comparison as one table: nutrient, unit and the two amounts, each food's description (or
// that it was not found) as its column head, in the report's colours.
QString compareHtml(const FoodReport &first, const FoodReport &second,
                    const QList<CompareRow> &rows, const ReportColours &colours);
