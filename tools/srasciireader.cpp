// Reads the USDA SR ASCII release files (Release 14 onward).
#include "tools/srasciireader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

// Code page 1252 at 0x80..0x9F; 0 marks the five bytes it leaves undefined.
const char16_t cp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

bool decodeCp1252(QByteArrayView bytes, QString *out, QString *why) {
    out->resize(bytes.size());
    QChar *to = out->data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        char16_t unit = byte;
        if (byte >= 0x80 && byte < 0xA0)
            unit = cp1252High[byte - 0x80];
        if (unit == 0 || (byte < 0x20 && byte != '\t') || byte == 0x7F) {
            *why =
                QStringLiteral("byte 0x%1 is no text character").arg(byte, 2, 16, QLatin1Char('0'));
            return false;
        }
        to[i] = QChar(unit);
    }
    return true;
}

// A food, nutrient or sequence number: one to nine digits.
bool parseCode(const QString &text, int *value) {
    if (text.isEmpty() || text.size() > 9)
        return false;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    *value = text.toInt();
    return true;
}

bool isGroupCode(const QString &text) {
    int ignored = 0;
    return text.size() == 4 && parseCode(text, &ignored);
}

// A number field; an empty field is unknown. False for anything else that is no number.
bool parseAmount(const QString &text, std::optional<double> *value) {
    if (text.isEmpty()) {
        value->reset();
        return true;
    }
    *value = parseSourceNumber(text.toLatin1());
    return value->has_value();
}

QString stepName(const QString &fileName) {
    return QStringLiteral("reading ") + QFileInfo(fileName).fileName();
}

} // namespace

SrAsciiReader::SrAsciiReader(int releaseNumber)
    : release(releaseNumber) {}

bool SrAsciiReader::fail(const QString &message) {
    error = message;
    return false;
}

bool SrAsciiReader::splitRecord(QByteArrayView line, QStringList *fields, QString *why) {
    fields->clear();
    const qsizetype n = line.size();
    qsizetype pos = 0;
    while (true) {
        QByteArrayView raw;
        if (pos < n && line[pos] == '~') {
            const qsizetype close = line.indexOf('~', pos + 1);
            if (close < 0) {
                *why = QStringLiteral("field %1: no closing '~'").arg(fields->size() + 1);
                return false;
            }
            raw = line.sliced(pos + 1, close - pos - 1);
            pos = close + 1;
            if (pos < n && line[pos] != '^') {
                *why =
                    QStringLiteral("field %1: text after the closing '~'").arg(fields->size() + 1);
                return false;
            }
        } else {
            qsizetype end = line.indexOf('^', pos);
            if (end < 0)
                end = n;
            raw = line.sliced(pos, end - pos);
            if (raw.contains('~')) {
                *why = QStringLiteral("field %1: stray '~'").arg(fields->size() + 1);
                return false;
            }
            pos = end;
        }
        QString text;
        if (!decodeCp1252(raw, &text, why)) {
            *why = QStringLiteral("field %1: %2").arg(fields->size() + 1).arg(*why);
            return false;
        }
        fields->append(text);
        if (pos >= n)
            return true;
        ++pos; // the '^'; one at the end of the line opens an empty last field
        if (pos == n) {
            fields->append(QString());
            return true;
        }
    }
}

bool SrAsciiReader::parseRecords(const QByteArray &bytes, const QString &fileName,
                                 int minimumFields, RecordHandler handler) {
    error.clear();
    qsizetype start = 0;
    int lineNumber = 0;
    QStringList fields;
    QString why;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        QByteArrayView line(bytes.constData() + start, end - start);
        start = end + 1;
        ++lineNumber;
        if (progress && lineNumber % 50000 == 0)
            progress(stepName(fileName), start, bytes.size());
        if (line.endsWith('\r'))
            line.chop(1);
        // Blank lines carry nothing; old DOS files end in an end-of-file mark (Ctrl-Z).
        if (line.isEmpty() || line == QByteArrayView("\x1a"))
            continue;
        const QString where = QStringLiteral("%1:%2").arg(fileName).arg(lineNumber);
        if (!splitRecord(line, &fields, &why))
            return fail(QStringLiteral("%1: %2").arg(where, why));
        if (fields.size() < minimumFields)
            return fail(QStringLiteral("%1: expected at least %2 fields, found %3")
                            .arg(where)
                            .arg(minimumFields)
                            .arg(fields.size()));
        if (!(this->*handler)(fields, where))
            return false;
    }
    return true;
}

bool SrAsciiReader::parseGroups(const QByteArray &bytes, const QString &fileName) {
    return parseRecords(bytes, fileName, 2, &SrAsciiReader::takeGroup);
}

bool SrAsciiReader::parseFoods(const QByteArray &bytes, const QString &fileName) {
    return parseRecords(bytes, fileName, 3, &SrAsciiReader::takeFood);
}

