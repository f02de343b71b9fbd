// The USDA nutrient data as the builder reads it, whatever the source format.
#include "tools/srdata.h"

#include <algorithm>
#include <charconv>
#include <cmath>

std::optional<double> SrFood::amount(int nutrientNumber) const {
    const auto it =
        std::lower_bound(amounts.begin(), amounts.end(), nutrientNumber,
                         [](const SrAmount &amount, int wanted) { return amount.number < wanted; });
    if (it == amounts.end() || it->number != nutrientNumber)
        return std::nullopt;
    return it->value;
}

QString servingName(const SrServing &serving) {
    QString amount = QString::number(serving.amount, 'f', 3);
    while (amount.endsWith(QLatin1Char('0')))
        amount.chop(1);
    if (amount.endsWith(QLatin1Char('.')))
        amount.chop(1);
    if (amount == QLatin1String("-0"))
        amount = QStringLiteral("0");
    return amount + QLatin1Char(' ') + serving.measure;
}

std::optional<double> parseSourceNumber(QByteArrayView text) {
    // The grammar is checked here so that from_chars, which stops at the first character it does
    // not take, never accepts a number followed by rubbish.
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto digits = [&] {
        const qsizetype start = i;
        while (i < n && text[i] >= '0' && text[i] <= '9')
            ++i;
        return i - start;
    };
    if (i < n && (text[i] == '-' || text[i] == '+'))
        ++i;
    const qsizetype numberStart = (n > 0 && text[0] == '+') ? 1 : 0;
    qsizetype mantissa = digits();
    if (i < n && text[i] == '.') {
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0)
        return std::nullopt;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < n && (text[i] == '-' || text[i] == '+'))
            ++i;
        if (digits() == 0)
            return std::nullopt;
    }
    if (i != n)
        return std::nullopt;

    double value = 0;
    const char *begin = text.data() + numberStart;
    const char *end = text.data() + n;
    const auto result = std::from_chars(begin, end, value);
    if (result.ec != std::errc() || result.ptr != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}
