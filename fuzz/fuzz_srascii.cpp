// Fuzzes the reader of the USDA SR ASCII files: one record line, one file of each kind, and the
// five files together. Input: one selector byte (0: one line; 1 to 4: FD_GROUP, FOOD_DES,
// NUT_DATA, WEIGHT alone; 5: FD_GROUP, FOOD_DES, NUT_DATA, WEIGHT and NUTR_DEF in this order,
// separated by the byte 0x1E; 6: NUTR_DEF alone).
#include "fuzz/fuzz_common.h"
#include "tools/srasciireader.h"

#include <QSet>

#include <cmath>

namespace {

void checkData(const SrAsciiReader &reader) {
    const SrData &data = reader.data();
    QSet<QString> codes;
    for (const SrGroup &group : data.groups) {
        FUZZ_CHECK(group.code.size() == 4 && !group.name.trimmed().isEmpty(), group.code);
        FUZZ_CHECK(!codes.contains(group.code), group.code);
        codes.insert(group.code);
    }
    QSet<int> defined;
    for (const SrNutrient &nutrient : data.nutrients)
        defined.insert(nutrient.number);
    int previous = -1;
    for (const SrFood &food : data.foods) {
        const QString where = QString::number(food.number);
        FUZZ_CHECK(food.number > previous, where);
        previous = food.number;
        FUZZ_CHECK(codes.contains(food.group), where);
        FUZZ_CHECK(!food.description.isEmpty(), where);
        for (const SrServing &serving : food.servings)
            FUZZ_CHECK(std::isfinite(serving.amount) && std::isfinite(serving.grams), where);
        // One figure per nutrient, ascending, each one that NUTR_DEF defines.
        int number = -1;
        for (const SrAmount &amount : food.amounts) {
            FUZZ_CHECK(amount.number > number && std::isfinite(amount.value), where);
            FUZZ_CHECK(defined.contains(amount.number), where);
            number = amount.number;
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0)
        return 0;
    const QByteArray bytes = fuzzBytes(data + 1, size - 1);
    const int mode = data[0] % 7;
    if (mode == 0) {
        QStringList fields;
        QString why;
        if (SrAsciiReader::splitRecord(bytes, &fields, &why)) {
            FUZZ_CHECK(!fields.isEmpty(), QString());
            // No control character but the tab, and one field more than there are '^' outside
            // the '~' wrappers.
            for (const QString &field : fields)
                for (const QChar c : field)
                    FUZZ_CHECK(c.unicode() >= 0x20 || c == QLatin1Char('\t'), field);
            qsizetype separators = 0;
            bool wrapped = false;
            for (const char c : bytes) {
                if (c == '~')
                    wrapped = !wrapped;
                else if (c == '^' && !wrapped)
                    ++separators;
            }
            FUZZ_CHECK(fields.size() == separators + 1, QString::fromLatin1(bytes));
        } else {
            FUZZ_CHECK(!why.isEmpty(), QString::fromLatin1(bytes));
        }
        return 0;
    }

    SrAsciiReader reader(24);
    bool ok = true;
    if (mode == 5) {
        const QList<QByteArray> parts = bytes.split('\x1e');
        const QString names[5] = {QStringLiteral("FD_GROUP.txt"), QStringLiteral("FOOD_DES.txt"),
                                  QStringLiteral("NUT_DATA.txt"), QStringLiteral("WEIGHT.txt"),
                                  QStringLiteral("NUTR_DEF.txt")};
        for (int i = 0; i < 5 && ok; ++i) {
            const QByteArray part = i < parts.size() ? parts[i] : QByteArray();
            switch (i) {
            case 0:
                ok = reader.parseGroups(part, names[i]);
                break;
            case 1:
                ok = reader.parseFoods(part, names[i]);
                break;
            case 2:
                ok = reader.parseNutrients(part, names[i]);
                break;
            case 3:
                ok = reader.parseWeights(part, names[i]);
                break;
            default:
                ok = reader.parseNutrientDefinitions(part, names[i]);
                break;
            }
            if (!ok)
                FUZZ_CHECK(reader.errorString().startsWith(names[i] + QLatin1Char(':')),
                           reader.errorString());
        }
    } else {
        switch (mode) {
        case 1:
            ok = reader.parseGroups(bytes, QStringLiteral("FD_GROUP.txt"));
            break;
        case 2:
            ok = reader.parseFoods(bytes, QStringLiteral("FOOD_DES.txt"));
            break;
        case 3:
            ok = reader.parseNutrients(bytes, QStringLiteral("NUT_DATA.txt"));
            break;
        case 4:
            ok = reader.parseWeights(bytes, QStringLiteral("WEIGHT.txt"));
            break;
        default:
            ok = reader.parseNutrientDefinitions(bytes, QStringLiteral("NUTR_DEF.txt"));
            break;
        }
    }
    if (ok && reader.finish())
        checkData(reader);
    return 0;
}
