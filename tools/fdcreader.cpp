// Reads a USDA FoodData Central CSV download, zipped or unpacked, into FOODS.db.
#include "tools/fdcreader.h"

#include "db/foodsschema.h"
#include "db/sqlitedb.h"
#include "db/sqltext.h"
#include "db/statement.h"
#include "tools/csvreader.h"
#include "tools/fdcdownload.h"
#include "tools/fdctext.h"

#include <QDate>
#include <QDir>
#include <QIODevice>
#include <QSet>
#include <QTemporaryFile>

#include <algorithm>
#include <memory>

namespace {

// The data types kept, as food.csv names them and as FoodData Central shows them.
enum Kind { foundationKind, srLegacyKind, surveyKind, brandedKind, kindCount };
const char *const kindKeys[kindCount] = {"foundation_food", "sr_legacy_food", "survey_fndds_food",
                                         "branded_food"};
const char *const kindNames[kindCount] = {"Foundation", "SR Legacy", "Survey (FNDDS)", "Branded"};

// The group of foods without a category.
const char *const otherCode = "Z000";
const char *const otherName = "Foods without a category";

// A nutrient without a whole USDA number of its own is numbered from here by its FDC id.
constexpr int ownNumbers = 100000;
// The order given to a nutrient that nutrient.csv does not rank.
constexpr int unranked = 999999;
// Where a portion without a sequence number goes: after those with one.
constexpr double unsequenced = 1e9;

int kindOf(QByteArrayView type) {
    for (int kind = 0; kind < kindCount; ++kind) {
        if (type == kindKeys[kind] || type == kindNames[kind])
            return kind;
    }
    return -1;
}

// One to nine digits; a fraction of zeros is allowed, as downloads write "409.0" for 409.
bool wholeNumber(QByteArrayView text, int *value) {
    const qsizetype point = text.indexOf('.');
    if (point >= 0) {
        for (char c : text.sliced(point + 1)) {
            if (c != '0')
                return false;
        }
        text = text.first(point);
    }
    if (text.isEmpty() || text.size() > 9)
        return false;
    int v = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + (c - '0');
    }
    *value = v;
    return true;
}

QString notWhole(QByteArrayView text) {
    return QStringLiteral("'%1' is not a whole number").arg(QString::fromUtf8(text));
}

QString notNumber(QByteArrayView text) {
    return QStringLiteral("'%1' is not a number").arg(QString::fromUtf8(text));
}

// A publication date in ISO form ("2019-04-01"; early downloads wrote "4/1/2019"); null when
// there is none.
QString isoDate(const QString &text) {
    QDate date = QDate::fromString(text, Qt::ISODate);
    if (!date.isValid())
        date = QDate::fromString(text, QStringLiteral("M/d/yyyy"));
    return date.isValid() ? date.toString(Qt::ISODate) : QString();
}

// The file of intermediate tables: made beside the output, removed whatever happens.
class StagingFile {
public:
    explicit StagingFile(const QString &folder)
        : file(QDir(folder).filePath(QStringLiteral("kalo-mkdb.XXXXXX.stage"))) {}
    ~StagingFile() {
        if (db && attached)
            db->exec(QStringLiteral("DETACH DATABASE stage"), false);
    }
    bool attach(SQLiteDB &database, QString *error) {
        if (!file.open()) {
            *error = QStringLiteral("%1: %2").arg(file.fileName(), file.errorString());
            return false;
        }
        file.close();
        db = &database;
        db->exec(QStringLiteral("ATTACH DATABASE '%1' AS stage").arg(sqlQuoted(file.fileName())),
                 false);
        attached = !db->hasError();
        if (!attached)
            *error = QStringLiteral("%1: %2").arg(file.fileName(), db->lastError());
        return attached;
    }

private:
    QTemporaryFile file;
    SQLiteDB *db = nullptr;
    bool attached = false;
};

} // namespace

// One CSV file of the download, open, its header read.
class FdcReader::Table {
public:
    Table(std::unique_ptr<QIODevice> device, const QString &fileName, qint64 bytes,
          const QString &stepName, const Progress &progressFunction)
        : file(std::move(device))
        , name(fileName)
        , csv(file.get(), fileName)
        , step(stepName)
        , progress(progressFunction)
        , size(bytes) {}

    bool next() {
        if (progress && (++records & 0xFFFF) == 0)
            progress(step, csv.bytesRead(), size);
        return csv.next();
    }

    std::unique_ptr<QIODevice> file;
    QString name;
    CsvReader csv;
    QString step;
    const Progress &progress;
    qint64 size = 0;
    qint64 records = 0;
    int kind = -1; // the data type whose own table this is
};

bool FdcReader::fail(const QString &message) {
    error = message;
    return false;
}

bool FdcReader::columns(Table &table, std::initializer_list<const char *> names, int *indexes) {
    for (const char *name : names) {
        // "a|b": the column under either name.
        const QStringList spellings = QString::fromLatin1(name).split(QLatin1Char('|'));
        int index = -1;
        for (const QString &spelling : spellings) {
            if (index < 0)
                index = table.csv.column(spelling);
        }
        if (index < 0)
            return fail(QStringLiteral("%1: no column '%2' in the header")
                            .arg(table.name, spellings.constFirst()));
        *indexes++ = index;
    }
    return true;
}

