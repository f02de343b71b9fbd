// The FDA Daily Values and the percentage of them in a serving.
#include "details/dailyvalues.h"

#include <cmath>
#include <limits>

namespace {

// The Daily Values for adults and children 4 years and over, as 21 CFR 101.9(c) gives them since
// its revision of 27 May 2016 (81 FR 33742): the Reference Daily Intakes of (c)(8)(iv) and the
// Daily Reference Values of (c)(9). Only nutrients that the USDA data holds on the Daily Value's
// own basis are listed, each with the unit the data gives it in and the factor that turns that
// unit into the Daily Value's unit. Left out on purpose, because the USDA figure is on another
// basis: vitamin A in IU (318; the Daily Value is in ug RAE), total folate (417; ug DFE),
// preformed niacin (406; mg NE), protein (203; its percentage needs the protein digestibility-
// corrected amino acid score, (c)(7)(ii)).
struct DailyValue {
    int number;           // USDA nutrient number
    const char *dataUnit; // the unit of the USDA figure
    double factor;        // data unit -> Daily Value unit
    double amount;        // the Daily Value
    const char *citation; // paragraph of 21 CFR 101.9(c)
};

const DailyValue dailyValues[] = {
    {204, "g", 1.0, 78.0, "(c)(9) fat"},
    {606, "g", 1.0, 20.0, "(c)(9) saturated fat"},
    {601, "mg", 1.0, 300.0, "(c)(9) cholesterol"},
    {205, "g", 1.0, 275.0, "(c)(9) total carbohydrate"},
    {307, "mg", 1.0, 2300.0, "(c)(9) sodium"},
    {291, "g", 1.0, 28.0, "(c)(9) dietary fiber"},
    {539, "g", 1.0, 50.0, "(c)(9) added sugars"},
    {320, "ug", 1.0, 900.0, "(c)(8)(iv) vitamin A, ug RAE"},
    {401, "mg", 1.0, 90.0, "(c)(8)(iv) vitamin C"},
    {301, "mg", 1.0, 1300.0, "(c)(8)(iv) calcium"},
    {303, "mg", 1.0, 18.0, "(c)(8)(iv) iron"},
    {328, "ug", 1.0, 20.0, "(c)(8)(iv) vitamin D"},
    {324, "IU", 0.025, 20.0, "(c)(8)(iv) vitamin D; 1 IU = 0.025 ug"},
    {323, "mg", 1.0, 15.0, "(c)(8)(iv) vitamin E, alpha-tocopherol"},
    {430, "ug", 1.0, 120.0, "(c)(8)(iv) vitamin K"},
    {404, "mg", 1.0, 1.2, "(c)(8)(iv) thiamin"},
    {405, "mg", 1.0, 1.3, "(c)(8)(iv) riboflavin"},
    {415, "mg", 1.0, 1.7, "(c)(8)(iv) vitamin B6"},
    {435, "ug", 1.0, 400.0, "(c)(8)(iv) folate, ug DFE"},
    {418, "ug", 1.0, 2.4, "(c)(8)(iv) vitamin B12"},
    {410, "mg", 1.0, 5.0, "(c)(8)(iv) pantothenic acid"},
    {305, "mg", 1.0, 1250.0, "(c)(8)(iv) phosphorus"},
    {304, "mg", 1.0, 420.0, "(c)(8)(iv) magnesium"},
    {309, "mg", 1.0, 11.0, "(c)(8)(iv) zinc"},
    {317, "ug", 1.0, 55.0, "(c)(8)(iv) selenium"},
    {312, "mg", 1.0, 0.9, "(c)(8)(iv) copper"},
    {315, "mg", 1.0, 2.3, "(c)(8)(iv) manganese"},
    {306, "mg", 1.0, 4700.0, "(c)(8)(iv) potassium"},
    {421, "mg", 1.0, 550.0, "(c)(8)(iv) choline"},
};

// Units compared without regard to case and to the spelling of micro ("mcg", "ug", the micro
// sign or the Greek mu), and with the basis suffix the USDA writes for vitamin A and folate
// ("ug_RAE", "ug_DFE"). Any other suffix ("mg_ATE": tocopherol equivalents, not
// alpha-tocopherol) keeps the unit apart.
QString unitKey(const QString &unit) {
    QString key = unit.trimmed().toLower();
    for (const QString &micro :
         {QStringLiteral("mcg"), QStringLiteral("\u00b5g"), QStringLiteral("\u03bcg")}) {
        if (key.startsWith(micro))
            key.replace(0, micro.size(), QStringLiteral("ug"));
    }
    if (key == QLatin1String("ug_rae") || key == QLatin1String("ug_dfe"))
        key.truncate(2);
    return key;
}

const DailyValue *dailyValueOf(int number, const QString &unit) {
    const QString key = unitKey(unit);
    for (const DailyValue &dv : dailyValues) {
        if (dv.number == number && key == QString::fromLatin1(dv.dataUnit).toLower())
            return &dv;
    }
    return nullptr;
}

} // namespace

double dailyValuePercent(int nutrientNumber, const QString &unit, double amount) {
    const DailyValue *dv = dailyValueOf(nutrientNumber, unit);
    if (!dv)
        return std::numeric_limits<double>::quiet_NaN();
    return amount * dv->factor / dv->amount * 100.0;
}

QString dailyValueText(int nutrientNumber, const QString &unit, double amount) {
    if (!dailyValueOf(nutrientNumber, unit))
        return QString();
    const double percent = dailyValuePercent(nutrientNumber, unit, amount);
    if (std::isnan(percent))
        return QStringLiteral("--");
    // 21 CFR 101.9(c)(8)(iii): the percentage to the nearest whole percent.
    return QString::number(std::floor(percent + 0.5), 'f', 0) + QLatin1Char('%');
}

QString dailyValueSource() {
    return QStringLiteral("%DV: percent of the FDA Daily Value for adults and children 4 years "
                          "and over (21 CFR 101.9(c), 2016)");
}
