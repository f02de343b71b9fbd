// The nutrient report: the HTML and plain texts of a food's report views for one serving weight.
#pragma once

#include "details/fullnutrients.h"

#include <QList>
#include <QString>

// The views of the report: eight nutrients, the 25 of the catalogue, every nutrient of the data,
// the Nutrition Facts label.
enum class ReportView { Basic, Detailed, Full, Label };

// The two alternating row shades (the page takes the second) and the text colour, empty for the
// viewer's own. The defaults are the report's colours on a light palette.
struct ReportColours {
    QString light = QStringLiteral("#f8f8f8");
    QString dark = QStringLiteral("#e8e8e8");
    QString text;
};

struct ReportOptions {
    ReportColours colours;
    bool dailyValue = false; // a fourth column with the percentage of the Daily Value
    bool ranges = false;     // a column with each figure's range and count, and the footnotes
};

// One row of a report view.
struct ReportLine {
    QString name;
    QString unit;
    double per100g = 0.0; // NaN: unknown
    int number = 0;       // USDA nutrient number (for the Daily Value)
    bool heading = false; // a group heading of the full view: the name alone
    FigureBasis basis;    // what the figure rests on (full view)
};

// The range of a figure in a serving: minimum–maximum scaled like the amount, then " (n)" with
// the number of analyses where there were any; the number alone, "(n)", without a range; empty
// when neither is given.
QString servingRange(double grams, const FigureBasis &basis);

// The amount of a nutrient in a serving: grams / 100 * amount per 100 g, with three decimals;
// "--" when the amount is unknown (NaN), as the USDA's printed tables mark a missing figure.
QString servingAmount(double grams, double per100g);

// The opening of a report page: its background, the second shade, and its text colour.
QString reportPageOpening(const ReportColours &colours);

// The heading every view shares: description and category, then the opening of the nutrient
// table. Texts are inserted as they are (the report is the program's own rich text).
QString reportHeading(const QString &desc, const QString &group,
                      const ReportColours &colours = ReportColours());

// The rows of the views: basic and detailed from the 25 amounts per 100 g in catalogue order
// (missing ones unknown), full from the food's nutrients with a heading before each group.
QList<ReportLine> basicLines(const QList<double> &values);
QList<ReportLine> detailedLines(const QList<double> &values);
QList<ReportLine> fullLines(const QList<FullNutrient> &nutrients);

// The report of the rows for a serving of the given weight. Without the Daily Value and the
// ranges and with the default colours it is the report text users copy, kept byte for byte
// (docs/compatibility.md). With the ranges, the food's notes and then each figure's footnote,
// named by its nutrient, follow the table under "Footnotes:".
QString reportHtml(const QString &desc, const QString &group, const QList<ReportLine> &lines,
                   double grams, const ReportOptions &options = ReportOptions(),
                   const QStringList &foodNotes = QStringList());
// The rows as plain text: one line per row, its cells separated by tabs; a heading alone. With the
// ranges each row adds its range, median, standard error, derivation and source (empty where not
// given), and the footnotes follow.
QString reportPlainRows(const QList<ReportLine> &lines, double grams, bool dailyValue,
                        bool ranges = false, const QStringList &foodNotes = QStringList());
