// The texts of FoodData Central downloads as FOODS.db stores them: descriptions, servings, units
// and barcodes.
#include "tools/fdctext.h"

#include <QRegularExpression>

#include <cmath>

QString fdcText(QByteArrayView utf8) {
    QString text = QString::fromUtf8(utf8);
    for (QChar &c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = QLatin1Char(' ');
        else if (c == QLatin1Char('@'))
            c = QChar(0xFF20);
    }
    return text.simplified();
}

QString fdcBrandedDescription(const QString &description, const QString &brandName,
                              const QString &brandOwner) {
    const QString brand = brandName.isEmpty() ? brandOwner : brandName;
    if (brand.isEmpty() || description.startsWith(brand, Qt::CaseInsensitive))
        return description.isEmpty() ? brand : description;
    if (description.isEmpty())
        return brand;
    return brand + QStringLiteral(", ") + description;
}

SrServing fdcHouseholdServing(const QString &text, double grams) {
    // A whole number, a decimal, a fraction or a whole number and a fraction, then the measure.
    static const QRegularExpression amount(
        QStringLiteral(R"(^(?:(\d+)\s+(\d+)/(\d+)|(\d+)/(\d+)|(\d*\.?\d+))(?![\d./])\s*(\S.*)$)"));
    const QRegularExpressionMatch match = amount.match(text);
    if (!match.hasMatch())
        return {1, text, grams};
    double value = 0;
    if (match.hasCaptured(1))
        value = match.captured(1).toDouble() +
                match.captured(2).toDouble() / match.captured(3).toDouble();
    else if (match.hasCaptured(4))
        value = match.captured(4).toDouble() / match.captured(5).toDouble();
    else
        value = match.captured(6).toDouble();
    if (!(value > 0) || !std::isfinite(value))
        return {1, text, grams};
    return {value, match.captured(7), grams};
}

SrServing fdcPortion(const QString &amount, const QString &unit, const QString &description,
                     const QString &modifier, double grams) {
    QString measure;
    if (!unit.isEmpty() && unit != QLatin1String("undetermined"))
        measure = modifier.isEmpty() ? unit : unit + QStringLiteral(", ") + modifier;
    else
        measure = description.isEmpty() ? modifier : description;
    const std::optional<double> given = parseSourceNumber(amount.toLatin1());
    if (given)
        return {*given, measure, grams};
    return fdcHouseholdServing(measure, grams);
}

SrServing fdcLabelServing(double size, const QString &unit, const QString &household) {
    if (!household.isEmpty())
        return fdcHouseholdServing(household, size);
    // Labels give grams as GRM or g, millilitres as MLT or ml.
    QString measure = unit.toLower();
    if (measure == QLatin1String("grm"))
        measure = QStringLiteral("g");
    else if (measure == QLatin1String("mlt"))
        measure = QStringLiteral("ml");
    return {size, measure, size};
}

QString fdcUnits(const QString &unit) {
    const QString upper = unit.toUpper();
    if (upper == QLatin1String("G"))
        return QStringLiteral("g");
    if (upper == QLatin1String("MG"))
        return QStringLiteral("mg");
    if (upper == QLatin1String("UG") || upper == QLatin1String("MCG"))
        return QStringLiteral("µg");
    if (upper == QLatin1String("KCAL"))
        return QStringLiteral("kcal");
    if (upper == QLatin1String("KJ"))
        return QStringLiteral("kJ");
    return unit;
}

quint64 fdcBarcode(QByteArrayView gtin) {
    const QByteArrayView code = gtin.trimmed();
    if (code.size() > 19)
        return 0;
    quint64 number = 0;
    for (const char c : code) {
        if (c < '0' || c > '9')
            return 0;
        number = number * 10 + quint64(c - '0');
    }
    return number;
}
