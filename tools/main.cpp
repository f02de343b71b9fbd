// kalo-mkdb: builds FOODS.db from the USDA Nutrient Database for Standard Reference or from a
// USDA FoodData Central download.
#include "db/sqlitedb.h"
#include "tools/fdcreader.h"
#include "tools/foodsdbwriter.h"
#include "tools/sr24jarreader.h"
#include "tools/srasciireader.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>

#include <cstdio>
#include <unistd.h>

namespace {

void say(const QString &text) {
    std::fprintf(stderr, "kalo-mkdb: %s\n", qPrintable(text));
}

class ProgressLine;
// Messages of the library code (the cache build's debug lines) start on a line of their own.
ProgressLine *activeProgress = nullptr;

// The progress line: redrawn in place on a terminal, one line per step elsewhere (build logs).
class ProgressLine {
public:
    explicit ProgressLine(bool enabled)
        : on(enabled)
        , terminal(::isatty(STDERR_FILENO)) {}
    ~ProgressLine() {
        end();
        if (activeProgress == this)
            activeProgress = nullptr;
    }

    Progress function() {
        if (!on)
            return {};
        return [this](const QString &step, qsizetype done, qsizetype total) {
            update(step, done, total);
        };
    }
    void end() {
        if (drawn)
            std::fputc('\n', stderr);
        drawn = false;
    }

private:
    void update(const QString &step, qsizetype done, qsizetype total) {
        if (terminal) {
            const int percent = total > 0 ? int(done * 100 / total) : 100;
            std::fprintf(stderr, "\r\033[Kkalo-mkdb: %s %d%%", qPrintable(step), percent);
            std::fflush(stderr);
            drawn = true;
        } else if (step != lastStep) {
            say(step + QStringLiteral("..."));
        }
        lastStep = step;
    }

