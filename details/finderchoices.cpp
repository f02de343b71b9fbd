// The nutrients a Find by Nutrients condition can name, and the names it shows for them.
#include "details/finderchoices.h"

#include "db/foodsschema.h"
#include "db/sqlitedb.h"
#include "details/nutrientcatalogue.h"

#include <algorithm>
#include <cmath>

QList<FullNutrient> finderChoices(SQLiteDB &db, const FinderSchema &schema) {
    if (schema.nutrientTables) {
        const ResultRows rows =
            db.exec(QStringLiteral("select Nutr_No, Name, Units, SR_Order, NULL from NUTRIENTS "
                                   "order by SR_Order is null, SR_Order, Nutr_No"),
                    false);
        if (!db.hasError() && !rows.isEmpty())
            return fullNutrientsFromRows(rows);
        db.lastError(); // the amounts of FOODS_WR remain
    }
    QList<FullNutrient> choices;
    for (int i = 0; i < nutrientCount; ++i) {
        if (!schema.foodsColumns.contains(QLatin1String(foodsNutrientColumns[i])))
            continue;
        choices << FullNutrient{foodsNutrientNumbers[i], QLatin1String(nutrientNames[i]),
                                QLatin1String(nutrientUnits[i]), i, std::nan("")};
    }
    return choices;
}

QStringList finderNames(const QList<int> &nutrients, const QList<FullNutrient> &choices) {
    QStringList names;
    for (const int number : nutrients) {
        const auto found =
            std::find_if(choices.begin(), choices.end(),
                         [number](const FullNutrient &n) { return n.number == number; });
        names << (found != choices.end() ? found->name : QStringLiteral("nutrient %1").arg(number));
    }
    return names;
}