int FdcReader::groupOf(const QString &code, const QString &name, const QString &suffix) {
    const auto found = groupCodes.constFind(code);
    if (found != groupCodes.cend())
        return *found;
    groups.append({code, name, suffix, false});
    groupCodes.insert(code, int(groups.size() - 1));
    return int(groups.size() - 1);
}

const FdcReader::Kept *FdcReader::keptFood(int fdc) const {
    const auto it = std::lower_bound(kept.begin(), kept.end(), fdc,
                                     [](const Kept &k, int id) { return k.fdc < id; });
    return it != kept.end() && it->fdc == fdc ? &*it : nullptr;
}

bool FdcReader::read(const QString &path, SQLiteDB &db, const QString &stagingFolder,
                     const Progress &progressFunction) {
    *this = FdcReader();
    progress = progressFunction;
    FdcDownload download;
    if (!download.open(path))
        return fail(download.errorString());
    foodFile = download.displayName(download.find(QStringLiteral("food.csv")));

    StagingFile staging(stagingFolder);
    if (!staging.attach(db, &error))
        return false;
    auto run = [&](const QString &sql) {
        db.exec(sql, false);
        return !db.hasError() || fail(QStringLiteral("%1 (in: %2)").arg(db.lastError(), sql));
    };
    // Thrown away at the end: no journal, no syncing. A figure's row in stage.figure is counted
    // from 1, and stage.stat names it when the figure says what it rests on; stage.stat is kept in
    // key order as it is filled (rows come food by food), so that nothing needs sorting later.
    for (const char *sql : {
             "PRAGMA stage.journal_mode=OFF",
             "PRAGMA stage.synchronous=OFF",
             "begin",
             "CREATE TABLE stage.food (fdc INTEGER PRIMARY KEY, ndb INTEGER NOT NULL, "
             "\"desc\" TEXT NOT NULL, grp TEXT NOT NULL)",
             "CREATE TABLE stage.portion (fdc INTEGER, seq REAL, amount REAL, measure TEXT, "
             "grams REAL, name TEXT)",
             "CREATE TABLE stage.figure (ndb INTEGER, nbr INTEGER, val REAL)",
             "CREATE TABLE stage.stat (ndb INTEGER, nbr INTEGER, fig INTEGER, pts INTEGER, "
             "lo REAL, hi REAL, median REAL, deriv TEXT, src TEXT, note TEXT, PRIMARY KEY (ndb, "
             "nbr)) WITHOUT ROWID",
         }) {
        if (!run(QLatin1String(sql)))
            return false;
    }
    for (const QString &sql : foodsBasisSchemaStatements(
             !download.find(QStringLiteral("food_nutrient_derivation.csv")).isEmpty(),
             !download.find(QStringLiteral("food_nutrient_source.csv")).isEmpty())) {
        if (!run(sql))
            return false;
    }

    using Reader = bool (FdcReader::*)(Table &, SQLiteDB &);
    const struct {
        const char *name;
        bool required;
        Reader reader;
    } files[] = {
        {"nutrient.csv", true, &FdcReader::readNutrients},
        {"measure_unit.csv", false, &FdcReader::readUnits},
        {"food_category.csv", false, &FdcReader::readCategories},
        {"wweia_food_category.csv", false, &FdcReader::readWweia},
        {"food_nutrient_source.csv", false, &FdcReader::readSources},
        {"food_nutrient_derivation.csv", false, &FdcReader::readDerivations},
        {"sr_legacy_food.csv", false, &FdcReader::readNdbNumbers},
        {"foundation_food.csv", false, &FdcReader::readNdbNumbers},
        {"survey_fndds_food.csv", false, &FdcReader::readSurvey},
        {"branded_food.csv", false, &FdcReader::readBranded},
        {"food.csv", true, &FdcReader::readFoods},
        {"food_portion.csv", false, &FdcReader::readPortions},
        {"food_nutrient.csv", true, &FdcReader::readFigures},
    };
    for (const auto &file : files) {
        const QString wanted = QLatin1String(file.name);
        const QString found = download.find(wanted);
        if (found.isEmpty()) {
            if (file.required)
                return fail(QStringLiteral("%1: no such file").arg(download.displayName(wanted)));
        } else {
            const QString step = QStringLiteral("reading ") + found;
            qint64 size = 0;
            std::unique_ptr<QIODevice> device = download.openFile(found, &size);
            if (!device)
                return fail(download.errorString());
            Table table(std::move(device), download.displayName(found), size, step, progress);
            table.kind = kindOf(QByteArrayView(file.name).chopped(4));
            if (progress)
                progress(step, 0, table.size);
            if (!table.csv.readHeader())
                return fail(table.csv.errorString());
            if (!(this->*file.reader)(table, db))
                return false;
            if (table.csv.hasError())
                return fail(table.csv.errorString());
            if (table.kind >= 0) {
                tableRead[table.kind] = true;
                std::sort(listed[table.kind].begin(), listed[table.kind].end());
            }
            if (progress)
                progress(step, table.size, table.size);
        }
        if (wanted == QLatin1String("food.csv") && !numberFoods(db))
            return false;
    }
    return derive(db) && run(QStringLiteral("commit"));
}

