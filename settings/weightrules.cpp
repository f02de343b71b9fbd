// The rules for the user's custom serving weight, shared by the Options page and the servings.
#include "settings/weightrules.h"

#include "platform/cnumber.h"

#include <cmath>

double normalisedWeight(double grams) {
    if (!std::isfinite(grams) || grams == 0.0)
        return 100.0;
    return std::fabs(grams);
}

double weightFromText(const QString &text) {
    return normalisedWeight(cStrtod(QString(text).replace(QLatin1Char(','), QLatin1Char('.'))));
}

QString weightText(double grams) {
    return QString::asprintf("%.2f", grams);
}
