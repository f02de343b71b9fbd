// Every nutrient of a food from the nutrient tables, grouped as the USDA groups them.
#pragma once

#include <QList>
#include <QString>

#include <limits>

class ResultRows;

// What a figure rests on, where the data says: the number of analyses, their range and middle,
// the standard error, how the figure was derived and where it comes from, and a footnote.
struct FigureBasis {
    static constexpr double unknown = std::numeric_limits<double>::quiet_NaN();
    int analyses = -1; // -1: not given
    double minimum = unknown;
    double maximum = unknown;
    double median = unknown;
    double standardError = unknown;
    QString derivation; // the code, with its description where the data has it: "A (Analytical)"
    QString source;
    QString footnote;
};

// The tables that tell what figures rest on, where the database has them.
struct FigureTables {
    bool basis = false;       // NUTRIENT_STATS
    bool derivations = false; // DERIVATIONS
    bool sources = false;     // SOURCES
};

// One nutrient of the food: named, ordered and in the unit of the USDA's nutrient definitions.
struct FullNutrient {
    int number = 0; // USDA nutrient number (9000 up: the program's own)
    QString name;
    QString unit;
    int order = 0;        // SR_Order; the largest int when the data gives none
    double per100g = 0.0; // NaN: the data has no figure for this food
    FigureBasis basis;    // read only where asked for
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
// food has no row), in SR_Order, and with the tables given what each figure rests on; the food
// number must be digits only.
QString fullNutrientsStatement(const QString &foodId, const FigureTables &tables = FigureTables());
// The rows of that statement; empty when the tables hold no nutrient.
QList<FullNutrient> fullNutrientsFromRows(const ResultRows &rows);
