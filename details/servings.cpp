// Serving weights: the servings offered for a food and their menu texts.
#include "details/servings.h"

#include "platform/cnumber.h"

double parseStoredValue(const QString &text) {
    if (text.isEmpty())
        return 0.0;
    return cStrtod(text);
}

ServingList buildServings(const QString &weight1, const QString &name1, const QString &weight2,
                          const QString &name2, double customWeight) {
    ServingList list;
    const double w1 = parseStoredValue(weight1);
    if (w1 != 0.0) {
        list.names << name1;
        list.weights << w1;
    }
    const double w2 = parseStoredValue(weight2);
    if (w2 != 0.0) {
        list.names << name2;
        list.weights << w2;
    }
    list.names << QStringLiteral("Custom");
    list.weights << customWeight;
    return list;
}

QString servingMenuText(const QString &name, double grams) {
    // The name goes in with arg(): asprintf's %s would read it as UTF-8 bytes.
    return QStringLiteral("%1  (%2 g)").arg(name, QString::asprintf("%.1f", grams));
}
