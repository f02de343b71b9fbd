// Serving weights: the servings offered for a food and their menu texts.
#include "details/servings.h"

#include "db/resultrows.h"
#include "platform/cnumber.h"

#include <limits>

double parseStoredValue(const QString &text) {
    if (text.isEmpty())
        return 0.0;
    return cStrtod(text);
}

double parseStoredAmount(const QString &text) {
    if (text.isEmpty())
        return std::numeric_limits<double>::quiet_NaN();
    return cStrtod(text);
}

ServingList servingsFromRows(const ResultRows &rows, double customWeight) {
    ServingList list;
    for (int i = 0; i < rows.rowCount(); ++i) {
        const double grams = parseStoredValue(rows.value(i, 2));
        if (grams == 0.0)
            continue;
        QString name = rows.value(i, 1);
        const QString amount = rows.value(i, 0);
        if (!amount.isEmpty()) {
            QString number = QString::number(cStrtod(amount), 'f', 3);
            while (number.endsWith(QLatin1Char('0')))
                number.chop(1);
            if (number.endsWith(QLatin1Char('.')))
                number.chop(1);
            name = number + QLatin1Char(' ') + name;
        }
        list.names << name;
        list.weights << grams;
    }
    list.names << QStringLiteral("Custom");
    list.weights << customWeight;
    return list;
}

QString servingsStatement(const QString &foodId) {
    return QStringLiteral(
               "select Amount,Msre_Desc,Gm_Wgt from SERVINGS where NDB_No=%1 order by Seq")
        .arg(foodId);
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