bool SrAsciiReader::parseNutrientDefinitions(const QByteArray &bytes, const QString &fileName) {
    return parseRecords(bytes, fileName, 4, &SrAsciiReader::takeDefinition);
}

bool SrAsciiReader::parseNutrients(const QByteArray &bytes, const QString &fileName) {
    return parseRecords(bytes, fileName, 3, &SrAsciiReader::takeNutrient);
}

bool SrAsciiReader::parseWeights(const QByteArray &bytes, const QString &fileName) {
    return parseRecords(bytes, fileName, 5, &SrAsciiReader::takeWeight);
}

bool SrAsciiReader::takeGroup(const QStringList &fields, const QString &where) {
    const QString &code = fields[0];
    const QString name = fields[1].trimmed();
    if (!isGroupCode(code))
        return fail(QStringLiteral("%1: food group code '%2' is not four digits").arg(where, code));
    if (name.isEmpty())
        return fail(QStringLiteral("%1: food group %2 has no name").arg(where, code));
    if (groupNames.contains(code))
        return fail(QStringLiteral("%1: food group %2 given twice").arg(where, code));
    groupNames.insert(code, name);
    groups.append({code, name});
    return true;
}

bool SrAsciiReader::takeFood(const QStringList &fields, const QString &where) {
    FoodRecord record;
    record.where = where;
    SrFood &food = record.food;
    if (!parseCode(fields[0], &food.number))
        return fail(QStringLiteral("%1: food number '%2' is not a number").arg(where, fields[0]));
    food.group = fields[1];
    if (!isGroupCode(food.group))
        return fail(
            QStringLiteral("%1: food group code '%2' is not four digits").arg(where, food.group));
    food.description = fields[2].trimmed();
    if (food.description.isEmpty())
        return fail(QStringLiteral("%1: food %2 has no description").arg(where, fields[0]));
    if (foods.contains(food.number))
        return fail(QStringLiteral("%1: food %2 given twice").arg(where, fields[0]));
    foods.insert(food.number, record);
    return true;
}

bool SrAsciiReader::takeDefinition(const QStringList &fields, const QString &where) {
    SrNutrient nutrient;
    if (!parseCode(fields[0], &nutrient.number))
        return fail(
            QStringLiteral("%1: nutrient number '%2' is not a number").arg(where, fields[0]));
    nutrient.units = fields[1].trimmed();
    nutrient.name = fields[3].trimmed();
    if (nutrient.name.isEmpty())
        return fail(QStringLiteral("%1: nutrient %2 has no name").arg(where, fields[0]));
    // SR_Order, which early releases lack: their nutrients keep the order of the file.
    if (fields.size() < 6 || !parseCode(fields[5], &nutrient.order))
        nutrient.order = int(definitions.size() + 1) * 100;
    for (const SrNutrient &other : std::as_const(definitions)) {
        if (other.number == nutrient.number)
            return fail(QStringLiteral("%1: nutrient %2 given twice").arg(where, fields[0]));
    }
    definitions.append(nutrient);
    return true;
}

bool SrAsciiReader::takeNutrient(const QStringList &fields, const QString &where) {
    int food = 0;
    int nutrient = 0;
    std::optional<double> amount;
    if (!parseCode(fields[0], &food))
        return fail(QStringLiteral("%1: food number '%2' is not a number").arg(where, fields[0]));
    if (!parseCode(fields[1], &nutrient))
        return fail(
            QStringLiteral("%1: nutrient number '%2' is not a number").arg(where, fields[1]));
    if (!parseAmount(fields[2], &amount))
        return fail(QStringLiteral("%1: amount '%2' is not a number").arg(where, fields[2]));
    foodsWithData.insert(food);
    if (!amount)
        return true;
    if (!firstUse.contains(nutrient))
        firstUse.insert(nutrient, where);
    std::vector<SrAmount> &list = amounts[food];
    for (const SrAmount &other : list) {
        if (other.number == nutrient)
            return fail(QStringLiteral("%1: nutrient %2 of food %3 given twice")
                            .arg(where, fields[1], fields[0]));
    }
    list.push_back({nutrient, *amount});

    // Num_Data_Pts, Std_Error, Src_Cd, Deriv_Cd, then past three others Min and Max: as many as
    // the release has.
    SrFigureBasis figure;
    figure.food = food;
    figure.number = nutrient;
    const QString points = fields.value(3).trimmed();
    int count = 0;
    if (!points.isEmpty() && !parseCode(points, &count))
        return fail(QStringLiteral("%1: number of data points '%2' is not a whole number")
                        .arg(where, points));
    if (!points.isEmpty())
        figure.dataPoints = count;
    const struct {
        int field;
        const char *name;
        std::optional<double> *value;
    } numbers[] = {{4, "standard error", &figure.standardError},
                   {10, "minimum", &figure.minimum},
                   {11, "maximum", &figure.maximum}};
    for (const auto &number : numbers) {
        const QString text = fields.value(number.field).trimmed();
        if (!parseAmount(text, number.value))
            return fail(QStringLiteral("%1: %2 '%3' is not a number")
                            .arg(where, QLatin1String(number.name), text));
    }
    figure.source = fields.value(5).trimmed();
    figure.derivation = fields.value(6).trimmed();
    if (figure.dataPoints || figure.standardError || figure.minimum || figure.maximum ||
        !figure.source.isEmpty() || !figure.derivation.isEmpty())
        basis[food].push_back(figure);
    return true;
}

