// The main window's details operations: loading a food and building its report.
#include "app/kalowindow.h"

#include "app/settings.h"
#include "details/kalodetailsdialog.h"
#include "details/nutrientcatalogue.h"
#include "details/nutrientreport.h"
#include "details/servings.h"
#include "finding/foodlistitem.h"

double KALOWindow::parseValue(const QString &text) {
    return parseStoredValue(text);
}

void KALOWindow::itemClicked(QTreeWidgetItem *item) {
    auto *food = dynamic_cast<FoodListItem *>(item);
    if (!food)
        return;

    reportValues.fill(0.0, nutrientCount);
    reportWeights.clear();
    reportWeightNames.clear();

    // A number that is not digits only never reaches SQL: it opens like a food with no row.
    const QString statement = detailsStatement(food->foodId());
    ResultRows rows;
    if (!statement.isNull()) {
        rows = db.exec(statement);
        if (db.hasError()) {
            showDatabaseError(db.lastError());
            return;
        }
    }

    const ServingList servings = buildServings(
        rows.value(0, DetailWeight1), rows.value(0, DetailWeightName1),
        rows.value(0, DetailWeight2), rows.value(0, DetailWeightName2), settings.customWeight);
    reportWeights = servings.weights;
    reportWeightNames = servings.names;
    reportDesc = expandDescription(rows.value(0, DetailDesc));
    for (int i = 0; i < nutrientCount; ++i)
        reportValues[i] = parseValue(rows.value(0, i));
    reportId = rows.value(0, DetailId);
    reportGroup = rows.value(0, DetailGroup);

    detailsDialog->setBasicView(settings.basicView);
    updateCachedArray(0);
    detailsDialog->exec();
    detailsDialog->hide();
    fillBookmarks();
}

void KALOWindow::updateCachedArray(int weightIndex) {
    // Both callers pass an index of reportWeights; anything else scales by 0 instead of reading
    // past the list.
    const double grams = reportWeights.value(weightIndex);
    detailsDialog->setDetails(reportId, reportDesc,
                              basicReport(reportDesc, reportGroup, reportValues, grams),
                              detailedReport(reportDesc, reportGroup, reportValues, grams),
                              reportWeightNames, reportWeights, weightIndex);
}
