// kalo_fdcgen: writes a synthetic USDA FoodData Central CSV download of any size, for measuring
// the builder and the program on millions of foods.
//
//   kalo_fdcgen --foods N --out FOLDER [--sr24 FOODS.db] [--zip FILE] [--foundation SAMPLES]
//
// Descriptions are made of the words of the SR24 descriptions, drawn as often as SR24 uses them,
// in as many words as an SR24 description has (its FOODS.db: --sr24, else the one the build
// made). Of N foods, 0.4 % are SR Legacy foods (NDB numbers from 1001), 0.05 % Foundation foods
// (half of them sharing an SR Legacy number), 0.3 % survey foods and the rest branded foods with
// a brand, a category of 400, a GTIN/UPC and a label serving. Branded foods have 20 nutrient
// figures, the others 25 to 30, as label data and SR data have. About half the figures give their
// number of data points, minimum, maximum, median and derivation (a table of 4), one in a thousand
// a footnote. The same arguments give the same files.
//
// --foundation SAMPLES writes a download shaped like the USDA's Foundation Foods one instead: the
// N foods are Foundation foods with 120 figures each, of which the 18 % published first are
// older versions that foundation_food.csv does not list, and food.csv holds SAMPLES more rows of
// samples and acquisitions with one or two figures each. --foods 387 --foundation 68488 gives the
// row counts of the download of 2024-10-31 (68,875 in food.csv, about 149,600 in
// food_nutrient.csv).
//
// --zip FILE also writes the download as the USDA publishes it: a zip of one folder, named after
// FOLDER, holding the files.
#include "db/sqlitedb.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>
#include <zip.h>

namespace {

struct Nutrient {
    int id;
    const char *name;
    const char *unit;
    const char *number;
    int rank;
    double typical; // figures are drawn up to about twice this
};

// Nutrients with their FoodData Central ids: the 25 of FOODS_WR first, then others label data
// gives.
const Nutrient nutrients[] = {
    {1008, "Energy", "KCAL", "208", 300, 250},
    {1253, "Cholesterol", "MG", "601", 15700, 40},
    {1004, "Total lipid (fat)", "G", "204", 800, 12},
    {1258, "Fatty acids, total saturated", "G", "606", 9700, 4},
    {1051, "Water", "G", "255", 100, 50},
    {1005, "Carbohydrate, by difference", "G", "205", 1110, 30},
    {1079, "Fiber, total dietary", "G", "291", 1200, 3},
    {1003, "Protein", "G", "203", 600, 10},
    {1162, "Vitamin C, total ascorbic acid", "MG", "401", 6300, 10},
    {1175, "Vitamin B-6", "MG", "415", 6800, 0.2},
    {1178, "Vitamin B-12", "UG", "418", 7300, 0.5},
    {1104, "Vitamin A, IU", "IU", "318", 7500, 300},
    {1109, "Vitamin E (alpha-tocopherol)", "MG", "323", 7905, 1},
    {1177, "Folate, total", "UG", "417", 6900, 30},
    {1166, "Riboflavin", "MG", "405", 6500, 0.2},
    {1167, "Niacin", "MG", "406", 6600, 3},
    {1165, "Thiamin", "MG", "404", 6400, 0.2},
    {1087, "Calcium, Ca", "MG", "301", 5300, 100},
    {1089, "Iron, Fe", "MG", "303", 5400, 2},
    {1093, "Sodium, Na", "MG", "307", 5800, 400},
    {1090, "Magnesium, Mg", "MG", "304", 5500, 30},
    {1092, "Potassium, K", "MG", "306", 5700, 250},
    {1095, "Zinc, Zn", "MG", "309", 5900, 1.5},
    {1098, "Copper, Cu", "MG", "312", 6000, 0.1},
    {1103, "Selenium, Se", "UG", "317", 6200, 10},
    {2000, "Sugars, total including NLEA", "G", "269", 1510, 10},
    {1257, "Fatty acids, total trans", "G", "605", 15400, 0.2},
    {1235, "Sugars, added", "G", "539", 1540, 6},
    {1110, "Vitamin D (D2 + D3), International Units", "IU", "324", 8650, 20},
    {1091, "Phosphorus, P", "MG", "305", 5600, 150},
};
constexpr int nutrientCount = int(sizeof nutrients / sizeof nutrients[0]);

class Output {
public:
    Output(const QString &folder, const char *name)
        : file(std::fopen(QDir(folder).filePath(QLatin1String(name)).toLocal8Bit().constData(),
                          "w")) {
        if (file)
            std::setvbuf(file, nullptr, _IOFBF, 1 << 20);
    }
    ~Output() { close(); }
    void close() {
        if (file)
            std::fclose(file);
        file = nullptr;
    }
    bool ok() const { return file != nullptr; }
    // One record: every field quoted, quotes doubled, LF line end.
    void row(std::initializer_list<std::string> fields) {
        bool first = true;
        for (const std::string &field : fields) {
            if (!first)
                std::fputc(',', file);
            first = false;
            std::fputc('"', file);
            for (char c : field) {
                if (c == '"')
                    std::fputc('"', file);
                std::fputc(c, file);
            }
            std::fputc('"', file);
        }
        std::fputc('\n', file);
    }

private:
    std::FILE *file;
};

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3g", value);
    return text;
}