bool SrAsciiReader::takeFootnote(const QStringList &fields, const QString &where) {
    SrFigureBasis note;
    if (!parseCode(fields[0], &note.food))
        return fail(QStringLiteral("%1: food number '%2' is not a number").arg(where, fields[0]));
    const QString nutrient = fields[3].trimmed();
    if (!nutrient.isEmpty() && !parseCode(nutrient, &note.number))
        return fail(
            QStringLiteral("%1: nutrient number '%2' is not a number").arg(where, nutrient));
    note.footnote = fields[4].simplified();
    if (!note.footnote.isEmpty())
        footnotes.append(note);
    return true;
}

bool SrAsciiReader::takeCode(const QStringList &fields, const QString &where,
                             QList<SrCode> *codes) {
    const SrCode code{fields[0].trimmed(), fields[1].simplified()};
    if (code.code.isEmpty())
        return fail(QStringLiteral("%1: no code").arg(where));
    for (const SrCode &other : std::as_const(*codes)) {
        if (other.code == code.code)
            return fail(QStringLiteral("%1: code %2 given twice").arg(where, code.code));
    }
    codes->append(code);
    return true;
}

bool SrAsciiReader::takeDerivation(const QStringList &fields, const QString &where) {
    return takeCode(fields, where, &derivations);
}

bool SrAsciiReader::takeSource(const QStringList &fields, const QString &where) {
    return takeCode(fields, where, &sources);
}

bool SrAsciiReader::parseFootnotes(const QByteArray &bytes, const QString &fileName) {
    return parseRecords(bytes, fileName, 5, &SrAsciiReader::takeFootnote);
}

bool SrAsciiReader::parseDerivations(const QByteArray &bytes, const QString &fileName) {
    return parseRecords(bytes, fileName, 2, &SrAsciiReader::takeDerivation);
}

bool SrAsciiReader::parseSources(const QByteArray &bytes, const QString &fileName) {
    return parseRecords(bytes, fileName, 2, &SrAsciiReader::takeSource);
}

bool SrAsciiReader::takeWeight(const QStringList &fields, const QString &where) {
    int food = 0;
    WeightRecord record;
    std::optional<double> amount;
    std::optional<double> grams;
    if (!parseCode(fields[0], &food))
        return fail(QStringLiteral("%1: food number '%2' is not a number").arg(where, fields[0]));
    if (!parseCode(fields[1], &record.sequence))
        return fail(
            QStringLiteral("%1: sequence number '%2' is not a number").arg(where, fields[1]));
    if (!parseAmount(fields[2], &amount) || !amount)
        return fail(QStringLiteral("%1: amount '%2' is not a number").arg(where, fields[2]));
    if (!parseAmount(fields[4], &grams) || !grams)
        return fail(QStringLiteral("%1: gram weight '%2' is not a number").arg(where, fields[4]));
    record.serving = {*amount, fields[3].trimmed(), *grams};
    QList<WeightRecord> &list = weights[food];
    for (const WeightRecord &other : std::as_const(list)) {
        if (other.sequence == record.sequence)
            return fail(QStringLiteral("%1: weight %2 of food %3 given twice")
                            .arg(where, fields[1], fields[0]));
    }
    list.append(record);
    return true;
}

