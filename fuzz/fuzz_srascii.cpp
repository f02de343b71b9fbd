// Fuzzes the reader of the USDA SR ASCII files: one record line, one file of each kind, and the
// four files together. Input: one selector byte (0: one line; 1 to 4: FD_GROUP, FOOD_DES,
// NUT_DATA, WEIGHT alone; 5: the four files in this order, separated by the byte 0x1E).
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
    int previous = -1;
    for (const SrFood &food : data.foods) {
        const QString where = QString::number(food.number);
        FUZZ_CHECK(food.number > previous, where);
        previous = food.number;
        FUZZ_CHECK(codes.contains(food.group), where);
        FUZZ_CHECK(!food.description.isEmpty(), where);
        FUZZ_CHECK(food.servings.size() <= 2, where);
        for (const SrServing &serving : food.servings)
            FUZZ_CHECK(std::isfinite(serving.amount) && std::isfinite(serving.grams), where);
        for (const auto &amount : food.nutrients)
            FUZZ_CHECK(!amount || std::isfinite(*amount), where);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0)
        return 0;
    const QByteArray bytes = fuzzBytes(data + 1, size - 1);
    const int mode = data[0] % 6;
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
        const QString names[4] = {QStringLiteral("FD_GROUP.txt"), QStringLiteral("FOOD_DES.txt"),
                                  QStringLiteral("NUT_DATA.txt"), QStringLiteral("WEIGHT.txt")};
        for (int i = 0; i < 4 && ok; ++i) {
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
            default:
                ok = reader.parseWeights(part, names[i]);
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
        default:
            ok = reader.parseWeights(bytes, QStringLiteral("WEIGHT.txt"));
            break;
        }
    }
    if (ok && reader.finish())
        checkData(reader);
    return 0;
}
