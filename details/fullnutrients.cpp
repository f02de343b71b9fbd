// Every nutrient of a food from the nutrient tables, grouped as the USDA groups them.
#include "details/fullnutrients.h"

#include "db/resultrows.h"
#include "details/servings.h"

#include <limits>

NutrientGroup nutrientGroup(int srOrder) {
    if (srOrder < 5000)
        return NutrientGroup::Proximates;
    if (srOrder < 6300)
        return NutrientGroup::Minerals;
    if (srOrder < 9700)
        return NutrientGroup::Vitamins;
    if (srOrder < 16300)
        return NutrientGroup::Lipids;
    if (srOrder < 18200)
        return NutrientGroup::AminoAcids;
    return NutrientGroup::Other;
}

QString nutrientGroupName(NutrientGroup group) {
    switch (group) {
    case NutrientGroup::Proximates:
        return QStringLiteral("Proximates");
    case NutrientGroup::Minerals:
        return QStringLiteral("Minerals");
    case NutrientGroup::Vitamins:
        return QStringLiteral("Vitamins");
    case NutrientGroup::Lipids:
        return QStringLiteral("Lipids");
    case NutrientGroup::AminoAcids:
        return QStringLiteral("Amino Acids");
    case NutrientGroup::Other:
        break;
    }
    return QStringLiteral("Other");
}

QString fullNutrientsStatement(const QString &foodId, const FigureTables &tables) {
    QString columns;
    QString joins;
    if (tables.basis) {
        columns = QStringLiteral(",Data_Pts,Min,Max,Median,Std_Error,NUTRIENT_STATS.Deriv_Cd,%1,"
                                 "NUTRIENT_STATS.Src_Cd,%2,Footnote")
                      .arg(tables.derivations ? QStringLiteral("DERIVATIONS.Description")
                                              : QStringLiteral("NULL"),
                           tables.sources ? QStringLiteral("SOURCES.Description")
                                          : QStringLiteral("NULL"));
        joins =
            QStringLiteral(" left join NUTRIENT_STATS on NUTRIENT_STATS.Nutr_No=NUTRIENTS.Nutr_No "
                           "and NUTRIENT_STATS.NDB_No=%1")
                .arg(foodId);
        if (tables.derivations)
            joins += QStringLiteral(" left join DERIVATIONS on DERIVATIONS.Deriv_Cd="
                                    "NUTRIENT_STATS.Deriv_Cd");
        if (tables.sources)
            joins += QStringLiteral(" left join SOURCES on SOURCES.Src_Cd=NUTRIENT_STATS.Src_Cd");
    }
    return QStringLiteral(
               "select NUTRIENTS.Nutr_No,Name,Units,SR_Order,Nutr_Val%1 from NUTRIENTS left join "
               "NUTRIENT_DATA on NUTRIENT_DATA.Nutr_No=NUTRIENTS.Nutr_No and "
               "NUTRIENT_DATA.NDB_No=%2%3 order by SR_Order is null,SR_Order,NUTRIENTS.Nutr_No")
        .arg(columns, foodId, joins);
}

namespace {

// A code with its description: "A (Analytical)", the code alone without one.
QString described(const QString &code, const QString &description) {
    if (code.isEmpty() || description.isEmpty())
        return code;
    return code + QStringLiteral(" (") + description + QLatin1Char(')');
}

} // namespace

QList<FullNutrient> fullNutrientsFromRows(const ResultRows &rows) {
    QList<FullNutrient> nutrients;
    nutrients.reserve(rows.rowCount());
    for (int i = 0; i < rows.rowCount(); ++i) {
        FullNutrient n;
        n.number = rows.value(i, 0).toInt();
        n.name = rows.value(i, 1);
        n.unit = rows.value(i, 2);
        const QString order = rows.value(i, 3);
        n.order = order.isEmpty() ? std::numeric_limits<int>::max() : order.toInt();
        n.per100g = parseStoredAmount(rows.value(i, 4));
        if (rows.columnCount() > 5) {
            FigureBasis &b = n.basis;
            const QString analyses = rows.value(i, 5);
            b.analyses = analyses.isEmpty() ? -1 : analyses.toInt();
            b.minimum = parseStoredAmount(rows.value(i, 6));
            b.maximum = parseStoredAmount(rows.value(i, 7));
            b.median = parseStoredAmount(rows.value(i, 8));
            b.standardError = parseStoredAmount(rows.value(i, 9));
            b.derivation = described(rows.value(i, 10), rows.value(i, 11));
            b.source = described(rows.value(i, 12), rows.value(i, 13));
            b.footnote = rows.value(i, 14);
        }
        nutrients << n;
    }
    return nutrients;
}