QStringList FdcReader::notes() const {
    auto plural = [](qint64 count) { return count == 1 ? QString() : QStringLiteral("s"); };
    QStringList lines;
    for (const auto &[id, count] : skipped)
        lines << QStringLiteral("skipped %1 figure%2 of nutrient %3, which nutrient.csv lacks")
                     .arg(QString::number(count), plural(count), QString::number(id));
    for (int kind = 0; kind < kindCount; ++kind) {
        const QString type = QLatin1String(kindNames[kind]);
        const QString table = QLatin1String(kindKeys[kind]) + QStringLiteral(".csv");
        if (notCurrent[kind] > 0)
            lines << QStringLiteral("left out %1 %2 food%3 of food.csv that %4 does not list (not "
                                    "current)")
                         .arg(QString::number(notCurrent[kind]), type, plural(notCurrent[kind]),
                              table);
        if (!tableRead[kind] && kindCounts[kind] > 0)
            lines << QStringLiteral("built every %1 food of food.csv (%2): the download has no %3 "
                                    "to tell the current ones")
                         .arg(type, QString::number(kindCounts[kind]), table);
    }
    return lines;
}

bool FdcReader::readNutrients(Table &table, SQLiteDB &) {
    int c[5];
    if (!columns(table, {"id", "name", "unit_name", "nutrient_nbr", "rank"}, c))
        return false;
    CsvReader &csv = table.csv;
    QSet<int> numbers;
    while (table.next()) {
        int id = 0;
        if (!wholeNumber(csv.field(c[0]), &id))
            return fail(csv.fieldError(c[0], notWhole(csv.field(c[0]))));
        if (nutrientIndex.contains(id))
            return fail(csv.fieldError(c[0], QStringLiteral("nutrient %1 given twice").arg(id)));
        Nutrient nutrient;
        nutrient.name = fdcText(csv.field(c[1]));
        nutrient.units = fdcUnits(fdcText(csv.field(c[2])));
        // Numbers such as 269.3, or one that another nutrient has already, are not USDA
        // numbers of SR: such a nutrient gets one of its own.
        int number = 0;
        nutrient.number =
            wholeNumber(csv.field(c[3]).trimmed(), &number) && !numbers.contains(number)
                ? number
                : ownNumbers + id;
        numbers.insert(nutrient.number);
        const std::optional<double> rank = parseSourceNumber(csv.field(c[4]).trimmed());
        nutrient.order = rank && *rank >= 0 && *rank < unranked ? int(*rank) : unranked;
        nutrientIndex.insert(id, int(nutrients.size()));
        nutrients.push_back(nutrient);
    }
    return true;
}

bool FdcReader::readUnits(Table &table, SQLiteDB &) {
    int c[2];
    if (!columns(table, {"id", "name"}, c))
        return false;
    while (table.next()) {
        int id = 0;
        if (!wholeNumber(table.csv.field(c[0]), &id))
            return fail(table.csv.fieldError(c[0], notWhole(table.csv.field(c[0]))));
        units.insert(id, fdcText(table.csv.field(c[1])));
    }
    return true;
}

bool FdcReader::idAndCode(Table &table, const int *columns, int *id, QString *code) {
    if (!wholeNumber(table.csv.field(columns[0]), id))
        return fail(table.csv.fieldError(columns[0], notWhole(table.csv.field(columns[0]))));
    *code = fdcText(table.csv.field(columns[1]));
    if (code->isEmpty())
        *code = QString::number(*id);
    return true;
}

bool FdcReader::readCategories(Table &table, SQLiteDB &) {
    int c[3];
    if (!columns(table, {"id", "code", "description"}, c))
        return false;
    while (table.next()) {
        int id = 0;
        QString code;
        if (!idAndCode(table, c, &id, &code))
            return false;
        categories.insert(id, groupOf(code, fdcText(table.csv.field(c[2])), QString()));
    }
    return true;
}

bool FdcReader::readWweia(Table &table, SQLiteDB &) {
    int c[2];
    if (!columns(
            table,
            {"wweia_food_category|wweia_food_category_code", "wweia_food_category_description"}, c))
        return false;
    while (table.next()) {
        int code = 0;
        if (!wholeNumber(table.csv.field(c[0]), &code))
            return fail(table.csv.fieldError(c[0], notWhole(table.csv.field(c[0]))));
        wweiaNames.insert(code, fdcText(table.csv.field(c[1])));
    }
    return true;
}

// A code table: its codes stored as given (the id where a row has none), with their texts.
bool FdcReader::readSources(Table &table, SQLiteDB &db) {
    int c[3];
    if (!columns(table, {"id", "code", "description"}, c))
        return false;
    Statement insert(db, QStringLiteral("INSERT INTO SOURCES (Src_Cd, Description) VALUES (?, ?)"));
    while (table.next()) {
        int id = 0;
        QString code;
        if (!idAndCode(table, c, &id, &code))
            return false;
        insert.bind(1, code);
        insert.bind(2, fdcText(table.csv.field(c[2])));
        if (!insert.run())
            return fail(
                table.csv.fieldError(c[1], QStringLiteral("code %1 given twice").arg(code)));
        sourceCodes.insert(id, code);
    }
    return true;
}