// Zips the files of folder as folderName/file; false with the library's message.
bool zipDownload(const QString &folder, const QString &path, QString *error) {
    int code = 0;
    zip_t *archive =
        zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!archive) {
        *error = QStringLiteral("cannot create it (libzip error %1)").arg(code);
        return false;
    }
    const QString name = QFileInfo(folder).fileName();
    for (const QString &file : QDir(folder).entryList(QDir::Files)) {
        const QByteArray entry = (name + QLatin1Char('/') + file).toUtf8();
        zip_source_t *source = zip_source_file(
            archive, QFile::encodeName(QDir(folder).filePath(file)).constData(), 0, -1);
        if (!source || zip_file_add(archive, entry.constData(), source, ZIP_FL_ENC_UTF_8) < 0) {
            *error = QString::fromUtf8(zip_strerror(archive));
            zip_source_free(source);
            zip_discard(archive);
            return false;
        }
    }
    if (zip_close(archive) != 0) {
        *error = QString::fromUtf8(zip_strerror(archive));
        zip_discard(archive);
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes a synthetic FoodData Central CSV download of N foods."));
    parser.addHelpOption();
    parser.addOption(
        {QStringLiteral("foods"), QStringLiteral("The number of foods."), QStringLiteral("n")});
    parser.addOption(
        {QStringLiteral("out"), QStringLiteral("The folder to write."), QStringLiteral("folder")});
    parser.addOption({QStringLiteral("sr24"), QStringLiteral("The SR24 FOODS.db for words."),
                      QStringLiteral("file")});
    parser.addOption({QStringLiteral("zip"), QStringLiteral("Also write the download zipped."),
                      QStringLiteral("file")});
    parser.addOption({QStringLiteral("foundation"),
                      QStringLiteral("Write a Foundation-shaped download with this many samples."),
                      QStringLiteral("samples")});
    parser.process(app);
    const long long total = parser.value(QStringLiteral("foods")).toLongLong();
    const bool foundationShape = parser.isSet(QStringLiteral("foundation"));
    const long long samples = parser.value(QStringLiteral("foundation")).toLongLong();
    const QString folder = parser.value(QStringLiteral("out"));
    QString sr24 = parser.value(QStringLiteral("sr24"));
    if (sr24.isEmpty())
        sr24 = QCoreApplication::applicationDirPath() +
               QStringLiteral("/../share/kalo/pics/kalo/FOODS.db");
    if (total < 1 || folder.isEmpty()) {
        std::fprintf(stderr, "kalo_fdcgen: give --foods N and --out FOLDER\n");
        return 2;
    }

    // The words of SR24, each as often as SR24 uses it, and the word counts of its descriptions.
    SQLiteDB db;
    if (!db.open(sr24, false)) {
        std::fprintf(stderr, "kalo_fdcgen: %s: %s\n", qPrintable(sr24), qPrintable(db.lastError()));
        return 1;
    }
    const ResultRows rows = db.exec(QStringLiteral("select \"desc\" from FOODS_WR"), false);
    std::vector<std::string> words;
    std::vector<int> lengths;
    for (int i = 0; i < rows.rowCount(); ++i) {
        const QStringList parts = rows.value(i, 0).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        lengths.push_back(int(parts.size()));
        for (const QString &word : parts)
            words.push_back(word.toStdString());
    }
    const ResultRows groupRows = db.exec(
        QStringLiteral("select FdGrp_Cd, FdGrp_Desc from FOODS_GROUP order by FdGrp_Cd"), false);
    if (words.empty() || groupRows.isEmpty()) {
        std::fprintf(stderr, "kalo_fdcgen: %s holds no foods\n", qPrintable(sr24));
        return 1;
    }
    QDir().mkpath(folder);

    std::mt19937_64 random(20240418);
    auto below = [&](long long n) { return (long long)(random() % (unsigned long long)n); };
    auto word = [&] { return words[size_t(below((long long)words.size()))]; };
    auto description = [&](bool upper) {
        const int count = lengths[size_t(below((long long)lengths.size()))];
        std::string text;
        for (int i = 0; i < count; ++i)
            text += (i ? " " : "") + word();
        while (!text.empty() && (text.back() == ',' || text.back() == ' '))
            text.pop_back();
        if (!text.empty())
            text[0] = char(std::toupper(static_cast<unsigned char>(text[0])));
        if (upper)
            std::transform(text.begin(), text.end(), text.begin(),
                           [](unsigned char c) { return char(std::toupper(c)); });
        return text;
    };
    auto name = [&](int count) {
        std::string text;
        for (int i = 0; i < count; ++i) {
            std::string w = word();
            while (!w.empty() && !std::isalpha(static_cast<unsigned char>(w.back())))
                w.pop_back();
            if (w.empty())
                w = "Mixed";
            w[0] = char(std::toupper(static_cast<unsigned char>(w[0])));
            text += (i ? " " : "") + w;
        }
        return text;
    };

    Output categories(folder, "food_category.csv");
    Output wweia(folder, "wweia_food_category.csv");
    Output nutrientFile(folder, "nutrient.csv");
    Output units(folder, "measure_unit.csv");
    Output foods(folder, "food.csv");
    Output srLegacy(folder, "sr_legacy_food.csv");
    Output foundation(folder, "foundation_food.csv");
    Output survey(folder, "survey_fndds_food.csv");
    Output branded(folder, "branded_food.csv");
    Output portions(folder, "food_portion.csv");
    Output figures(folder, "food_nutrient.csv");
    Output derivations(folder, "food_nutrient_derivation.csv");
    Output sources(folder, "food_nutrient_source.csv");
    for (const Output *out :
         {&categories, &wweia, &nutrientFile, &units, &foods, &srLegacy, &foundation, &survey,
          &branded, &portions, &figures, &derivations, &sources}) {
        if (!out->ok()) {
            std::fprintf(stderr, "kalo_fdcgen: cannot write into %s\n", qPrintable(folder));
            return 1;
        }
    }

    categories.row({"id", "code", "description"});
    for (int i = 0; i < groupRows.rowCount(); ++i)
        categories.row({std::to_string(i + 1), groupRows.value(i, 0).toStdString(),
                        groupRows.value(i, 1).toStdString()});
    wweia.row({"wweia_food_category", "wweia_food_category_description"});
    constexpr int wweiaCount = 150;
    for (int i = 0; i < wweiaCount; ++i)
        wweia.row({std::to_string(1002 + 2 * i), name(2)});
    std::vector<std::string> brandedCategories;
    for (int i = 0; i < 400; ++i)
        brandedCategories.push_back(name(1 + i % 3) + (i >= 200 ? " " + std::to_string(i) : ""));
    std::vector<std::string> owners;
    for (int i = 0; i < 5000; ++i)
        owners.push_back(name(2) + (i % 2 ? " Foods" : ", Inc."));
    nutrientFile.row({"id", "name", "unit_name", "nutrient_nbr", "rank"});
    for (const Nutrient &n : nutrients)
        nutrientFile.row({std::to_string(n.id), n.name, n.unit, n.number, std::to_string(n.rank)});
    // The amino and fatty acids and other components that Foundation foods are analysed for.
    constexpr int componentCount = 90;
    if (foundationShape) {
        for (int k = 0; k < componentCount; ++k)
            nutrientFile.row({std::to_string(3000 + k), "Component " + std::to_string(k), "G", "",
                              std::to_string(20000 + k) + ".0"});
    }
    units.row({"id", "name"});
    const char *const unitNames[] = {"cup", "tablespoon", "piece", "slice"};
    for (int i = 0; i < 4; ++i)
        units.row({std::to_string(1000 + i), unitNames[i]});
    units.row({"9999", "undetermined"});
    sources.row({"id", "code", "description"});
    sources.row({"1", "1", "Analytical or derived from analytical"});
    sources.row({"2", "4", "Calculated or imputed"});
    derivations.row({"id", "code", "description", "source_id"});
    derivations.row({"1", "A", "Analytical", "1"});
    derivations.row({"49", "NC", "Calculated", "2"});
    derivations.row({"50", "NP", "Nutrient that is based on other nutrient/s", "2"});
    derivations.row(
        {"71", "LCSA", "Calculated from an approximate value per serving size measure", "2"});
    const char *const derivationIds[] = {"1", "49", "50", "71"};

    foods.row({"fdc_id", "data_type", "description", "food_category_id", "publication_date"});
    srLegacy.row({"fdc_id", "NDB_number"});
    foundation.row({"fdc_id", "NDB_number", "footnote"});
    survey.row({"fdc_id", "food_code", "wweia_category_code", "start_date", "end_date"});
    branded.row({"fdc_id",
                 "brand_owner",
                 "brand_name",
                 "subbrand_name",
                 "gtin_upc",
                 "ingredients",
                 "not_a_significant_source_of",
                 "serving_size",
                 "serving_size_unit",
                 "household_serving_fulltext",
                 "branded_food_category",
                 "data_source",
                 "package_weight",
                 "modified_date",
                 "available_date",
                 "market_country",
                 "discontinued_date",
                 "preparation_state_code",
                 "trade_channel",
                 "short_description",
                 "material_code"});
    portions.row({"id", "fdc_id", "seq_num", "amount", "measure_unit_id", "portion_description",
                  "modifier", "gram_weight", "data_points", "footnote", "min_year_acquired"});
    figures.row({"id", "fdc_id", "nutrient_id", "amount", "data_points", "derivation_id", "min",
                 "max", "median", "footnote", "min_year_acquired"});

    const long long srCount = foundationShape ? 0 : std::max(1LL, total * 4 / 1000);
    const long long foundationCount = foundationShape ? total : total * 5 / 10000;
    const long long surveyCount = foundationShape ? 0 : total * 3 / 1000;
    long long figureId = 1;
    long long portionId = 1;
    // About half the figures say what they rest on; one in a thousand has a footnote.
    auto figure = [&](const std::string &food, int nutrient, double value) {
        std::string points, derivation, low, high, median, note;
        if (below(2)) {
            points = std::to_string(1 + below(40));
            derivation = derivationIds[below(4)];
            low = number(value * double(800 + below(200)) / 1000.0);
            high = number(value * double(1000 + below(200)) / 1000.0);
            median = number(value);
        }
        if (below(1000) == 0)
            note = "Value from a single sample";
        figures.row({std::to_string(figureId++), food, std::to_string(nutrient), number(value),
                     points, derivation, low, high, median, note, ""});
    };
    std::vector<int> order(nutrientCount);
    for (long long i = 0; i < total; ++i) {
        const long long fdc = 300000 + i;
        const std::string id = std::to_string(fdc);
        int figureCount = 20;
        if (foundationShape) {
            // Older versions, not current, in the share of the download of 2024-10-31 (71 of 387).
            foods.row({id, "foundation_food", description(false),
                       std::to_string(1 + below(groupRows.rowCount())), "2024-10-31"});
            if (i >= total * 71 / 387)
                foundation.row({id, std::to_string(1001 + i),
                                below(4) ? ""
                                         : "Source number reflects the actual number of "
                                           "samples analyzed for a nutrient."});
            figureCount = nutrientCount;
            for (int k = 0; k < componentCount; ++k)
                figure(id, 3000 + k, double(below(2001)) / 1000.0);
        } else if (i < srCount) {
            foods.row({id, "sr_legacy_food", description(false),
                       std::to_string(1 + below(groupRows.rowCount())), "2019-04-01"});
            srLegacy.row({id, std::to_string(1001 + i)});
            figureCount = 25 + int(below(6));
        } else if (i < srCount + foundationCount) {
            foods.row({id, "foundation_food", description(false),
                       std::to_string(1 + below(groupRows.rowCount())), "2024-04-18"});
            const long long k = i - srCount;
            foundation.row({id, k % 2 ? std::to_string(1001 + k) : "", ""});
            figureCount = 25 + int(below(6));
        } else if (i < srCount + foundationCount + surveyCount) {
            foods.row({id, "survey_fndds_food", description(false), "", "2022-10-28"});
            survey.row({id, std::to_string(11000000 + i),
                        std::to_string(1002 + 2 * below(wweiaCount)), "2019-01-01", "2020-12-31"});
            figureCount = 25 + int(below(6));
        } else {
            foods.row({id, "branded_food", description(below(10) < 7), "", "2024-04-18"});
            std::string gtin = std::to_string(100000000000LL + below(899999999999LL));
            if (below(2))
                gtin = "00" + gtin;
            const long long size = 10 + below(240);
            const char *const households[] = {"1 cup", "2 Tbsp", "1 ONZ", "1/2 cup", "1 bar", ""};
            branded.row({id,
                         owners[size_t(below((long long)owners.size()))],
                         below(10) < 6 ? name(1 + int(below(2))) : "",
                         "",
                         gtin,
                         "INGREDIENTS: " + description(true),
                         "",
                         std::to_string(size),
                         below(5) ? "GRM" : "MLT",
                         households[below(6)],
                         brandedCategories[size_t(below(400))],
                         "GDSN",
                         "",
                         "2024-03-01",
                         "2024-04-18",
                         "United States",
                         "",
                         "",
                         "",
                         "",
                         ""});
        }
        if (i < srCount + foundationCount + surveyCount) {
            const long long count = 1 + below(4);
            for (long long p = 0; p < count; ++p)
                portions.row({std::to_string(portionId++), id, std::to_string(p + 1), "1",
                              std::to_string(1000 + below(4)), "", "", number(10 + below(300)), "",
                              "", ""});
        }
        // Energy, fat, carbohydrate and protein always; the rest drawn.
        for (int n = 0; n < nutrientCount; ++n)
            order[size_t(n)] = n;
        std::shuffle(order.begin() + 4, order.end(), random);
        std::sort(order.begin(), order.begin() + figureCount);
        for (int k = 0; k < figureCount; ++k) {
            const Nutrient &n = nutrients[order[size_t(k)]];
            figure(id, n.id, n.typical * double(below(2001)) / 1000.0);
        }
    }
    // The samples and acquisitions behind Foundation foods, with one or two figures each.
    const char *const sampleTypes[] = {"sub_sample_food", "market_acquisition",
                                       "agricultural_acquisition", "sample_food"};
    for (long long i = 0; i < samples; ++i) {
        const std::string id = std::to_string(300000 + total + i);
        foods.row({id, sampleTypes[i % 4], description(false) + ", sample " + std::to_string(i), "",
                   "2024-10-31"});
        for (long long k = 0, count = 1 + below(2); k < count; ++k) {
            const Nutrient &n = nutrients[below(nutrientCount)];
            figure(id, n.id, n.typical * double(below(2001)) / 1000.0);
        }
    }
    for (Output *out : {&categories, &wweia, &nutrientFile, &units, &foods, &srLegacy, &foundation,
                        &survey, &branded, &portions, &figures, &derivations, &sources})
        out->close();
    std::fprintf(stderr, "kalo_fdcgen: wrote %lld foods, %lld nutrient figures into %s\n",
                 total + samples, figureId - 1, qPrintable(folder));
    const QString zipPath = parser.value(QStringLiteral("zip"));
    QString zipError;
    if (!zipPath.isEmpty() && !zipDownload(folder, zipPath, &zipError)) {
        std::fprintf(stderr, "kalo_fdcgen: %s: %s\n", qPrintable(zipPath), qPrintable(zipError));
        return 1;
    }
    return 0;
}
