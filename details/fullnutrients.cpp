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

QString fullNutrientsStatement(const QString &foodId) {
    return QStringLiteral(
               "select NUTRIENTS.Nutr_No,Name,Units,SR_Order,Nutr_Val from NUTRIENTS left join "
               "NUTRIENT_DATA on NUTRIENT_DATA.Nutr_No=NUTRIENTS.Nutr_No and "
               "NUTRIENT_DATA.NDB_No=%1 order by SR_Order is null,SR_Order,NUTRIENTS.Nutr_No")
        .arg(foodId);
}

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
        nutrients << n;
    }
    return nutrients;
}