bool FdcReader::readDerivations(Table &table, SQLiteDB &db) {
    int c[3];
    if (!columns(table, {"id", "code", "description"}, c))
        return false;
    const int source = table.csv.column(QStringLiteral("source_id"));
    Statement insert(
        db, QStringLiteral("INSERT INTO DERIVATIONS (Deriv_Cd, Description) VALUES (?, ?)"));
    while (table.next()) {
        int id = 0;
        Derivation derivation;
        if (!idAndCode(table, c, &id, &derivation.code))
            return false;
        const QByteArrayView sourceText = table.csv.field(source).trimmed();
        int sourceId = 0;
        if (!sourceText.isEmpty() && !wholeNumber(sourceText, &sourceId))
            return fail(table.csv.fieldError(source, notWhole(sourceText)));
        if (!sourceText.isEmpty())
            derivation.source = sourceCodes.value(sourceId, QString::number(sourceId));
        insert.bind(1, derivation.code);
        insert.bind(2, fdcText(table.csv.field(c[2])));
        if (!insert.run())
            return fail(table.csv.fieldError(
                c[1], QStringLiteral("code %1 given twice").arg(derivation.code)));
        derivations.insert(id, derivation);
    }
    return true;
}

// sr_legacy_food.csv or foundation_food.csv: the current foods of the type, their NDB numbers
// and (Foundation) their footnotes.
bool FdcReader::readNdbNumbers(Table &table, SQLiteDB &) {
    int c[2];
    if (!columns(table, {"fdc_id", "NDB_number"}, c))
        return false;
    const int footnote = table.csv.column(QStringLiteral("footnote"));
    while (table.next()) {
        int fdc = 0;
        int ndb = 0;
        if (!wholeNumber(table.csv.field(c[0]), &fdc))
            return fail(table.csv.fieldError(c[0], notWhole(table.csv.field(c[0]))));
        listed[table.kind].push_back(fdc);
        const QString note = fdcText(table.csv.field(footnote));
        if (!note.isEmpty())
            foodNotes.insert(fdc, note);
        const QByteArrayView number = table.csv.field(c[1]).trimmed();
        if (number.isEmpty())
            continue;
        if (!wholeNumber(number, &ndb))
            return fail(table.csv.fieldError(c[1], notWhole(number)));
        ndbNumbers.insert(fdc, ndb);
    }
    return true;
}

bool FdcReader::readSurvey(Table &table, SQLiteDB &) {
    int c[2];
    if (!columns(table, {"fdc_id", "wweia_category_code"}, c))
        return false;
    while (table.next()) {
        int fdc = 0;
        int code = 0;
        if (!wholeNumber(table.csv.field(c[0]), &fdc))
            return fail(table.csv.fieldError(c[0], notWhole(table.csv.field(c[0]))));
        listed[table.kind].push_back(fdc);
        const QByteArrayView field = table.csv.field(c[1]);
        if (field.isEmpty())
            continue;
        if (!wholeNumber(field, &code))
            return fail(table.csv.fieldError(c[1], notWhole(field)));
        if (!wweiaNames.contains(code))
            return fail(table.csv.fieldError(
                c[1], QStringLiteral("category %1 is not in wweia_food_category.csv").arg(code)));
        surveyGroups.insert(fdc, groupOf(QStringLiteral("W%1").arg(code), wweiaNames.value(code),
                                         QStringLiteral(" (survey)")));
    }
    return true;
}

