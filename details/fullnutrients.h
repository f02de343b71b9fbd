// Every nutrient of a food from the nutrient tables, grouped as the USDA groups them.
#pragma once

#include <QList>
#include <QString>

class ResultRows;

// One nutrient of the food: named, ordered and in the unit of the USDA's nutrient definitions.
struct FullNutrient {
    int number = 0; // USDA nutrient number (9000 up: the program's own)
    QString name;
    QString unit;
    int order = 0;        // SR_Order; the largest int when the data gives none
    double per100g = 0.0; // NaN: the data has no figure for this food
};

// The groups of the USDA's nutrient reports, in their order.
enum class NutrientGroup { Proximates, Minerals, Vitamins, Lipids, AminoAcids, Other };

// The group of a nutrient by its place in the USDA's sort order (SR_Order), whose ranges follow
// the groups: below 5000 the proximates (water 100 ... starch 2200), below 6300 the minerals
// (calcium 5300 ... fluoride 6240), below 9700 the vitamins (vitamin C 6300 ... vitamin K 8950),
// below 16300 the lipids (saturated fatty acids 9700 ... phytosterols 16200), below 18200 the
// amino acids (tryptophan 16300 ... hydroxyproline 18100), the rest other (alcohol 18200,
// caffeine 18300, theobromine 18400) and any nutrient without an order.
NutrientGroup nutrientGroup(int srOrder);
QString nutrientGroupName(NutrientGroup group);

// Every nutrient of NUTRIENTS with the food's amount per 100 g from NUTRIENT_DATA (NULL where the
// food has no row), in SR_Order; the food number must be digits only.
QString fullNutrientsStatement(const QString &foodId);
// The rows of that statement; empty when the tables hold no nutrient.
QList<FullNutrient> fullNutrientsFromRows(const ResultRows &rows);
