// Fuzzes the readers of the SR24 data jar: a food's XML file, the foods.index list, and a whole
// jar held in memory. Input: one selector byte (0: food XML, 1: foods.index, 2: a jar), then the
// bytes.
#include "fuzz/fuzz_common.h"
#include "tools/sr24jarreader.h"
#include "tools/sr24nutrients.h"

#include <QSet>

#include <cmath>

namespace {

void checkFood(const SrFood &food, const QString &where) {
    for (const SrServing &serving : food.servings) {
        FUZZ_CHECK(std::isfinite(serving.amount) && std::isfinite(serving.grams), where);
        FUZZ_CHECK(serving.measure == serving.measure.trimmed(), where);
    }
    // One figure per nutrient, ascending, each a nutrient of the jar's table.
    int previous = 0;
    for (const SrAmount &amount : food.amounts) {
        FUZZ_CHECK(amount.number > previous && std::isfinite(amount.value), where);
        bool known = false;
        for (const SrNutrient &nutrient : sr24Nutrients())
            known = known || nutrient.number == amount.number;
        FUZZ_CHECK(known, where);
        previous = amount.number;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0)
        return 0;
    const QByteArray bytes = fuzzBytes(data + 1, size - 1);
    QString error;
    switch (data[0] % 3) {
    case 0: {
        SrFood food;
        bool hasNutrients = false;
        if (Sr24JarReader::parseFood(bytes, QStringLiteral("usda_sr24/01009.xml"),
                                     QStringLiteral("01009"), &food, &hasNutrients, &error)) {
            checkFood(food, QString::fromUtf8(bytes));
            FUZZ_CHECK(hasNutrients == !food.amounts.empty(), QString::fromUtf8(bytes));
        } else {
            FUZZ_CHECK(error.startsWith(QLatin1String("usda_sr24/01009.xml:")), error);
        }
        break;
    }
    case 1: {
        QList<Sr24JarReader::IndexEntry> entries;
        if (Sr24JarReader::parseIndex(bytes, QStringLiteral("foods.index"), &entries, &error)) {
            QSet<int> numbers;
            for (const auto &entry : entries) {
                FUZZ_CHECK(!numbers.contains(entry.number), entry.key);
                numbers.insert(entry.number);
                FUZZ_CHECK(entry.key.toInt() == entry.number, entry.key);
                FUZZ_CHECK(!entry.description.trimmed().isEmpty(), entry.key);
                for (const QChar c : entry.description)
                    FUZZ_CHECK(c.unicode() >= 0x20 && c.unicode() != 0x7F, entry.description);
            }
        } else {
            FUZZ_CHECK(error.startsWith(QLatin1String("foods.index:")), error);
        }
        break;
    }
    default: {
        Sr24JarReader reader;
        if (reader.readBytes(bytes, QStringLiteral("fuzz.jar"))) {
            int previous = -1;
            for (const SrFood &food : reader.data().foods) {
                FUZZ_CHECK(food.number > previous, QString::number(food.number));
                previous = food.number;
                checkFood(food, QString::number(food.number));
            }
        } else {
            FUZZ_CHECK(reader.errorString().startsWith(QLatin1String("fuzz.jar: ")),
                       reader.errorString());
        }
        break;
    }
    }
    return 0;
}
