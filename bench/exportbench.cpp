// kalo_bench_export: times the Nutrition Facts label and the CSV export of lists on the real food
// database, and the longest pause a window would see while two million rows are written.
#include "bench/benchtable.h"
#include "db/foodsdatabase.h"
#include "details/nutritionlabel.h"
#include "platform/csvfilewriter.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTimer>

#include <cstdio>

namespace {

constexpr int runs = 21;
constexpr double labelGoalMs = 20.0;
constexpr double smallExportGoalMs = 20.0;
constexpr double pauseGoalMs = 100.0;
constexpr qint64 largeRows = 2000000;

struct FoodRow {
    QString id;
    QString desc;
    QString kcal;
};

double msSince(const QElapsedTimer &timer) {
    return double(timer.nsecsElapsed()) / 1e6;
}

[[noreturn]] void fail(const QString &text) {
    std::fprintf(stderr, "kalo_bench_export: %s\n", qPrintable(text));
    std::exit(1);
}

QString met(double value, double goal) {
    return value <= goal ? QStringLiteral("yes") : QStringLiteral("no");
}

void print(const QString &measurement, const QList<double> &samples, double goal) {
    const Summary s = summarize(samples);
    TableRow row;
    row.measurement = measurement;
    row.runs = s.count;
    row.median = ms(s.median);
    row.spread = msSpread(s);
    if (goal > 0) { // the slowest run within the goal
        row.goal = QStringLiteral("<= ") + ms(goal);
        row.met = met(s.high, goal);
    }
    std::printf("%s\n", qPrintable(tableLine(row)));
}

// One export from start to the file in place, with the longest time the event loop went without
// a turn (as a window's events would wait), measured by a timer due every millisecond.
struct ExportRun {
    double total = 0.0;
    double longestPause = 0.0;
};

ExportRun exportRows(const QString &path, const QList<FoodRow> &rows, qint64 count) {
    CsvFileWriter writer(
        path, {QStringLiteral("NDB_No"), QStringLiteral("Description"), QStringLiteral("Calories")},
        count, [&rows](qint64 i) {
            const FoodRow &row = rows[i % rows.size()];
            return QStringList{row.id, row.desc, row.kcal};
        });
    ExportRun run;
    QEventLoop loop;
    QElapsedTimer sinceTurn;
    QTimer heartbeat;
    heartbeat.setTimerType(Qt::PreciseTimer);
    heartbeat.setInterval(1);
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        run.longestPause = std::max(run.longestPause, msSince(sinceTurn));
        sinceTurn.restart();
    });
    bool ok = false;
    QString error;
    QObject::connect(&writer, &CsvFileWriter::finished, [&](bool done, const QString &why) {
        ok = done;
        error = why;
        loop.quit();
    });
    QElapsedTimer clock;
    clock.start();
    sinceTurn.start();
    heartbeat.start();
    writer.start();
    if (writer.isRunning())
        loop.exec();
    run.total = msSince(clock);
    run.longestPause = std::max(run.longestPause, msSince(sinceTurn));
    if (!ok)
        fail(QStringLiteral("export to %1 failed: %2").arg(path, error));
    return run;
}

} // namespace

int main(int argc, char **argv) {
    QGuiApplication app(argc, argv);
    const QString foods = QCoreApplication::applicationDirPath() +
                          QStringLiteral("/../share/kalo/pics/kalo/FOODS.db");
    if (!QFile::exists(foods))
        fail(QStringLiteral("no FOODS.db at ") + foods);
    FoodsDatabase db;
    db.open(foods);

    // The label view of cheddar's 1 oz: the report is loaded already; its HTML is made and laid
    // out at a 240 pixel width, as the report browser does on a switch of the view.
    const FoodReport cheddar = loadFoodReport(db, QStringLiteral("1009"), 100);
    const int oz = int(cheddar.weightNames.indexOf(QStringLiteral("1 oz")));
    QList<double> label;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        QTextDocument document;
        document.setHtml(nutritionLabelHtml(cheddar, oz));
        document.setTextWidth(240);
        document.documentLayout()->documentSize();
        label << msSince(clock);
    }

    // Every food of the data as a list holds it: number, description, calories.
    QList<FoodRow> rows;
    const ResultRows result = db.connection().exec(
        QStringLiteral("select NDB_No, desc, Energ_Kcal from FOODS_WR order by desc"));
    for (int i = 0; i < result.rowCount(); ++i)
        rows << FoodRow{result.value(i, 0), result.value(i, 1), result.value(i, 2)};
    if (rows.isEmpty())
        fail(QStringLiteral("no foods in ") + foods);

    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/kalo-export-XXXXXX"));
    QList<double> small;
    for (int i = 0; i < runs; ++i)
        small << exportRows(dir.filePath(QStringLiteral("list.csv")), rows, rows.size()).total;
    QList<double> largeTotal;
    QList<double> largePause;
    for (int i = 0; i < 3; ++i) {
        const ExportRun run =
            exportRows(dir.filePath(QStringLiteral("large.csv")), rows, largeRows);
        largeTotal << run.total;
        largePause << run.longestPause;
    }

    std::printf("%s\n", qPrintable(tableHeader()));
    print(QStringLiteral("Label view of cheddar, 1 oz (HTML and layout at 240 px)"), label,
          labelGoalMs);
    print(QStringLiteral("CSV export of %1 rows, start to file in place").arg(rows.size()), small,
          smallExportGoalMs);
    print(QStringLiteral("CSV export of 2,000,000 rows, start to file in place"), largeTotal, 0);
    print(QStringLiteral("Longest pause of the event loop during that export"), largePause,
          pauseGoalMs);
    return 0;
}