    bool on;
    bool terminal;
    bool drawn = false;
    QString lastStep;
};

int usageError(const QString &message) {
    say(message);
    std::fprintf(stderr, "Try 'kalo-mkdb --help'.\n");
    return 2;
}

QtMessageHandler defaultHandler = nullptr;

void messageHandler(QtMsgType type, const QMessageLogContext &context, const QString &message) {
    // The ranking cache code traces its statements for the program's debug log, not for the
    // builder's user.
    if (type == QtDebugMsg && message.startsWith(QLatin1String("executing query:")))
        return;
    if (activeProgress)
        activeProgress->end();
    if (defaultHandler)
        defaultHandler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kalo-mkdb"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KALO_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Builds the food database FOODS.db of KALO from USDA data, read from one of:\n"
        "  - the SR24 data jar of the Debian package cronometer "
        "(usr/share/cronometer/usda_sr24.jar);\n"
        "  - the USDA SR ASCII release files FD_GROUP.txt, FOOD_DES.txt, NUTR_DEF.txt, "
        "NUT_DATA.txt and WEIGHT.txt, and FOOTNOTE.txt, DERIV_CD.txt and SRC_CD.txt when present "
        "(Release 14 onward);\n"
        "  - a USDA FoodData Central CSV download (Foundation, SR Legacy, Survey (FNDDS), "
        "Branded or the full download), the zip as downloaded or its unpacked folder, which "
        "needs food.csv, nutrient.csv and food_nutrient.csv and reads the category, portion, "
        "NDB number, survey, branded, derivation and source files when present. Only current "
        "foods are built: those that their data type's own table (foundation_food.csv, ...) "
        "lists.\n\n"
        "The file is written under a temporary name beside the output and renamed over it only "
        "when complete. It holds the foods (of SR data those that have nutrient data) with all "
        "their servings and nutrients, the food groups, where the data comes from (table "
        "DATA_INFO; the SR release "
        "number is also PRAGMA user_version, 0 for FoodData Central), the search index, the "
        "barcodes of branded foods, the Top 15 rankings and, where the source gives it, what "
        "each figure rests on (analyses, range, derivation, source, footnotes). SR Legacy and "
        "Foundation foods keep "
        "their NDB numbers; other FoodData Central foods are numbered by their FDC id. A "
        "FoodData Central download is read through a temporary file of intermediate tables "
        "beside the output, up to about the size of food_nutrient.csv.\n\n"
        "Exit status: 0 when written, 1 for input that cannot be read or is damaged (the message "
        "names the file, line and field), 2 for wrong options.\n\n"
        "Examples:\n"
        "  kalo-mkdb --jar /usr/share/cronometer/usda_sr24.jar -o FOODS.db\n"
        "  kalo-mkdb --sr-dir sr28/ --release 28 -o FOODS.db\n"
        "  kalo-mkdb --fdc FoodData_Central_foundation_food_csv_2024-10-31.zip -o FOODS.db"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption jarOption(QStringLiteral("jar"),
                                       QStringLiteral("Read the SR24 data jar <file>."),
                                       QStringLiteral("file"));
    const QCommandLineOption srDirOption(
        QStringLiteral("sr-dir"),
        QStringLiteral("Read the USDA SR ASCII files from <folder> (file names in any case)."),
        QStringLiteral("folder"));
    const QCommandLineOption fdcOption(
        {QStringLiteral("fdc"), QStringLiteral("fdc-dir")},
        QStringLiteral("Read the FoodData Central CSV download <path>: the zip as downloaded "
                       "(read as it is, never unpacked) or its unpacked folder (file names in any "
                       "case)."),
        QStringLiteral("path"));
    const QCommandLineOption releaseOption(
        QStringLiteral("release"),
        QStringLiteral("The SR release number <n> of the ASCII files (required with --sr-dir; "
                       "24 for the jar)."),
        QStringLiteral("n"));
    const QCommandLineOption outputOption(
        {QStringLiteral("o"), QStringLiteral("output")},
        QStringLiteral("Write the database to <file> (replacing it)."), QStringLiteral("file"));
    const QCommandLineOption tokensOption(
        QStringLiteral("word-tokens"),
        QStringLiteral("Store frequent words of the descriptions as word tokens with a "
                       "dictionary: a smaller file for space-constrained devices. Searches for "
                       "whole words find the same foods; parts of tokenised words are no longer "
                       "found. SR sources only. By default descriptions are stored as plain "
                       "text."));
    const QCommandLineOption quietOption(
        {QStringLiteral("q"), QStringLiteral("quiet")},
        QStringLiteral("Print no progress and no summary, only errors."));
    parser.addOptions({jarOption, srDirOption, fdcOption, releaseOption, outputOption, tokensOption,
                       quietOption});
    if (!parser.parse(QCoreApplication::arguments()))
        return usageError(parser.errorText());
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all")))
        parser.showHelp(0);
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion();
    if (!parser.positionalArguments().isEmpty())
        return usageError(QStringLiteral("unexpected argument '%1'")
                              .arg(parser.positionalArguments().constFirst()));
    const bool fdc = parser.isSet(fdcOption);
    if (int(parser.isSet(jarOption)) + int(parser.isSet(srDirOption)) +
            int(parser.values(fdcOption).size()) !=
        1)
        return usageError(QStringLiteral("give one of --jar, --sr-dir and --fdc"));
    if (!parser.isSet(outputOption) || parser.value(outputOption).isEmpty())
        return usageError(QStringLiteral("give the output file with -o"));
    if (fdc && (parser.isSet(releaseOption) || parser.isSet(tokensOption)))
        return usageError(QStringLiteral("--release and --word-tokens are for the SR sources"));
    int release = parser.isSet(jarOption) ? 24 : 0;
    if (parser.isSet(releaseOption)) {
        bool ok = false;
        release = parser.value(releaseOption).toInt(&ok);
        if (!ok || release < 1)
            return usageError(QStringLiteral("--release needs a positive whole number"));
    } else if (parser.isSet(srDirOption)) {
        return usageError(QStringLiteral("give the release number of the ASCII files with "
                                         "--release"));
    }
    const bool quiet = parser.isSet(quietOption);
    const QString output = parser.value(outputOption);

    QElapsedTimer clock;
    clock.start();
    ProgressLine progress(!quiet);
    activeProgress = &progress;
    defaultHandler = qInstallMessageHandler(messageHandler);
    if (fdc) {
        FdcReader reader;
        FoodsDbWriter writer;
        const QString staging = QFileInfo(output).absolutePath();
        const bool written = writer.write(
            output,
            [&](SQLiteDB &db, QString *message) {
                if (reader.read(parser.value(fdcOption), db, staging, progress.function()))
                    return true;
                *message = reader.errorString();
                return false;
            },
            progress.function());
        progress.end();
        if (!written) {
            say(writer.errorString());
            return 1;
        }
        if (quiet)
            return 0;
        for (const QString &note : reader.notes())
            say(note);
        say(QStringLiteral("wrote %1: %2 foods in %3 groups, %4, %5 ranking tables, %6 bytes "
                           "in %7 s")
                .arg(output)
                .arg(reader.foodCount())
                .arg(reader.groupCount())
                .arg(reader.dataInfo().displayName())
                .arg(writer.rankingTables())
                .arg(QFileInfo(output).size())
                .arg(double(clock.elapsed()) / 1000.0, 0, 'f', 1));
        return 0;
    }

    SrData data;
    QList<int> leftOut;
    if (parser.isSet(jarOption)) {
        Sr24JarReader reader;
        if (!reader.readFile(parser.value(jarOption), progress.function())) {
            progress.end();
            say(reader.errorString());
            return 1;
        }
        leftOut = reader.foodsWithoutNutrients();
        data = reader.takeData();
    } else {
        SrAsciiReader reader(release);
        if (!reader.readDirectory(parser.value(srDirOption), progress.function())) {
            progress.end();
            say(reader.errorString());
            return 1;
        }
        leftOut = reader.foodsWithoutNutrients();
        if (reader.strayFoods() > 0 && !quiet) {
            progress.end();
            say(QStringLiteral("ignored the nutrients and weights of %1 foods that FOOD_DES.txt "
                               "lacks")
                    .arg(reader.strayFoods()));
        }
        data = reader.takeData();
    }
    data.release = release;
    if (!leftOut.isEmpty() && !quiet) {
        progress.end();
        QStringList numbers;
        for (int number : std::as_const(leftOut).first(qMin(leftOut.size(), qsizetype(10))))
            numbers.append(QString::number(number));
        say(QStringLiteral("left out the foods without nutrient data: %1%2")
                .arg(numbers.join(QStringLiteral(", ")),
                     leftOut.size() > 10 ? QStringLiteral(", ... (%1 in all)").arg(leftOut.size())
                                         : QString()));
    }

    FoodsDbWriter writer;
    FoodsDbWriter::Options options;
    options.wordTokens = parser.isSet(tokensOption);
    const bool written = writer.write(data, output, options, progress.function());
    progress.end();
    if (!written) {
        say(writer.errorString());
        return 1;
    }
    if (!quiet) {
        QString summary = QStringLiteral("wrote %1: %2 foods in %3 groups, release %4, %5 ranking "
                                         "tables, ")
                              .arg(output)
                              .arg(data.foods.size())
                              .arg(data.groups.size())
                              .arg(data.release)
                              .arg(writer.rankingTables());
        if (options.wordTokens)
            summary += QStringLiteral("%1 word tokens, ").arg(writer.dictionarySize());
        summary += QStringLiteral("%1 bytes in %2 s")
                       .arg(QFileInfo(output).size())
                       .arg(double(clock.elapsed()) / 1000.0, 0, 'f', 1);
        say(summary);
    }
    return 0;
}
