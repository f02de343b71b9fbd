// The report state of one food: what the database holds on it, ready for the report views.
#include "details/foodreport.h"

#include "db/foodsdatabase.h"
#include "db/resultrows.h"
#include "details/dailyvalues.h"
#include "details/nutrientcatalogue.h"
#include "details/nutritionlabel.h"
#include "details/servings.h"

namespace {

QString notFoundText(const QString &id) {
    return QStringLiteral("No data for food %1 in this database.").arg(id);
}

// The label's lines as the label reads them, a line's cells separated by tabs.
QString labelPlainText(const FoodReport &report, int weightIndex) {
    QString text = QStringLiteral("Nutrition Facts\nServing size\t") +
                   labelServingSize(report, weightIndex) + QLatin1Char('\n');
    for (const LabelLine &line : nutritionLabelLines(report, weightIndex)) {
        text += line.name + QLatin1Char('\t') +
                (line.figure.given ? line.figure.amount + line.unit : QStringLiteral("not given"));
        if (!line.figure.percent.isEmpty())
            text += QLatin1Char('\t') + line.figure.percent + QLatin1Char('%');
        text += QLatin1Char('\n');
    }
    return text + labelFootnote() + QLatin1Char('\n');
}

} // namespace

FoodReport foodReportFromRow(const ResultRows &rows, const WordIndex &words, double customWeight) {
    FoodReport report;
    const ServingList servings =
        buildServings(rows.value(0, DetailWeight1), rows.value(0, DetailWeightName1),
                      rows.value(0, DetailWeight2), rows.value(0, DetailWeightName2), customWeight);
    report.weights = servings.weights;
    report.weightNames = servings.names;
    report.desc = expandDescription(rows.value(0, DetailDesc), words);
    report.values.reserve(nutrientCount);
    for (int i = 0; i < nutrientCount; ++i)
        report.values.append(parseStoredAmount(rows.value(0, i)));
    report.id = rows.value(0, DetailId);
    report.group = rows.value(0, DetailGroup);
    report.found = rows.rowCount() > 0;
    return report;
}

FoodReport loadFoodReport(FoodsDatabase &foods, const QString &foodId, double customWeight,
                          bool figureBasis) {
    SQLiteDB &db = foods.connection();
    const QString statement = detailsStatement(foodId);
    ResultRows rows;
    if (!statement.isNull()) {
        rows = db.exec(statement);
        if (db.hasError())
            return FoodReport();
    }
    FoodReport report = foodReportFromRow(rows, foods.words(), customWeight);
    report.release = foods.dataInfo().displayName();
    if (!report.found) {
        report.id = foodId;
        return report;
    }
    // The further tables add to the report: one that cannot be read (damaged, or of another
    // layout) is taken as absent, and the report is the one of the details statement alone.
    const QString id = report.id; // digits only, as the statement returned it
    if (foods.hasServings()) {
        ResultRows servings;
        if (!db.tryRun(servingsStatement(id), &servings))
            return report;
        if (!servings.isEmpty()) {
            const ServingList list = servingsFromRows(servings, customWeight);
            report.weights = list.weights;
            report.weightNames = list.names;
        }
    }
    FigureTables tables;
    if (figureBasis) {
        tables.basis = foods.hasTable(QStringLiteral("NUTRIENT_STATS"));
        tables.derivations = tables.basis && foods.hasTable(QStringLiteral("DERIVATIONS"));
        tables.sources = tables.basis && foods.hasTable(QStringLiteral("SOURCES"));
    }
    ResultRows nutrients;
    if (foods.hasNutrientRecord() && db.tryRun(fullNutrientsStatement(id, tables), &nutrients))
        report.full = fullNutrientsFromRows(nutrients);
    ResultRows notes;
    if (figureBasis && foods.hasTable(QStringLiteral("FOOD_NOTES")) &&
        db.tryRun(
            QStringLiteral("select Footnote from FOOD_NOTES where NDB_No=%1 order by Seq").arg(id),
            &notes))
        for (int i = 0; i < notes.rowCount(); ++i)
            report.notes << notes.value(i, 0);
    return report;
}

ReportView shownView(const FoodReport &report, ReportView view) {
    return view == ReportView::Full && report.full.isEmpty() ? ReportView::Detailed : view;
}

ReportView nextView(const FoodReport &report, ReportView view) {
    switch (shownView(report, view)) {
    case ReportView::Basic:
        return ReportView::Detailed;
    case ReportView::Detailed:
        return report.full.isEmpty() ? ReportView::Label : ReportView::Full;
    case ReportView::Full:
        return ReportView::Label;
    case ReportView::Label:
        break;
    }
    return ReportView::Basic;
}

QList<ReportLine> reportLines(const FoodReport &report, ReportView view) {
    switch (shownView(report, view)) {
    case ReportView::Basic:
        return basicLines(report.values);
    case ReportView::Detailed:
        return detailedLines(report.values);
    case ReportView::Full:
        return fullLines(report.full);
    case ReportView::Label:
        break;
    }
    return {};
}

QString reportText(const FoodReport &report, ReportView view, int weightIndex,
                   const ReportOptions &options) {
    if (!report.found) {
        return reportPageOpening(options.colours) + notFoundText(report.id).toHtmlEscaped() +
               QStringLiteral("</qt>");
    }
    const ReportView shown = shownView(report, view);
    if (shown == ReportView::Label)
        return nutritionLabelHtml(report, weightIndex, options.colours);
    ReportOptions viewOptions = options;
    viewOptions.ranges = options.ranges && shown == ReportView::Full;
    return reportHtml(report.desc, report.group, reportLines(report, shown),
                      report.weights.value(weightIndex), viewOptions, report.notes);
}

QString reportPlainText(const FoodReport &report, ReportView view, int weightIndex, bool dailyValue,
                        bool ranges) {
    if (!report.found)
        return notFoundText(report.id) + QStringLiteral(" (") + report.release +
               QStringLiteral(")\n");
    const double grams = report.weights.value(weightIndex);
    QString text = report.desc + QStringLiteral("\nCategory: ") + report.group +
                   QStringLiteral("\nFood ") + report.id + QStringLiteral(", ") + report.release +
                   QStringLiteral("\nServing: ") + report.weightNames.value(weightIndex) +
                   QStringLiteral(", ") + QString::number(grams, 'g', 10) + QStringLiteral(" g\n");
    if (view == ReportView::Label)
        return text + labelPlainText(report, weightIndex);
    const bool withRanges = ranges && shownView(report, view) == ReportView::Full;
    text += dailyValue ? QStringLiteral("Nutrient\tUnit\tAmount\t%DV")
                       : QStringLiteral("Nutrient\tUnit\tAmount");
    if (withRanges)
        text += QStringLiteral("\tRange\tMedian\tStd. error\tDerivation\tSource");
    text += QLatin1Char('\n') +
            reportPlainRows(reportLines(report, view), grams, dailyValue, withRanges, report.notes);
    return dailyValue ? text + dailyValueSource() + QLatin1Char('\n') : text;
}