bool FdcReader::readBranded(Table &table, SQLiteDB &db) {
    int id = 0;
    if (!columns(table, {"fdc_id"}, &id))
        return false;
    CsvReader &csv = table.csv;
    // Label data of older downloads lacks some of these: a missing column reads as empty.
    const int owner = csv.column(QStringLiteral("brand_owner"));
    const int brandName = csv.column(QStringLiteral("brand_name"));
    const int gtin = csv.column(QStringLiteral("gtin_upc"));
    const int size = csv.column(QStringLiteral("serving_size"));
    const int unit = csv.column(QStringLiteral("serving_size_unit"));
    const int household = csv.column(QStringLiteral("household_serving_fulltext"));
    const int category = csv.column(QStringLiteral("branded_food_category"));
    Statement insert(db, QStringLiteral("INSERT INTO stage.portion (fdc, seq, amount, measure, "
                                        "grams, name) VALUES (?, -1, ?, ?, ?, ?)"));
    QHash<QString, int> brandIds;
    QHash<QString, int> categoryGroups;
    int categoryCount = 0;
    while (table.next()) {
        Branded food;
        if (!wholeNumber(csv.field(id), &food.fdc))
            return fail(csv.fieldError(id, notWhole(csv.field(id))));
        listed[table.kind].push_back(food.fdc);
        QString brand = fdcText(csv.field(brandName));
        if (brand.isEmpty())
            brand = fdcText(csv.field(owner));
        if (!brand.isEmpty()) {
            const auto it = brandIds.constFind(brand);
            food.brand = it != brandIds.cend() ? *it : int(brands.size());
            if (it == brandIds.cend()) {
                brandIds.insert(brand, food.brand);
                brands.append(brand);
            }
        }
        const QString categoryName = fdcText(csv.field(category));
        if (!categoryName.isEmpty()) {
            const auto it = categoryGroups.constFind(categoryName);
            if (it != categoryGroups.cend()) {
                food.group = *it;
            } else {
                food.group =
                    groupOf(QStringLiteral("B%1").arg(++categoryCount, 4, 10, QLatin1Char('0')),
                            categoryName, QStringLiteral(" (branded)"));
                categoryGroups.insert(categoryName, food.group);
            }
        }
        food.barcode = fdcBarcode(csv.field(gtin));
        const QByteArrayView sizeText = csv.field(size).trimmed();
        if (!sizeText.isEmpty()) {
            const std::optional<double> grams = parseSourceNumber(sizeText);
            if (!grams)
                return fail(csv.fieldError(size, notNumber(sizeText)));
            if (*grams > 0) {
                const SrServing serving = fdcLabelServing(*grams, fdcText(csv.field(unit)),
                                                          fdcText(csv.field(household)));
                insert.bind(1, food.fdc);
                insert.bind(2, serving.amount);
                insert.bind(3, serving.measure);
                insert.bind(4, serving.grams);
                insert.bind(5, servingName(serving));
                if (!insert.run())
                    return fail(csv.recordError(db.lastError()));
            }
        }
        branded.push_back(food);
    }
    std::sort(branded.begin(), branded.end(),
              [](const Branded &a, const Branded &b) { return a.fdc < b.fdc; });
    return true;
}

bool FdcReader::readFoods(Table &table, SQLiteDB &db) {
    int c[3];
    if (!columns(table, {"fdc_id", "data_type", "description"}, c))
        return false;
    CsvReader &csv = table.csv;
    const int category = csv.column(QStringLiteral("food_category_id"));
    const int date = csv.column(QStringLiteral("publication_date"));
    Statement insert(db, QStringLiteral("INSERT INTO stage.food (fdc, ndb, \"desc\", grp) "
                                        "VALUES (?, ?, ?, ?)"));
    Statement barcode(db, QStringLiteral("INSERT INTO BARCODES (Code, NDB_No) VALUES (?, ?)"));
    while (table.next()) {
        const int kind = kindOf(csv.field(c[1]));
        if (kind < 0)
            continue;
        int fdc = 0;
        if (!wholeNumber(csv.field(c[0]), &fdc))
            return fail(csv.fieldError(c[0], notWhole(csv.field(c[0]))));
        if (tableRead[kind] &&
            !std::binary_search(listed[kind].cbegin(), listed[kind].cend(), fdc)) {
            ++notCurrent[kind];
            continue;
        }
        QString description = fdcText(csv.field(c[2]));
        int group = -1;
        quint64 code = 0;
        if (kind == foundationKind || kind == srLegacyKind) {
            const QByteArrayView field = csv.field(category).trimmed();
            int id = 0;
            if (!field.isEmpty() && !wholeNumber(field, &id))
                return fail(csv.fieldError(category, notWhole(field)));
            if (!field.isEmpty()) {
                group = categories.value(id, -1);
                if (group < 0)
                    return fail(csv.fieldError(
                        category,
                        QStringLiteral("category %1 is not in food_category.csv").arg(id)));
            }
        } else if (kind == surveyKind) {
            group = surveyGroups.value(fdc, -1);
        } else {
            const auto it = std::lower_bound(branded.begin(), branded.end(), fdc,
                                             [](const Branded &b, int id) { return b.fdc < id; });
            if (it != branded.end() && it->fdc == fdc) {
                group = it->group;
                code = it->barcode;
                if (it->brand >= 0)
                    description = fdcBrandedDescription(description, brands[it->brand], QString());
            }
        }
        if (description.isEmpty())
            return fail(csv.fieldError(c[2], QStringLiteral("no description")));
        if (group < 0)
            group = groupOf(QLatin1String(otherCode), QLatin1String(otherName), QString());
        groups[group].used = true;
        const QString day = isoDate(csv.text(date).trimmed());
        if (day > published)
            published = day;
        const auto ndb = ndbNumbers.constFind(fdc);
        if (ndb != ndbNumbers.cend())
            ndbCandidates[*ndb].append({int(kept.size()), day});
        kept.push_back({fdc, fdc});
        ++kindCounts[kind];
        insert.bind(1, fdc);
        insert.bind(2, fdc);
        insert.bind(3, description);
        insert.bind(4, groups[group].code);
        if (!insert.run())
            return fail(csv.fieldError(c[0], QStringLiteral("food %1 given twice").arg(fdc)));
        if (code) {
            barcode.bind(1, QString::number(code));
            barcode.bind(2, fdc);
            if (!barcode.run())
                return fail(csv.recordError(db.lastError()));
        }
    }
    return true;
}

