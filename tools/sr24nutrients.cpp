// The nutrients of the SR24 data jar, which names them by short names of its own.
#include "tools/sr24nutrients.h"

#include <QHash>

extern const char sr24NutrientsTsv[];

namespace {

struct NutrientTable {
    QList<SrNutrient> nutrients;
    QHash<QString, int> numbers; // jar name to Nutr_No
};

const NutrientTable &table() {
    static const NutrientTable parsed = [] {
        NutrientTable t;
        const QStringList lines = QString::fromUtf8(sr24NutrientsTsv).split(QLatin1Char('\n'));
        for (const QString &line : lines) {
            if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
                continue;
            const QStringList fields = line.split(QLatin1Char('\t'));
            // The table is part of the program; a broken line is a build mistake, caught by tests.
            if (fields.size() != 5)
                continue;
            const SrNutrient nutrient{fields[1].toInt(), fields[3], fields[2], fields[4].toInt()};
            t.nutrients.append(nutrient);
            t.numbers.insert(fields[0], nutrient.number);
        }
        return t;
    }();
    return parsed;
}

} // namespace

const QList<SrNutrient> &sr24Nutrients() {
    return table().nutrients;
}

int sr24NutrientNumber(QStringView jarName) {
    return table().numbers.value(jarName.toString());
}