bool SrAsciiReader::finish() {
    result = SrData();
    result.release = release;
    withoutNutrients.clear();
    stray = 0;
    if (groups.isEmpty())
        return fail(QStringLiteral("no food groups were read"));
    if (foods.isEmpty())
        return fail(QStringLiteral("no foods were read"));

    result.groups = groups;
    std::sort(result.groups.begin(), result.groups.end(),
              [](const SrGroup &a, const SrGroup &b) { return a.code < b.code; });
    result.nutrients = definitions;
    result.hasBasis = true;
    result.derivations = derivations;
    result.sources = sources;
    QHash<int, QList<SrFigureBasis>> notesOf;
    for (const SrFigureBasis &note : std::as_const(footnotes))
        notesOf[note.food].append(note);
    QSet<int> defined;
    for (const SrNutrient &nutrient : std::as_const(definitions))
        defined.insert(nutrient.number);
    QList<int> named = firstUse.keys();
    std::sort(named.begin(), named.end());
    for (int number : std::as_const(named)) {
        if (!defined.contains(number))
            return fail(QStringLiteral("%1: nutrient %2 is not in NUTR_DEF.txt")
                            .arg(firstUse.value(number))
                            .arg(number));
    }

    QList<int> numbers = foods.keys();
    std::sort(numbers.begin(), numbers.end());
    for (int number : std::as_const(numbers)) {
        const FoodRecord &record = foods[number];
        if (!groupNames.contains(record.food.group))
            return fail(QStringLiteral("%1: food %2 names the unknown food group %3")
                            .arg(record.where)
                            .arg(number)
                            .arg(record.food.group));
        if (!foodsWithData.contains(number)) {
            withoutNutrients.append(number);
            continue;
        }
        SrFood food = record.food;
        food.amounts = amounts.value(number);
        std::sort(food.amounts.begin(), food.amounts.end(),
                  [](const SrAmount &a, const SrAmount &b) { return a.number < b.number; });
        QList<WeightRecord> list = weights.value(number);
        std::stable_sort(
            list.begin(), list.end(),
            [](const WeightRecord &a, const WeightRecord &b) { return a.sequence < b.sequence; });
        for (const WeightRecord &weight : std::as_const(list))
            food.servings.append(weight.serving);
        // A footnote of a figure joins what the figure rests on; one of a figure the food lacks
        // has nothing to stand beside.
        std::vector<SrFigureBasis> figures = basis.take(number);
        for (const SrFigureBasis &note : notesOf.value(number)) {
            if (note.number == 0) {
                result.notes.append({number, note.footnote});
                continue;
            }
            if (!food.amount(note.number))
                continue;
            auto it = std::find_if(figures.begin(), figures.end(),
                                   [&](const SrFigureBasis &f) { return f.number == note.number; });
            if (it == figures.end()) {
                it = figures.insert(figures.end(), SrFigureBasis());
                it->food = number;
                it->number = note.number;
            }
            it->footnote +=
                (it->footnote.isEmpty() ? QString() : QStringLiteral("; ")) + note.footnote;
        }
        std::sort(
            figures.begin(), figures.end(),
            [](const SrFigureBasis &a, const SrFigureBasis &b) { return a.number < b.number; });
        result.basis.insert(result.basis.end(), figures.begin(), figures.end());
        result.foods.push_back(std::move(food));
    }

    QSet<int> listed = foodsWithData;
    for (auto it = weights.cbegin(); it != weights.cend(); ++it)
        listed.insert(it.key());
    for (int number : std::as_const(listed))
        stray += foods.contains(number) ? 0 : 1;
    return true;
}

bool SrAsciiReader::readDirectory(const QString &folder, const Progress &progressFunction) {
    progress = progressFunction;
    const QDir dir(folder);
    if (!dir.exists())
        return fail(QStringLiteral("%1: no such folder").arg(folder));
    const QStringList present = dir.entryList(QDir::Files);
    struct Step {
        const char *name;
        bool (SrAsciiReader::*parse)(const QByteArray &, const QString &);
        bool required;
    };
    const Step steps[] = {
        {"FD_GROUP.txt", &SrAsciiReader::parseGroups, true},
        {"FOOD_DES.txt", &SrAsciiReader::parseFoods, true},
        {"NUTR_DEF.txt", &SrAsciiReader::parseNutrientDefinitions, true},
        {"NUT_DATA.txt", &SrAsciiReader::parseNutrients, true},
        {"WEIGHT.txt", &SrAsciiReader::parseWeights, true},
        {"FOOTNOTE.txt", &SrAsciiReader::parseFootnotes, false},
        {"DERIV_CD.txt", &SrAsciiReader::parseDerivations, false},
        {"SRC_CD.txt", &SrAsciiReader::parseSources, false},
    };
    for (const Step &step : steps) {
        const QString wanted = QLatin1String(step.name);
        QString found;
        for (const QString &name : present) {
            if (name.compare(wanted, Qt::CaseInsensitive) == 0)
                found = name;
        }
        if (found.isEmpty() && !step.required)
            continue;
        if (found.isEmpty())
            return fail(QStringLiteral("%1: no such file").arg(dir.filePath(wanted)));
        const QString path = dir.filePath(found);
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return fail(QStringLiteral("%1: %2").arg(path, file.errorString()));
        const QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError)
            return fail(QStringLiteral("%1: %2").arg(path, file.errorString()));
        if (progress)
            progress(stepName(path), 0, bytes.size());
        if (!(this->*step.parse)(bytes, path))
            return false;
        if (progress)
            progress(stepName(path), bytes.size(), bytes.size());
    }
    progress = nullptr;
    return finish();
}