bool FdcReader::numberFoods(SQLiteDB &db) {
    // A shared NDB number goes to the food published last (the higher FDC id when on one day).
    Statement renumber(db, QStringLiteral("UPDATE stage.food SET ndb = ? WHERE fdc = ?"));
    for (auto it = ndbCandidates.cbegin(); it != ndbCandidates.cend(); ++it) {
        const Candidate *best = nullptr;
        for (const Candidate &candidate : it.value()) {
            if (!best || candidate.published > best->published ||
                (candidate.published == best->published &&
                 kept[size_t(candidate.keptIndex)].fdc > kept[size_t(best->keptIndex)].fdc))
                best = &candidate;
        }
        Kept &food = kept[size_t(best->keptIndex)];
        food.ndb = it.key();
        renumber.bind(1, food.ndb);
        renumber.bind(2, food.fdc);
        if (!renumber.run())
            return fail(db.lastError());
    }
    std::sort(kept.begin(), kept.end(), [](const Kept &a, const Kept &b) { return a.fdc < b.fdc; });
    // An FDC id that is some other food's NDB number would give two foods one number.
    std::vector<Kept> byNumber = kept;
    std::sort(byNumber.begin(), byNumber.end(),
              [](const Kept &a, const Kept &b) { return a.ndb < b.ndb; });
    for (size_t i = 1; i < byNumber.size(); ++i) {
        if (byNumber[i].ndb == byNumber[i - 1].ndb)
            return fail(QStringLiteral("%1: foods %2 and %3 (FDC ids) both take the number %4")
                            .arg(foodFile)
                            .arg(byNumber[i - 1].fdc)
                            .arg(byNumber[i].fdc)
                            .arg(byNumber[i].ndb));
    }
    return true;
}

bool FdcReader::readPortions(Table &table, SQLiteDB &db) {
    int c[2];
    if (!columns(table, {"fdc_id", "gram_weight"}, c))
        return false;
    CsvReader &csv = table.csv;
    const int seq = csv.column(QStringLiteral("seq_num"));
    const int amount = csv.column(QStringLiteral("amount"));
    const int unit = csv.column(QStringLiteral("measure_unit_id"));
    const int description = csv.column(QStringLiteral("portion_description"));
    const int modifier = csv.column(QStringLiteral("modifier"));
    Statement insert(db, QStringLiteral("INSERT INTO stage.portion (fdc, seq, amount, measure, "
                                        "grams, name) VALUES (?, ?, ?, ?, ?, ?)"));
    while (table.next()) {
        int fdc = 0;
        if (!wholeNumber(csv.field(c[0]), &fdc))
            return fail(csv.fieldError(c[0], notWhole(csv.field(c[0]))));
        if (!keptFood(fdc))
            continue;
        const std::optional<double> grams = parseSourceNumber(csv.field(c[1]).trimmed());
        if (!grams)
            return fail(csv.fieldError(c[1], notNumber(csv.field(c[1]))));
        int unitId = 0;
        const QString unitName =
            wholeNumber(csv.field(unit), &unitId) ? units.value(unitId) : QString();
        const SrServing serving =
            fdcPortion(fdcText(csv.field(amount)), unitName, fdcText(csv.field(description)),
                       fdcText(csv.field(modifier)), *grams);
        insert.bind(1, fdc);
        insert.bind(2, parseSourceNumber(csv.field(seq).trimmed()).value_or(unsequenced));
        insert.bind(3, serving.amount);
        insert.bind(4, serving.measure);
        insert.bind(5, serving.grams);
        insert.bind(6, servingName(serving));
        if (!insert.run())
            return fail(csv.recordError(db.lastError()));
    }
    return true;
}

