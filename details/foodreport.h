// The report state of one food: what the database holds on it, ready for the report views.
#pragma once

#include "db/wordindex.h"
#include "details/fullnutrients.h"
#include "details/nutrientreport.h"

#include <QList>
#include <QString>
#include <QStringList>

class FoodsDatabase;
class ResultRows;

struct FoodReport {
    QString id;            // the food number as the details statement returned it, or as asked
                           // for when no food was found
    QString desc;          // the readable description
    QString group;         // the description of the food's group
    QList<double> values;  // the 25 amounts per 100 g in catalogue order; NaN: unknown
    QList<double> weights; // the servings in grams, in menu order; the last is the custom weight
    QStringList weightNames;
    bool found = false;       // the details statement returned the food
    QList<FullNutrient> full; // every nutrient, when the database has the nutrient tables
    QStringList notes;        // the food's footnotes, where asked for and the data has them
    QString release;          // the data release, "USDA SR 24"
};

// The report of the food in row 0 of a details statement's result. A result without a row gives
// the report of a food without data: amounts unknown, empty texts and the custom serving alone.
FoodReport foodReportFromRow(const ResultRows &rows, const WordIndex &words, double customWeight);

// Reads a food: the details statement, then, where the database has them, every USDA serving from
// SERVINGS and every nutrient from NUTRIENTS and NUTRIENT_DATA. When the details statement fails
// its error stays pending on the connection (the report is empty); a further table that cannot be
// read counts as absent. A food number that is not digits only is never placed into SQL: it is a
// food not found. With figureBasis, where the database has them, also what each figure rests on
// and the food's footnotes.
FoodReport loadFoodReport(FoodsDatabase &foods, const QString &foodId, double customWeight,
                          bool figureBasis = false);

// The view a report shows for the view asked for: Full only where the food has its full record,
// otherwise Detailed.
ReportView shownView(const FoodReport &report, ReportView view);
// The view after this one: Basic, Detailed, Full (where it exists), Label, Basic again.
ReportView nextView(const FoodReport &report, ReportView view);

// The rows of a view; none for the label, whose lines are nutritionLabelLines.
QList<ReportLine> reportLines(const FoodReport &report, ReportView view);

// The HTML of a view for the serving at the index (an index outside the servings scales by 0):
// the label is nutritionLabelHtml in the options' colours. A food not found says so instead.
// Ranges are shown in the full view only.
QString reportText(const FoodReport &report, ReportView view, int weightIndex,
                   const ReportOptions &options = ReportOptions());

// The view as plain text for pasting elsewhere: description, category, the food's number and
// the data release, the serving, then the rows under a header line (cells separated by tabs),
// and with the Daily Value the line naming its source. The label gives its lines instead: name,
// declared amount and percentage, then its footnote.
QString reportPlainText(const FoodReport &report, ReportView view, int weightIndex, bool dailyValue,
                        bool ranges = false);
