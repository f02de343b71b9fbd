// The report state of one food: what the details statement returned, ready for the report views.
#pragma once

#include "finding/wordindex.h"

#include <QList>
#include <QString>
#include <QStringList>

class ResultRows;

struct FoodReport {
    QString id;            // the food number as the details statement returned it
    QString desc;          // the readable description
    QString group;         // the description of the food's group
    QList<double> values;  // the 25 amounts per 100 g in catalogue order
    QList<double> weights; // the servings in grams, in menu order; the last is the custom weight
    QStringList weightNames;
};

// The report of the food in row 0 of a details statement's result. A result without a row gives
// the report of a food without data: amounts 0, empty texts and the custom serving alone.
FoodReport foodReportFromRow(const ResultRows &rows, const WordIndex &words, double customWeight);

// The basic and the detailed view of the report for the serving at the index (an index outside
// the servings scales by 0).
QString basicReportText(const FoodReport &report, int weightIndex);
QString detailedReportText(const FoodReport &report, int weightIndex);
