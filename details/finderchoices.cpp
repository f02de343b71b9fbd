// The nutrients a Find by Nutrients condition can name, and the names it shows for them.
#include "details/finderchoices.h"

#include "db/foodsdatabase.h"
#include "db/foodsschema.h"

#include <algorithm>
#include <cmath>

QList<FullNutrient> finderChoices(FoodsDatabase &foods) {
    if (foods.hasNutrientRecord()) {
        ResultRows rows;
        if (foods.connection().tryRun(
                QStringLiteral("select Nutr_No, Name, Units, SR_Order, NULL from NUTRIENTS "
                               "order by SR_Order is null, SR_Order, Nutr_No"),
                &rows) &&
            !rows.isEmpty())
            return fullNutrientsFromRows(rows);
    }
    QList<FullNutrient> choices;
    for (int i = 0; i < foodsNutrientCount; ++i)
        choices << FullNutrient{foodsNutrients[i].number,
                                QLatin1String(foodsNutrients[i].name),
                                QLatin1String(foodsNutrients[i].unit),
                                i,
                                std::nan(""),
                                {}};
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