bool FdcReader::readFigures(Table &table, SQLiteDB &db) {
    int c[3];
    if (!columns(table, {"fdc_id", "nutrient_id", "amount"}, c))
        return false;
    CsvReader &csv = table.csv;
    int basis[6];
    int *column = basis;
    for (const char *name : {"data_points", "min", "max", "median", "derivation_id", "footnote"})
        *column++ = csv.column(QLatin1String(name));
    Statement insert(db,
                     QStringLiteral("INSERT INTO stage.figure (ndb, nbr, val) VALUES (?, ?, ?)"));
    Statement insertBasis(db, QStringLiteral("INSERT OR REPLACE INTO stage.stat (fig, ndb, nbr, "
                                             "pts, lo, hi, median, deriv, src, note) VALUES (?, "
                                             "?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    // The rows of one food come together: its look-ups are remembered.
    int lastFdc = -1;
    const Kept *food = nullptr;
    int lastNutrient = -1;
    Nutrient *nutrient = nullptr;
    while (table.next()) {
        int fdc = 0;
        if (!wholeNumber(csv.field(c[0]), &fdc))
            return fail(csv.fieldError(c[0], notWhole(csv.field(c[0]))));
        int id = 0;
        if (!wholeNumber(csv.field(c[1]), &id))
            return fail(csv.fieldError(c[1], notWhole(csv.field(c[1]))));
        if (id != lastNutrient) {
            const auto it = nutrientIndex.constFind(id);
            lastNutrient = id;
            nutrient = it == nutrientIndex.cend() ? nullptr : &nutrients[size_t(*it)];
        }
        if (!nutrient) {
            ++skipped[id];
            continue;
        }
        if (fdc != lastFdc) {
            lastFdc = fdc;
            food = keptFood(fdc);
        }
        if (!food)
            continue;
        const QByteArrayView text = csv.field(c[2]).trimmed();
        if (text.isEmpty())
            continue; // no figure
        const std::optional<double> value = parseSourceNumber(text);
        if (!value)
            return fail(csv.fieldError(c[2], notNumber(text)));
        nutrient->used = true;
        insert.bind(1, food->ndb);
        insert.bind(2, nutrient->number);
        insert.bind(3, *value);
        if (!insert.run())
            return fail(csv.recordError(db.lastError()));
        if (!figureBasis(csv, basis, ++figureRows, food->ndb, nutrient->number, insertBasis, db))
            return false;
    }
    return true;
}

// Stages what the current row's figure rests on, when it says anything.
bool FdcReader::figureBasis(CsvReader &csv, const int *columns, qint64 figure, int ndb, int number,
                            Statement &insert, SQLiteDB &db) {
    const QByteArrayView points = csv.field(columns[0]).trimmed();
    int count = 0;
    if (!points.isEmpty() && !wholeNumber(points, &count))
        return fail(csv.fieldError(columns[0], notWhole(points)));
    std::optional<double> figures[3]; // min, max, median
    for (int i = 0; i < 3; ++i) {
        const QByteArrayView text = csv.field(columns[1 + i]).trimmed();
        if (!text.isEmpty() && !(figures[i] = parseSourceNumber(text)))
            return fail(csv.fieldError(columns[1 + i], notNumber(text)));
    }
    const QByteArrayView derivationText = csv.field(columns[4]).trimmed();
    int derivationId = 0;
    if (!derivationText.isEmpty() && !wholeNumber(derivationText, &derivationId))
        return fail(csv.fieldError(columns[4], notWhole(derivationText)));
    const QString note = fdcText(csv.field(columns[5]));
    if (points.isEmpty() && !figures[0] && !figures[1] && !figures[2] && derivationText.isEmpty() &&
        note.isEmpty())
        return true;
    insert.bind(1, figure);
    insert.bind(2, ndb);
    insert.bind(3, number);
    if (!points.isEmpty())
        insert.bind(4, count);
    for (int i = 0; i < 3; ++i)
        insert.bind(5 + i, figures[i]);
    if (!derivationText.isEmpty()) {
        const auto it = derivations.constFind(derivationId);
        const bool known = it != derivations.cend();
        insert.bind(8, known ? it->code : QString::number(derivationId));
        if (known)
            insert.bind(9, it->source);
    }
    if (!note.isEmpty())
        insert.bind(10, note);
    return insert.run() || fail(csv.recordError(db.lastError()));
}

bool FdcReader::derive(SQLiteDB &db) {
    auto run = [&](const QString &sql) {
        db.exec(sql, false);
        return !db.hasError() ||
               fail(QStringLiteral("%1 (in: %2)").arg(db.lastError(), sql.left(300)));
    };
    auto step = [&](const char *name) {
        if (progress)
            progress(QLatin1String(name), 0, 1);
    };

    // One figure per food and nutrient: of rows given twice, the last in the file.
    step("sorting nutrient figures");
    if (!run(
            QStringLiteral("INSERT OR IGNORE INTO NUTRIENT_DATA (NDB_No, Nutr_No, Nutr_Val) "
                           "SELECT ndb, nbr, val FROM stage.figure ORDER BY ndb, nbr, rowid DESC")))
        return false;
    // Fewer figures than rows: some were given twice.
    const bool repeated =
        db.exec(QStringLiteral("SELECT changes()"), false).value(0, 0).toLongLong() < figureRows;

    // What the figures rest on: of a figure given twice, what its last row says.
    step("noting what the figures rest on");
    QString basis = QStringLiteral(
        "INSERT INTO NUTRIENT_STATS (NDB_No, Nutr_No, Data_Pts, Min, Max, Median, Deriv_Cd, "
        "Src_Cd, Footnote) SELECT ndb, nbr, pts, lo, hi, median, deriv, src, note FROM stage.stat "
        "s");
    if (repeated) {
        if (!run(QStringLiteral("CREATE INDEX stage.figure_key ON figure (ndb, nbr)")))
            return false;
        basis += QStringLiteral(" WHERE fig = (SELECT max(rowid) FROM stage.figure f WHERE f.ndb = "
                                "s.ndb AND f.nbr = s.nbr)");
    }
    if (!run(basis + QStringLiteral(" ORDER BY ndb, nbr")))
        return false;
    Statement note(db, QStringLiteral("INSERT INTO FOOD_NOTES (NDB_No, Seq, Footnote) "
                                      "VALUES (?, 1, ?)"));
    for (auto it = foodNotes.cbegin(); it != foodNotes.cend(); ++it) {
        const Kept *food = keptFood(it.key());
        if (!food)
            continue;
        note.bind(1, food->ndb);
        note.bind(2, it.value());
        if (!note.run())
            return fail(QStringLiteral("food %1: %2").arg(food->ndb).arg(db.lastError()));
    }
    Statement nutrient(db, QStringLiteral("INSERT INTO NUTRIENTS (Nutr_No, Name, Units, SR_Order) "
                                          "VALUES (?, ?, ?, ?)"));
    for (const Nutrient &n : nutrients) {
        if (!n.used)
            continue;
        nutrient.bind(1, n.number);
        nutrient.bind(2, n.name);
        nutrient.bind(3, n.units);
        nutrient.bind(4, n.order);
        if (!nutrient.run())
            return fail(QStringLiteral("nutrient %1: %2").arg(n.number).arg(db.lastError()));
    }

    // The 25 amounts of FOODS_WR, one row per food with figures.
    step("collecting amounts");
    QString columns = QStringLiteral("ndb INTEGER PRIMARY KEY");
    QString pivot = QStringLiteral("NDB_No");
    QStringList wanted;
    for (int i = 0; i < foodsNutrientCount; ++i) {
        columns += QStringLiteral(", c%1").arg(i);
        const int number = foodsNutrients[i].number;
        auto figure = [](int n) {
            return QStringLiteral("max(CASE WHEN Nutr_No=%1 THEN Nutr_Val END)").arg(n);
        };
        if (number == 208)
            pivot +=
                QStringLiteral(", coalesce(%1, %2, %3)").arg(figure(208), figure(958), figure(957));
        else
            pivot += QStringLiteral(", ") + figure(number);
        wanted << QString::number(number);
    }
    wanted << QStringLiteral("957") << QStringLiteral("958");
    if (!run(QStringLiteral("CREATE TABLE stage.amounts (%1)").arg(columns)) ||
        !run(QStringLiteral("INSERT INTO stage.amounts SELECT %1 FROM NUTRIENT_DATA WHERE Nutr_No "
                            "IN (%2) GROUP BY NDB_No")
                 .arg(pivot, wanted.join(QLatin1Char(',')))))
        return false;

    // Servings numbered from 1 in USDA order, the label serving first.
    step("ordering servings");
    if (!run(QStringLiteral("CREATE TABLE stage.serving (ndb INTEGER, seq INTEGER, amount REAL, "
                            "measure TEXT, grams REAL, name TEXT, PRIMARY KEY (ndb, seq)) WITHOUT "
                            "ROWID")) ||
        !run(QStringLiteral("INSERT INTO stage.serving SELECT f.ndb, row_number() OVER (PARTITION "
                            "BY f.ndb ORDER BY p.seq, p.rowid), p.amount, p.measure, p.grams, "
                            "p.name FROM stage.portion p JOIN stage.food f ON f.fdc = p.fdc")) ||
        !run(QStringLiteral("INSERT INTO SERVINGS (NDB_No, Seq, Amount, Msre_Desc, Gm_Wgt) SELECT "
                            "ndb, seq, amount, measure, grams FROM stage.serving")))
        return false;

    step("writing foods");
    QString foodColumns;
    QString amountColumns;
    for (int i = 0; i < foodsNutrientCount; ++i) {
        foodColumns += QStringLiteral(", ") + QLatin1String(foodsNutrients[i].column);
        amountColumns += QStringLiteral(", a.c%1").arg(i);
    }
    if (!run(QStringLiteral(
                 "INSERT INTO FOODS_WR (NDB_No, \"desc\", FdGrp_Cd%1, GmWt_1, GmWt_Desc1, GmWt_2, "
                 "GmWt_Desc2) SELECT f.ndb, f.\"desc\", f.grp%2, s1.grams, s1.name, s2.grams, "
                 "s2.name "
                 "FROM stage.food f LEFT JOIN stage.amounts a ON a.ndb = f.ndb LEFT JOIN "
                 "stage.serving s1 ON s1.ndb = f.ndb AND s1.seq = 1 LEFT JOIN stage.serving s2 ON "
                 "s2.ndb = f.ndb AND s2.seq = 2 ORDER BY f.ndb")
                 .arg(foodColumns, amountColumns)))
        return false;

    // Groups with foods, their names made unique in the order SR, survey, branded.
    Statement group(db, QStringLiteral("INSERT INTO FOODS_GROUP (FdGrp_Cd, FdGrp_Desc) "
                                       "VALUES (?, ?)"));
    QSet<QString> names;
    for (const Group &g : std::as_const(groups)) {
        if (!g.used)
            continue;
        QString name = g.name;
        if (names.contains(name))
            name += g.suffix;
        for (int n = 2; names.contains(name); ++n)
            name = g.name + g.suffix + QStringLiteral(" (%1)").arg(n);
        names.insert(name);
        group.bind(1, g.code);
        group.bind(2, name);
        if (!group.run())
            return fail(QStringLiteral("food group %1: %2").arg(g.code, db.lastError()));
        ++groupsWritten;
    }

    QStringList types;
    for (int kind = 0; kind < kindCount; ++kind) {
        if (kindCounts[kind] > 0)
            types << QLatin1String(kindNames[kind]);
    }
    info = DataInfo::forFoodDataCentral(types, published);
    if (!info.write(db))
        return fail(QStringLiteral("DATA_INFO: %1").arg(db.lastError()));
    return true;
}
