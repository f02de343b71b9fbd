// The report state of one food: what the details statement returned, ready for the report views.
#include "details/foodreport.h"

#include "db/resultrows.h"
#include "details/nutrientcatalogue.h"
#include "details/nutrientreport.h"
#include "details/servings.h"

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
        report.values.append(parseStoredValue(rows.value(0, i)));
    report.id = rows.value(0, DetailId);
    report.group = rows.value(0, DetailGroup);
    return report;
}

QString basicReportText(const FoodReport &report, int weightIndex) {
    return basicReport(report.desc, report.group, report.values, report.weights.value(weightIndex));
}

QString detailedReportText(const FoodReport &report, int weightIndex) {
    return detailedReport(report.desc, report.group, report.values,
                          report.weights.value(weightIndex));
}
