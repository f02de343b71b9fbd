// kalo_bench: times start-up and every user action of the real main window on the real food
// database (offscreen), the ranking cache build and the database builder; prints table rows.
#include "bench/benchtable.h"
#include "db/foodsdatabase.h"
#include "db/sqlitedb.h"
#include "finding/bestmatch.h"
#include "finding/finderstream.h"
#include "finding/foodsearch.h"
#include "finding/statements.h"
#include "finding/topcache.h"
#include "finding/toprankings.h"
#include "settings/settings.h"
#include "ui/comparedialog.h"
#include "ui/foodlist.h"
#include "ui/kalodetailsdialog.h"
#include "ui/kalowindow.h"
#include "ui/pagecontext.h"
#include "ui/qpeapplication.h"
#include "ui/statuswindows.h"

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QComboBox>
#include <QCommandLineParser>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>

#include <cstdio>
#include <ctime>
#include <fstream>
#include <functional>
#include <string>

namespace {

// The name of the food group that holds the most foods.
QString largestGroupOf(const QString &foodsPath) {
    SQLiteDB db(foodsPath, false);
    return db
        .exec(QStringLiteral("select FdGrp_Desc from FOODS_GROUP where FdGrp_Cd = (select FdGrp_Cd "
                             "from FOODS_WR group by FdGrp_Cd order by count(*) desc limit 1)"))
        .value(0, 0);
}

constexpr double cacheGoalMs = 300.0;
constexpr double builderGoalMs = 10000.0;

double msSince(const QElapsedTimer &timer) {
    return double(timer.nsecsElapsed()) / 1e6;
}

double msOfNs(qint64 ns) {
    return double(ns) / 1e6;
}

void say(const QString &text) {
    std::fprintf(stderr, "kalo_bench: %s\n", qPrintable(text));
}

[[noreturn]] void fail(const QString &text) {
    say(text);
    std::exit(1);
}

bool copyTree(const QString &from, const QString &to) {
    if (!QDir().mkpath(to))
        return false;
    const QFileInfoList entries =
        QDir(from).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        const QString target = to + QLatin1Char('/') + entry.fileName();
        if (entry.isDir() ? !copyTree(entry.filePath(), target)
                          : !QFile::copy(entry.filePath(), target))
            return false;
    }
    return true;
}

bool replaceFile(const QString &from, const QString &to) {
    QFile::remove(to);
    return QFile::copy(from, to);
}

// Lets everything that is pending happen (paints, deferred deletes), untimed.
void drain() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
}

// One timed run of an action: from the signal to the result, the part of it spent in the event
// processing windows, and the time from the result to its pixels being flushed.
struct Sample {
    double total = 0.0;
    double windows = 0.0;
    double paint = 0.0;
};

class ActionClock {
public:
    void start() {
        windowsAtStart = StatusWindows::eventWindowNanoseconds();
        timer.start();
    }
    Sample stop() const {
        Sample s;
        s.total = msSince(timer);
        s.windows = msOfNs(StatusWindows::eventWindowNanoseconds() - windowsAtStart);
        return s;
    }

private:
    QElapsedTimer timer;
    qint64 windowsAtStart = 0;
};

// Runs the event loop until the widget's next paint has been flushed (a zero timer posted from
// its paint event fires after the flush); the milliseconds that took, or -1 after 5 s without.
class PaintWaiter : public QObject {
public:
    double waitFor(QWidget *widget) {
        painted = false;
        QElapsedTimer timer;
        timer.start();
        widget->installEventFilter(this);
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, &loop, &QEventLoop::quit);
        guard.start(5000);
        loop.exec();
        widget->removeEventFilter(this);
        return painted ? msSince(timer) : -1.0;
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [this]() {
                painted = true;
                loop.quit();
            });
        }
        return false;
    }

private:
    QEventLoop loop;
    bool painted = false;
};

template <typename T> T *child(QObject *parent, const char *name) {
    T *found = parent->findChild<T *>(QLatin1String(name));
    if (!found)
        fail(QStringLiteral("no widget %1").arg(QLatin1String(name)));
    return found;
}

TableRow actionRow(const QString &name, const QList<Sample> &samples, double goalMs) {
    QList<double> totals, windows, outside, paints, shown;
    for (const Sample &s : samples) {
        totals << s.total;
        windows << s.windows;
        outside << s.total - s.windows;
        paints << s.paint;
        shown << s.total + s.paint;
    }
    const Summary total = summarize(totals);
    TableRow row;
    row.measurement = name;
    row.runs = total.count;
    row.median = ms(total.median);
    row.spread = msSpread(total);
    row.inWindows = ms(summarize(windows).median);
    row.outside = ms(summarize(outside).median);
    row.paint = ms(summarize(paints).median);
    if (goalMs > 0) {
        row.goal = QStringLiteral("median + paint ≤ %1 ms").arg(goalMs);
        row.met = summarize(shown).median <= goalMs ? QStringLiteral("yes") : QStringLiteral("no");
    }
    return row;
}

TableRow timeRow(const QString &name, const QList<double> &samples, double goalMs) {
    const Summary s = summarize(samples);
    TableRow row;
    row.measurement = name;
    row.runs = s.count;
    row.median = ms(s.median);
    row.spread = msSpread(s);
    if (goalMs > 0) {
        row.goal =
            QStringLiteral("≤ %1").arg(goalMs >= 1000 ? QStringLiteral("%1 s").arg(goalMs / 1000)
                                                      : QStringLiteral("%1 ms").arg(goalMs));
        row.met = s.median <= goalMs ? QStringLiteral("yes") : QStringLiteral("no");
    }
    return row;
}

void printRow(const TableRow &row) {
    std::printf("%s\n", qPrintable(tableLine(row)));
    std::fflush(stdout);
}

// The peak resident set size of this process so far (VmHWM), in MiB.
double peakMib() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    return 0.0;
}

// Watches a list fill: how long until its rows are all in, and the longest time the event loop
// did not run (a zero timer fires on every pass), from the start of the action.
class FillWatch : public QObject {
public:
    explicit FillWatch(FoodList *watched)
        : list(watched) {
        connect(&tick, &QTimer::timeout, this, [this] {
            longestGap = qMax(longestGap, msSince(sinceTick));
            sinceTick.start();
        });
    }
    // With gaps, a zero timer runs all along, as a second list filling would.
    void start(bool gaps) {
        longestGap = 0.0;
        clock.start();
        sinceTick.start();
        if (gaps)
            tick.start(0);
    }
    // Runs the event loop until the list is filled; the milliseconds since start(), event windows
    // included.
    double waitFilled() {
        QEventLoop loop;
        const auto connection = connect(list, &FoodList::filled, &loop, &QEventLoop::quit);
        if (list->isFilling())
            loop.exec();
        disconnect(connection);
        const double total = msSince(clock);
        if (tick.isActive())
            longestGap = qMax(longestGap, msSince(sinceTick));
        tick.stop();
        return total;
    }
    double longestGap = 0.0;

private:
    FoodList *list;
    QTimer tick;
    QElapsedTimer clock;
    QElapsedTimer sinceTick;
};

// Closes the details dialog as soon as its report has been painted, timing the way there, a
// change of serving and three presses of the view button on the open dialog.
class DialogDriver : public QObject {
public:
    DialogDriver(KALODetailsDialog *detailsDialog, ActionClock &openingClock)
        : dialog(detailsDialog)
        , clock(openingClock)
        , viewport(child<QTextBrowser>(detailsDialog, "reportBrowser")->viewport())
        , menu(child<QMenu>(detailsDialog, "weightMenu")) {
        dialog->installEventFilter(this);
    }
    ~DialogDriver() override { dialog->removeEventFilter(this); }

    Sample opening;
    Sample serving;
    QList<Sample> views;      // to the basic or the detailed view
    QList<Sample> fullViews;  // to the full view
    QList<Sample> labelViews; // to the Nutrition Facts label
    bool servingTimed = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (watched == dialog && event->type() == QEvent::Show) {
            opening = clock.stop();
            shownAt.start();
            viewport->installEventFilter(this);
        } else if (watched == viewport && event->type() == QEvent::Paint) {
            viewport->removeEventFilter(this);
            QTimer::singleShot(0, this, &DialogDriver::painted);
        }
        return false;
    }

private:
    void painted() {
        opening.paint = msSince(shownAt);
        // The serving the user picks from the menu: the first common serving (or the custom
        // weight when the food has none).
        const int index = menu->actions().size() > 1 ? 1 : 0;
        ActionClock servingClock;
        servingClock.start();
        emit dialog->valueChanged(index);
        serving = servingClock.stop();
        PaintWaiter waiter;
        serving.paint = waiter.waitFor(viewport);
        // Basic, Detailed, Full (where the database has the full record), Label and round again.
        auto *viewButton = child<QToolButton>(dialog, "viewButton");
        for (int i = 0; i < 4; ++i) {
            ActionClock viewClock;
            viewClock.start();
            viewButton->click();
            Sample view = viewClock.stop();
            view.paint = waiter.waitFor(viewport);
            const QString shown = dialog->windowTitle();
            (shown == QLatin1String("Full View")    ? fullViews
             : shown == QLatin1String("Label View") ? labelViews
                                                    : views)
                << view;
        }
        servingTimed = true;
        dialog->reject();
    }

    KALODetailsDialog *dialog;
    ActionClock &clock;
    QWidget *viewport;
    QMenu *menu;
    QElapsedTimer shownAt;
};

struct Options {
    int runs = 21;
    int startRuns = 11;
    int cacheRuns = 7;
    int builderRuns = 3;
    QString dataDir;
    QString jar;
    QString mkdb;
    QString label;             // before every row name: which database
    double actionGoal = 20.0;  // ms, outside the event windows plus paint
    double rankingGoal = 20.0; // ms, Best Match and the live Top 15
};

class Bench {
public:
    Bench(QPEApplication &application, const Options &options, const QString &install,
          const QString &scratchDir)
        : app(application)
        , opt(options)
        , installDir(install)
        , scratch(scratchDir) {}

    void start();
    void actions();
    void memory();
    void cacheBuild();
    void builder();
    void finderDialog();

private:
    void compare(KALOWindow *window, FoodList *foods);
    int fullNutrients() const;
    QPEApplication &app;
    const Options &opt;
    QString installDir;
    QString scratch;
};

void Bench::start() {
    QList<Sample> samples;
    for (int i = 0; i <= opt.startRuns; ++i) { // run 0, cold, has a row of its own
        drain();
        ActionClock clock;
        clock.start();
        auto *window = new KALOWindow(loadSettings(), nullptr, Qt::Window);
        Sample s = clock.stop();
        PaintWaiter waiter;
        QElapsedTimer shown;
        shown.start();
        app.showMainWidget(window, false);
        window->show();
        const double painted = waiter.waitFor(window);
        s.paint = painted < 0 ? -1.0 : msSince(shown);
        if (child<FoodList>(window, "browseList")->rowCount() == 0)
            fail(QStringLiteral("the first group lists no food"));
        delete window;
        if (i > 0)
            samples << s;
        else
            printRow(actionRow(opt.label + QStringLiteral("Window built, first group listed, first "
                                                          "time in the process (paint: shown)"),
                               {s}, 0));
    }
    printRow(
        actionRow(opt.label + QStringLiteral("Window built, first group listed (paint: shown)"),
                  samples, opt.actionGoal));
}

void Bench::actions() {
    drain();
    auto *window = new KALOWindow(loadSettings(), nullptr, Qt::Window);
    app.showMainWidget(window, false);
    window->show();
    drain();
    window->buildPages(); // as a moment after the first paint

    auto *tabs = child<QTabBar>(window, "tabBar");
    auto *categoryCombo = child<QComboBox>(window, "categoryCombo");
    auto *browseList = child<FoodList>(window, "browseList");
    auto *searchCombo = child<QComboBox>(window, "searchCombo");
    auto *searchButton = child<QPushButton>(window, "searchButton");
    auto *searchList = child<FoodList>(window, "searchList");
    auto *topCombo = child<QComboBox>(window, "topCombo");
    auto *topGroupCombo = child<QComboBox>(window, "topGroupCombo");
    auto *topBasisCombo = child<QComboBox>(window, "topBasisCombo");
    auto *topList = child<FoodList>(window, "topList");
    auto *searchOrderCombo = child<QComboBox>(window, "searchOrderCombo");
    auto *dialog = window->findChild<KALODetailsDialog *>();
    if (!dialog)
        fail(QStringLiteral("no details dialog"));
    const double goal = opt.actionGoal;

    const auto browse = [categoryCombo](int index) {
        categoryCombo->setCurrentIndex(index);
        emit categoryCombo->textActivated(categoryCombo->itemText(index));
    };
    const auto search = [searchCombo, searchButton](const QString &text) {
        searchCombo->setEditText(text);
        searchButton->click();
    };
    // Large lists arrive a slice at a time: their rows get the whole-list and answering rows.
    const bool large = !opt.label.isEmpty();
    // The time to the first screen (outside the event windows, then painted), the time to the
    // whole list, and the longest time the window did not answer on the way.
    const auto timeFill = [&](FoodList *list, const std::function<void()> &prepare,
                              const std::function<void()> &action, QList<Sample> &firstScreens,
                              QList<double> &wholes, QList<double> &gaps, bool keep) {
        prepare();
        drain();
        FillWatch watch(list);
        ActionClock clock;
        watch.start(large);
        clock.start();
        action();
        Sample s = clock.stop();
        PaintWaiter waiter;
        s.paint = waiter.waitFor(list->viewport());
        const double whole = watch.waitFilled();
        if (keep) {
            firstScreens << s;
            wholes << whole;
            gaps << watch.longestGap;
        }
    };
    const auto printFill = [&](const QString &name, const QList<Sample> &firstScreens,
                               const QList<double> &wholes, const QList<double> &gaps,
                               bool streamed) {
        printRow(actionRow(name + (streamed ? QStringLiteral(": first screen") : QString()),
                           firstScreens, goal));
        if (!streamed)
            return;
        printRow(timeRow(name + QStringLiteral(": whole list"), wholes, 1000.0));
        printRow(timeRow(name + QStringLiteral(": longest time the window did not answer"), gaps,
                         100.0));
    };

    // Browsing the largest group, coming from the first one.
    tabs->setCurrentIndex(0);
    const QString largestGroup = largestGroupOf(installDir + QStringLiteral("/pics/kalo/FOODS.db"));
    const int largest = categoryCombo->findText(largestGroup);
    if (largest < 0)
        fail(QStringLiteral("no group \"%1\"").arg(largestGroup));
    QList<Sample> samples;
    QList<double> wholes, gaps;
    for (int i = 0; i <= opt.runs; ++i)
        timeFill(
            browseList, [&] { browse(0); }, [&] { browse(largest); }, samples, wholes, gaps, i > 0);
    printFill(
        opt.label +
            QStringLiteral("Browse %1 (%2 foods)").arg(largestGroup).arg(browseList->rowCount()),
        samples, wholes, gaps, large);

    // Searches, each coming from a search that found nothing.
    tabs->setCurrentIndex(1);
    const struct {
        QString text;
        QString name;
    } searches[] = {
        {QStringLiteral("cheddar"), QStringLiteral("Search \"cheddar\"")},
        {QStringLiteral("raw"), QStringLiteral("Search \"raw\"")},
        {QStringLiteral(","), QStringLiteral("Search \",\" (separators only: all foods)")},
    };
    for (const auto &s : searches) {
        samples.clear();
        wholes.clear();
        gaps.clear();
        for (int i = 0; i <= opt.runs; ++i)
            timeFill(
                searchList, [&] { search(QStringLiteral("xyzzy")); }, [&] { search(s.text); },
                samples, wholes, gaps, i > 0);
        printFill(opt.label +
                      QStringLiteral("%1 (%2 foods)").arg(s.name).arg(searchList->rowCount()),
                  samples, wholes, gaps, large && s.text != QLatin1String("cheddar"));
    }

    // Export… of the list of Search "," (every food) as CSV: from the chosen file to the file in
    // place, and the longest time the window did not answer meanwhile.
    {
        const QString path = scratch + QStringLiteral("/list.csv");
        QList<double> totals;
        QList<double> pauses;
        for (int i = 0; i <= (large ? qMin(opt.runs, 3) : opt.runs); ++i) {
            drain();
            QEventLoop loop;
            QObject::connect(searchList, &FoodList::exportFinished, &loop, [&](bool ok) {
                if (!ok)
                    fail(QStringLiteral("the export of the list failed"));
                loop.quit();
            });
            double longest = 0.0;
            QElapsedTimer sinceTick;
            QTimer tick; // fires on every pass of the event loop
            QObject::connect(&tick, &QTimer::timeout, [&] {
                longest = qMax(longest, msSince(sinceTick));
                sinceTick.start();
            });
            QElapsedTimer clock;
            clock.start();
            sinceTick.start();
            tick.start(0);
            searchList->exportTo(path);
            if (searchList->isExporting())
                loop.exec();
            const double total = msSince(clock);
            if (i > 0) {
                totals << total;
                pauses << qMax(longest, msSince(sinceTick));
            }
        }
        const QString name =
            opt.label +
            QStringLiteral("Export… of Search \",\" as CSV (%1 rows)").arg(searchList->rowCount());
        printRow(timeRow(name + QStringLiteral(": chosen file to file in place"), totals,
                         large ? 0.0 : goal));
        printRow(timeRow(name + QStringLiteral(": longest time the window did not answer"), pauses,
                         100.0));
    }

    // Best Match: the ranking alone on the descriptions of "raw", and the whole search.
    {
        FoodsDatabase foods;
        foods.open(installDir + QStringLiteral("/pics/kalo/FOODS.db"));
        SearchOptions options;
        options.nameOrder = Qt::AscendingOrder;
        const ResultRows found = foods.connection().exec(
            foodSearchStatement(foods, QStringLiteral("raw"), allCategoriesName(), options, {}));
        QStringList descriptions;
        for (int i = 0; i < found.rowCount(); ++i)
            descriptions << found.value(i, 1);
        QList<double> orderings;
        for (int i = 0; i <= opt.runs; ++i) {
            QElapsedTimer timer;
            timer.start();
            const std::vector<int> order = bestMatchOrder(descriptions, {QStringLiteral("raw")});
            if (i > 0)
                orderings << msSince(timer);
            if (order.size() != size_t(descriptions.size()))
                fail(QStringLiteral("Best Match lost rows"));
        }
        printRow(timeRow(opt.label + QStringLiteral("Best Match ordering of \"raw\" (%1 foods)")
                                         .arg(descriptions.size()),
                         orderings, opt.rankingGoal));
    }
    tabs->setCurrentIndex(4);
    searchOrderCombo->setCurrentIndex(1); // Best Match, read when the Options page is left
    tabs->setCurrentIndex(1);
    samples.clear();
    wholes.clear();
    gaps.clear();
    for (int i = 0; i <= opt.runs; ++i)
        timeFill(
            searchList, [&] { search(QStringLiteral("xyzzy")); },
            [&] { search(QStringLiteral("raw")); }, samples, wholes, gaps, i > 0);
    printRow(timeRow(opt.label + QStringLiteral("Search \"raw\" under Best Match: ranked list "
                                                "shown"),
                     wholes, large ? 1000.0 : goal));
    if (large)
        printRow(timeRow(opt.label + QStringLiteral("Search \"raw\" under Best Match: longest "
                                                    "time the window did not answer"),
                         gaps, 100.0));
    tabs->setCurrentIndex(4);
    searchOrderCombo->setCurrentIndex(0);
    tabs->setCurrentIndex(1);

    // Top 15: one criterion after another, the cached rankings, then ranked now per 100 kcal
    // within the largest group.
    tabs->setCurrentIndex(2);
    drain();
    const auto timeTop = [&](const QString &name, double rowGoal) {
        QList<Sample> topSamples;
        for (int i = 0; i <= opt.runs; ++i) {
            const int criterion = (i + 1) % topCriteriaCount;
            topCombo->setCurrentIndex(criterion);
            drain();
            ActionClock clock;
            clock.start();
            emit topCombo->textActivated(topCombo->itemText(criterion));
            Sample s = clock.stop();
            PaintWaiter waiter;
            s.paint = waiter.waitFor(topList->viewport());
            if (topList->rowCount() == 0)
                fail(QStringLiteral("empty Top 15 list"));
            if (i > 0)
                topSamples << s;
        }
        printRow(actionRow(opt.label + name, topSamples, rowGoal));
    };
    timeTop(QStringLiteral("Top 15 list (all 20 criteria in turn, with the coverage line)"), goal);
    topGroupCombo->setCurrentIndex(topGroupCombo->findText(largestGroup));
    topBasisCombo->setCurrentIndex(1);
    timeTop(QStringLiteral("Top 15 per 100 kcal within %1, ranked now (all 20 criteria in turn, "
                           "with the coverage line)")
                .arg(largestGroup),
            goal);
    topGroupCombo->setCurrentIndex(0);
    FoodsDatabase installed;
    installed.open(installDir + QStringLiteral("/pics/kalo/FOODS.db"));
    const bool cached = installed.hasTable(topBasisTable());
    for (const int basis : {1, 2}) {
        topBasisCombo->setCurrentIndex(basis);
        timeTop(QStringLiteral("Top 15 %1 over all groups, %2 (all 20 criteria in turn, with the "
                               "coverage line)")
                    .arg(topBasisCombo->itemText(basis),
                         cached ? QStringLiteral("from the cache") : QStringLiteral("ranked now")),
                goal);
    }
    topBasisCombo->setCurrentIndex(0);

    // Details of foods of the largest group, and a change of serving on the open dialog.
    tabs->setCurrentIndex(0);
    browse(largest);
    browseList->finishFilling();
    drain();
    QList<Sample> servings;
    QList<Sample> views;
    QList<Sample> fullViews;
    QList<Sample> labelViews;
    samples.clear();
    const int foods = browseList->rowCount();
    // Opens foods spread over the list in turn, each timed by a driver of the dialog; the first,
    // which reads the file into the caches, is not kept.
    const auto openEach = [&](const std::function<void(const DialogDriver &)> &keep) {
        for (int i = 0; i <= opt.runs; ++i) {
            const QString id = browseList->foodId((i * 97) % foods);
            drain();
            ActionClock clock;
            DialogDriver driver(dialog, clock);
            clock.start();
            emit browseList->foodChosen(id);
            if (!driver.servingTimed)
                fail(QStringLiteral("the details dialog did not open"));
            if (i > 0)
                keep(driver);
        }
    };
    openEach([&](const DialogDriver &driver) {
        samples << driver.opening;
        servings << driver.serving;
        views << driver.views;
        fullViews << driver.fullViews;
        labelViews << driver.labelViews;
    });
    printRow(actionRow(opt.label + QStringLiteral("Open a food's details (to the dialog shown)"),
                       samples, goal));
    printRow(actionRow(opt.label + QStringLiteral("Choose another serving in the dialog"), servings,
                       goal));
    printRow(actionRow(opt.label +
                           QStringLiteral("Switch to the basic or the detailed view in the dialog"),
                       views, goal));
    if (!fullViews.isEmpty()) {
        printRow(actionRow(
            opt.label + QStringLiteral("Switch to the full view in the dialog (%1 nutrients)")
                            .arg(fullNutrients()),
            fullViews, goal));
    }
    printRow(
        actionRow(opt.label + QStringLiteral("Switch to the Nutrition Facts label in the dialog"),
                  labelViews, goal));

    // The same foods with Show Ranges on: what each figure rests on read with the food, and the
    // range column and footnotes of the full view.
    auto *rangesBox = child<QCheckBox>(window, "rangesBox");
    tabs->setCurrentIndex(4);
    rangesBox->setChecked(true);
    tabs->setCurrentIndex(0); // the options are read when their page is left
    QList<Sample> rangedOpenings;
    QList<Sample> rangedFullViews;
    openEach([&](const DialogDriver &driver) {
        rangedOpenings << driver.opening;
        rangedFullViews << driver.fullViews;
    });
    printRow(actionRow(opt.label + QStringLiteral("Open a food's details with Show Ranges on"),
                       rangedOpenings, goal));
    if (!rangedFullViews.isEmpty())
        printRow(actionRow(opt.label + QStringLiteral("Switch to the full view with its ranges"),
                           rangedFullViews, goal));
    tabs->setCurrentIndex(4);
    rangesBox->setChecked(false);
    tabs->setCurrentIndex(0);
    compare(window, browseList);
    delete window;
    drain();
}

// The number of nutrients of the full view: the rows of NUTRIENTS.
int Bench::fullNutrients() const {
    SQLiteDB db(installDir + QStringLiteral("/pics/kalo/FOODS.db"), false);
    return db.exec(QStringLiteral("select count(*) from NUTRIENTS")).value(0, 0).toInt();
}

// Closes the Compare dialog as soon as its table has been painted, timing the way there.
class CompareDriver : public QObject {
public:
    explicit CompareDriver(ActionClock &openingClock)
        : clock(openingClock) {
        qApp->installEventFilter(this);
    }
    ~CompareDriver() override { qApp->removeEventFilter(this); }

    Sample opening;
    bool shown = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        auto *dialog = qobject_cast<CompareDialog *>(watched);
        if (dialog && event->type() == QEvent::Show && !shown) {
            opening = clock.stop();
            shown = true;
            shownAt.start();
            QTimer::singleShot(0, dialog, [this, dialog]() {
                PaintWaiter waiter;
                opening.paint =
                    waiter.waitFor(child<QTextBrowser>(dialog, "compareBrowser")->viewport());
                if (opening.paint >= 0)
                    opening.paint = msSince(shownAt);
                dialog->reject();
            });
        }
        return false;
    }

private:
    ActionClock &clock;
    QElapsedTimer shownAt;
};

// Compare of two foods of the largest group, in the full view where the database has it, as the
// window opens it from two bookmarks: the same call on a database of our own.
void Bench::compare(KALOWindow *window, FoodList *foods) {
    FoodsDatabase database;
    database.open(installDir + QStringLiteral("/pics/kalo/FOODS.db"));
    database.loadWords();
    StatusWindows status(window);
    Settings settings = loadSettings();
    settings.basicView = false;
    settings.fullView = true;
    const int count = foods->rowCount();
    QList<Sample> samples;
    for (int i = 0; i <= opt.runs; ++i) {
        const auto idAt = [foods, count](int row) { return foods->foodId(row % count); };
        const QString first = idAt(i * 97);
        const QString second = idAt(i * 53 + 7);
        drain();
        ActionClock clock;
        CompareDriver driver(clock);
        clock.start();
        CompareDialog::compare({database, status, settings}, first, second, window);
        if (!driver.shown)
            fail(QStringLiteral("the Compare dialog did not open"));
        if (i > 0)
            samples << driver.opening;
    }
    printRow(actionRow(opt.label +
                           QStringLiteral("Open Compare of two foods (full view where it exists)"),
                       samples, opt.actionGoal));
}

// Peak memory of a process that lists the largest result: every food.
void Bench::memory() {
    auto *window = new KALOWindow(loadSettings(), nullptr, Qt::Window);
    app.showMainWidget(window, false);
    window->show();
    drain();
    window->buildPages(); // as a moment after the first paint
    child<QTabBar>(window, "tabBar")->setCurrentIndex(1);
    auto *list = child<FoodList>(window, "searchList");
    child<QComboBox>(window, "searchCombo")->setEditText(QStringLiteral(","));
    child<QPushButton>(window, "searchButton")->click();
    FillWatch watch(list);
    watch.start(false);
    watch.waitFilled();
    drain();
    TableRow row;
    row.measurement =
        opt.label +
        QStringLiteral("Peak RSS after listing all %1 foods (VmHWM)").arg(list->rowCount());
    row.runs = 1;
    row.median = mib(peakMib());
    row.goal = QStringLiteral("≤ 150 MiB");
    row.met = peakMib() <= 150.0 ? QStringLiteral("yes") : QStringLiteral("no");
    printRow(row);
    delete window;
}

void Bench::cacheBuild() {
    // A database that never held the rankings: the real one without them.
    const QString foods = installDir + QStringLiteral("/pics/kalo/FOODS.db");
    const QString bare = scratch + QStringLiteral("/no-rankings.db");
    if (!replaceFile(foods, bare))
        fail(QStringLiteral("cannot copy %1").arg(foods));
    {
        FoodsDatabase bareFoods;
        bareFoods.open(bare);
        dropTopCache(bareFoods);
        SQLiteDB &db = bareFoods.connection();
        if (!db.run(QStringLiteral("vacuum")))
            fail(db.lastError());
    }
    const QString firstStartDir = scratch + QStringLiteral("/first-start");
    if (!copyTree(installDir + QStringLiteral("/pics/kalo/graphics"),
                  firstStartDir + QStringLiteral("/pics/kalo/graphics")))
        fail(QStringLiteral("cannot copy the pictures"));
    const QString firstStartDb = firstStartDir + QStringLiteral("/pics/kalo/FOODS.db");

    const auto rankingTables = [](const QString &path) {
        SQLiteDB db(path, false);
        return db
            .exec(QStringLiteral(
                "select count(*) from sqlite_master where type='table' and name like 'topdata%'"))
            .value(0, 0)
            .toInt();
    };

    QList<Sample> samples;
    const QByteArray savedDir = qgetenv("QPEDIR");
    qputenv("QPEDIR", QFile::encodeName(firstStartDir));
    for (int i = 0; i <= opt.cacheRuns; ++i) {
        if (!replaceFile(bare, firstStartDb))
            fail(QStringLiteral("cannot copy %1").arg(bare));
        drain();
        ActionClock clock;
        clock.start();
        auto *window = new KALOWindow(loadSettings(), nullptr, Qt::Window);
        const Sample s = clock.stop();
        delete window;
        if (rankingTables(firstStartDb) != topCriteriaCount)
            fail(QStringLiteral("the first start did not build the twenty rankings"));
        if (i > 0)
            samples << s;
    }
    qputenv("QPEDIR", savedDir);
    printRow(actionRow(QStringLiteral("First start without rankings: window built, cache built"),
                       samples, 0));

    QList<double> builds;
    const QString copy = scratch + QStringLiteral("/cache-build.db");
    for (int i = 0; i <= opt.cacheRuns; ++i) {
        if (!replaceFile(bare, copy))
            fail(QStringLiteral("cannot copy %1").arg(bare));
        double elapsed = 0;
        {
            FoodsDatabase copyFoods;
            copyFoods.open(copy);
            QElapsedTimer timer;
            timer.start();
            prepareTopCache(copyFoods);
            elapsed = msSince(timer);
        }
        if (rankingTables(copy) != topCriteriaCount)
            fail(QStringLiteral("the cache build left rankings out"));
        if (i > 0)
            builds << elapsed;
    }
    printRow(timeRow(QStringLiteral("Ranking cache build (20 tables, and the other bases)"), builds,
                     cacheGoalMs));
}

void Bench::builder() {
    if (opt.jar.isEmpty() || !QFileInfo::exists(opt.jar)) {
        say(QStringLiteral("no SR24 jar given (--jar): the builder is not timed"));
        return;
    }
    if (!QFileInfo(opt.mkdb).isExecutable())
        fail(QStringLiteral("no kalo-mkdb at %1").arg(opt.mkdb));
    const QString output = scratch + QStringLiteral("/built/FOODS.db");
    QDir().mkpath(QFileInfo(output).path());
    QList<double> samples;
    for (int i = 0; i < opt.builderRuns; ++i) {
        QFile::remove(output);
        QProcess process;
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
        QElapsedTimer timer;
        timer.start();
        process.start(opt.mkdb,
                      {QStringLiteral("--jar"), opt.jar, QStringLiteral("--output"), output});
        process.waitForFinished(-1);
        const double elapsed = msSince(timer);
        if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
            fail(QStringLiteral("kalo-mkdb failed (exit code %1)").arg(process.exitCode()));
        samples << elapsed;
    }
    printRow(timeRow(QStringLiteral("Builder: SR24 jar to FOODS.db (kalo-mkdb)"), samples,
                     builderGoalMs));
}

// The foods of a Find by Nutrients query read as the dialog reads them: the time to the first
// screen (20 rows, or all when fewer), to the whole list and to the count line, from the change
// with the event loop running all along, and the longest time the loop did not run.
struct FinderSample {
    double firstScreen = -1.0;
    double whole = -1.0;
    double wholeCpu = -1.0; // the process's processor time, which other programs do not lengthen
    double counted = -1.0;
    double countedCpu = -1.0;
    double longestGap = 0.0;
    int rows = 0;
    qint64 more = 0;
};

double processCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

FinderSample timeFinder(SQLiteDB &db, const WordIndex &words, const FinderQuery &query,
                        const FinderSchema &schema) {
    drain();
    FinderSample s;
    QEventLoop loop;
    QTimer tick;
    QElapsedTimer sinceTick;
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        s.longestGap = qMax(s.longestGap, msSince(sinceTick));
        sinceTick.start();
    });
    QElapsedTimer clock;
    clock.start();
    const double cpuAtStart = processCpuMs();
    sinceTick.start();
    tick.start(0);
    FinderStream stream(db, words, query, schema);
    const auto progress = [&] {
        if (s.firstScreen < 0 && (stream.count() >= 20 || stream.isFinished()))
            s.firstScreen = msSince(clock);
        if (s.whole < 0 && stream.isFinished()) {
            s.whole = msSince(clock);
            s.wholeCpu = processCpuMs() - cpuAtStart;
        }
        if (s.counted < 0 && stream.isCounted()) {
            s.counted = msSince(clock);
            s.countedCpu = processCpuMs() - cpuAtStart;
            loop.quit();
        }
    };
    QObject::connect(&stream, &FinderStream::rowsAdded, &loop, progress);
    QObject::connect(&stream, &FinderStream::finished, &loop, progress);
    QObject::connect(&stream, &FinderStream::counted, &loop, progress);
    QObject::connect(&stream, &FinderStream::failed, &loop,
                     [](const QString &message) { fail(QStringLiteral("finder: ") + message); });
    if (!stream.start())
        fail(QStringLiteral("finder: ") + stream.error());
    progress();
    stream.resume();
    if (!stream.isCounted())
        loop.exec();
    s.longestGap = qMax(s.longestGap, msSince(sinceTick));
    s.rows = stream.count();
    s.more = stream.more();
    return s;
}

FinderSchema finderSchemaOf(FoodsDatabase &foods) {
    FinderSchema schema;
    schema.nutrientTables = foods.hasNutrientRecord();
    SQLiteDB &db = foods.connection();
    schema.valueIndex = !db.exec(QStringLiteral("select 1 from sqlite_master where type='index' "
                                                "and name='NUTRIENT_DATA_value'"))
                             .isEmpty();
    const ResultRows columns =
        db.exec(QStringLiteral("select name from pragma_table_info('FOODS_WR')"));
    for (int i = 0; i < columns.rowCount(); ++i)
        schema.foodsColumns << columns.value(i, 0);
    return schema;
}

// Find by Nutrients: potassium at most 200 mg, phosphorus (outside FOODS_WR) at most 50 mg and
// protein at least 2 g, lowest phosphorus first, per 100 g over all groups and within the
// vegetables, per 100 kcal and per serving; read with the value index where the file has it
// (on the real data a copy gets it) and without it, as a file without the index is read.
void finderBench(const Options &opt, const QString &installDir, const QString &scratch) {
    const bool large = !opt.label.isEmpty();
    QString foods = installDir + QStringLiteral("/pics/kalo/FOODS.db");
    if (!large) {
        const QString indexed = scratch + QStringLiteral("/finder-indexed.db");
        if (!replaceFile(foods, indexed))
            fail(QStringLiteral("cannot copy %1").arg(foods));
        SQLiteDB db(indexed, false);
        db.exec(QStringLiteral("CREATE INDEX IF NOT EXISTS NUTRIENT_DATA_value ON NUTRIENT_DATA "
                               "(Nutr_No, Nutr_Val)"));
        if (db.hasError())
            fail(db.lastError());
        foods = indexed;
    }
    FoodsDatabase session;
    if (!session.open(foods) || !session.loadWords())
        fail(QStringLiteral("cannot read %1").arg(foods));
    SQLiteDB &db = session.connection();
    const WordIndex &words = session.words();
    const FinderSchema found = finderSchemaOf(session);
    if (!found.valueIndex)
        say(QStringLiteral("%1 has no index NUTRIENT_DATA_value: read without it only").arg(foods));
    FinderQuery query;
    query.conditions = {{306, true, 200.0}, {305, true, 50.0}, {203, false, 2.0}};
    query.orderNutrient = 305;
    query.order = Qt::AscendingOrder;
    const QString vegetables =
        db.exec(QStringLiteral("select FdGrp_Cd from FOODS_GROUP where FdGrp_Desc='Vegetables and "
                               "Vegetable Products'"))
            .value(0, 0);
    // Each part of a large run reads two million foods more than once: fewer runs there.
    const int runs = large ? qMin(opt.runs, 7) : opt.runs;
    // The file mapped into memory (the library's mmap_size), which spares a read per page.
    FoodsDatabase mappedSession;
    mappedSession.open(foods);
    SQLiteDB &mapped = mappedSession.connection();
    mapped.exec(QStringLiteral("PRAGMA mmap_size=4294967296"));
    const struct {
        TopBasis basis;
        bool group;
        bool map;
        QString name;
    } cases[] = {
        {TopBasis::Per100g, false, false, QStringLiteral("per 100 g over all groups")},
        {TopBasis::Per100g, false, true,
         QStringLiteral("per 100 g over all groups, the file mapped into memory")},
        {TopBasis::Per100g, true, false, QStringLiteral("per 100 g within the vegetables")},
        {TopBasis::Per100kcal, false, false, QStringLiteral("per 100 kcal over all groups")},
        {TopBasis::PerServing, false, false, QStringLiteral("per serving over all groups")},
    };
    for (const bool withIndex : {true, false}) {
        if (withIndex && !found.valueIndex)
            continue;
        FinderSchema schema = found;
        schema.valueIndex = withIndex;
        for (const auto &c : cases) {
            if ((c.group && (large || vegetables.isEmpty())) || (c.map && !large))
                continue;
            query.basis = c.basis;
            query.groupCode = c.group ? vegetables : QString();
            QList<double> firsts, wholes, cpus, counts, countCpus, gaps;
            FinderSample s;
            for (int i = 0; i <= runs; ++i) {
                s = timeFinder(c.map ? mapped : db, words, query, schema);
                if (i == 0)
                    continue; // the first run reads the file into the caches
                firsts << s.firstScreen;
                wholes << s.whole;
                cpus << s.wholeCpu;
                counts << s.counted;
                countCpus << s.countedCpu;
                gaps << s.longestGap;
            }
            const bool goals = !large || (c.basis == TopBasis::Per100g && withIndex && !c.map);
            const QString name =
                opt.label +
                QStringLiteral("Find by Nutrients, potassium ≤ 200 mg, phosphorus ≤ 50 mg, protein "
                               "≥ 2 g %1, %2 the value index (%3 foods, %4 more without a figure)")
                    .arg(c.name, withIndex ? QStringLiteral("with") : QStringLiteral("without"))
                    .arg(s.rows)
                    .arg(s.more);
            if (!large) {
                printRow(timeRow(name + QStringLiteral(": list and count line"), counts,
                                 opt.actionGoal));
                printRow(timeRow(name + QStringLiteral(": list and count line, processor time"),
                                 countCpus, 0));
                continue;
            }
            printRow(timeRow(name + QStringLiteral(": first screen"), firsts, goals ? 200.0 : 0));
            printRow(timeRow(name + QStringLiteral(": whole list"), wholes, goals ? 1000.0 : 0));
            printRow(timeRow(name + QStringLiteral(": whole list, processor time"), cpus, 0));
            printRow(timeRow(name + QStringLiteral(": count line"), counts, 0));
            printRow(timeRow(name + QStringLiteral(": longest time the window did not answer"),
                             gaps, goals ? 100.0 : 0));
        }
    }
}

// Records when a widget's first paint once a condition holds has been flushed (a zero timer posted
// from the paint event fires after the flush), on the timer given.
class PaintClock : public QObject {
public:
    PaintClock(QWidget *watched, const QElapsedTimer &timer, std::function<bool()> condition)
        : widget(watched)
        , clock(timer)
        , ready(std::move(condition)) {
        widget->installEventFilter(this);
    }
    ~PaintClock() override { widget->removeEventFilter(this); }
    double paintedAt = -1.0;

protected:
    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() == QEvent::Paint && !armed && ready()) {
            armed = true;
            QTimer::singleShot(0, this, [this] { paintedAt = msSince(clock); });
        }
        return false;
    }

private:
    QWidget *widget;
    const QElapsedTimer &clock;
    std::function<bool()> ready;
    bool armed = false;
};

// One change in the Find by Nutrients dialog as the user sees it, with the event loop running all
// along: to its first screen (20 rows, or all when fewer) and then to that screen painted, to the
// whole list and to the count line, the processor time of those, and the longest time the loop
// did not run.
struct DialogChange {
    Sample firstScreen;
    double whole = -1.0;
    double wholeCpu = -1.0;
    double counted = -1.0;
    double countedCpu = -1.0;
    double longestGap = 0.0;
};

DialogChange timeDialogChange(QWidget *window, const std::function<void()> &change) {
    drain();
    DialogChange r;
    FoodList *list = nullptr; // made by the change when it opens the dialog
    QLabel *count = nullptr;
    const auto shown = [&list] { return list->rowCount() >= 20 || !list->isFilling(); };
    // The count line says "Finding…" and "(counting …)" until it is final.
    const auto counted = [&count] { return !count->text().contains(QChar(0x2026)); };
    QElapsedTimer clock;
    std::unique_ptr<PaintClock> painted;
    QEventLoop loop;
    std::function<bool()> awaited;
    QTimer tick; // fires on every pass of the event loop
    QElapsedTimer sinceTick;
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        r.longestGap = qMax(r.longestGap, msSince(sinceTick));
        sinceTick.start();
        if (awaited && awaited())
            loop.quit();
    });
    const auto waitUntil = [&](const std::function<bool()> &condition) {
        awaited = condition;
        if (!condition())
            loop.exec();
        awaited = nullptr;
    };
    ActionClock action;
    const double cpuAtStart = processCpuMs();
    sinceTick.start();
    tick.start(0);
    action.start();
    clock.start();
    change();
    list = child<FoodList>(window, "finderResults");
    count = child<QLabel>(window, "finderCount");
    painted = std::make_unique<PaintClock>(list->viewport(), clock, shown);
    // The first screen is there when the rows that fill it are.
    bool screen = false;
    const auto arrived = [&] {
        if (!screen && shown()) {
            screen = true;
            r.firstScreen = action.stop();
        }
    };
    arrived();
    QObject::connect(list->model(), &QAbstractItemModel::rowsInserted, &loop, arrived);
    QObject::connect(list, &FoodList::filled, &loop, arrived);
    waitUntil([&screen] { return screen; });
    QTimer guard; // each change lists its foods anew, which is painted
    guard.setSingleShot(true);
    guard.start(5000);
    waitUntil([&] { return painted->paintedAt >= 0 || !guard.isActive(); });
    if (painted->paintedAt < 0)
        fail(QStringLiteral("Find by Nutrients: the list was not painted"));
    r.firstScreen.paint = painted->paintedAt - r.firstScreen.total;
    waitUntil([list] { return !list->isFilling(); });
    r.whole = msSince(clock);
    r.wholeCpu = processCpuMs() - cpuAtStart;
    waitUntil(counted);
    r.counted = msSince(clock);
    r.countedCpu = processCpuMs() - cpuAtStart;
    tick.stop();
    r.longestGap = qMax(r.longestGap, msSince(sinceTick));
    return r;
}

// The Find by Nutrients dialog of the real window, opened from the Top Foods page: on SR24 each
// kind of change in turn on the three conditions of the kidney diet; on a large database the three
// conditions per 100 g over all groups, the change being the order direction.
void Bench::finderDialog() {
    const bool large = !opt.label.isEmpty();
    drain();
    auto *window = new KALOWindow(loadSettings(), nullptr, Qt::Window);
    app.showMainWidget(window, false);
    window->show();
    drain();
    window->buildPages(); // as a moment after the first paint
    child<QTabBar>(window, "tabBar")->setCurrentIndex(2);
    drain();
    // Opened with one row without an amount, which lists nothing yet.
    auto *button = child<QPushButton>(window, "findByNutrientsButton");
    const DialogChange opened = timeDialogChange(window, [button] { button->click(); });
    auto *dialog = child<QDialog>(window, "findByNutrients");
    FoodList *results = child<FoodList>(dialog, "finderResults");
    printRow(actionRow(opt.label + QStringLiteral("Open Find by Nutrients (the dialog made, its "
                                                  "empty list painted)"),
                       {opened.firstScreen}, 0));
    const auto combo = [dialog](const char *name) { return child<QComboBox>(dialog, name); };
    const auto amount = [dialog](const char *name) { return child<QLineEdit>(dialog, name); };
    const auto choose = [](QComboBox *box, int nutrient) {
        box->setCurrentIndex(box->findData(nutrient, Qt::UserRole));
    };
    const auto type = [](QLineEdit *edit, const QString &text) {
        edit->setText(text);
        emit edit->returnPressed(); // or 150 ms after the last key
    };
    auto *add = child<QToolButton>(dialog, "addCondition");
    QComboBox *basis = combo("finderBasis");
    QComboBox *group = combo("finderGroup");
    QLineEdit *words = child<QLineEdit>(dialog, "finderWords");
    // Potassium at most 200 mg, phosphorus (outside FOODS_WR) at most 50 mg, protein at least 2 g,
    // lowest phosphorus first, per 100 g over all groups.
    const auto kidneyDiet = [&] {
        if (auto *fourth = dialog->findChild<QToolButton *>(QStringLiteral("removeCondition4")))
            fourth->click();
        while (!dialog->findChild<QComboBox *>(QStringLiteral("conditionNutrient3")))
            add->click();
        const struct {
            const char *nutrient;
            const char *bound;
            const char *amount;
            int number;
            bool atMost;
            const char *text;
        } conditions[] = {
            {"conditionNutrient1", "conditionBound1", "conditionAmount1", 306, true, "200"},
            {"conditionNutrient2", "conditionBound2", "conditionAmount2", 305, true, "50"},
            {"conditionNutrient3", "conditionBound3", "conditionAmount3", 203, false, "2"},
        };
        for (const auto &c : conditions) {
            choose(combo(c.nutrient), c.number);
            combo(c.bound)->setCurrentIndex(c.atMost ? 1 : 0);
            type(amount(c.amount), QLatin1String(c.text));
        }
        choose(combo("finderOrder"), 305);
        combo("finderOrderDirection")->setCurrentIndex(1);
        basis->setCurrentIndex(0);
        group->setCurrentIndex(0);
        type(words, QString());
        results->finishFilling();
        drain();
    };
    kidneyDiet();

    if (!large) {
        QLineEdit *protein = amount("conditionAmount3");
        const QString found = QStringLiteral("%1 foods").arg(results->rowCount());
        const int vegetables = group->findText(QStringLiteral("Vegetables and Vegetable Products"));
        const struct {
            QString name;
            std::function<void(int)> change; // the run's number
        } changes[] = {
            {QStringLiteral("an amount typed (Return)"),
             [&](int i) { type(protein, i % 2 ? QStringLiteral("2") : QStringLiteral("3")); }},
            {QStringLiteral("at least / at most"),
             [&](int i) { combo("conditionBound3")->setCurrentIndex(1 - i % 2); }},
            {QStringLiteral("the basis (100 g, 100 kcal, serving in turn)"),
             [&](int i) { basis->setCurrentIndex((i + 1) % 3); }},
            {QStringLiteral("the group (vegetables or all)"),
             [&](int i) { group->setCurrentIndex(i % 2 ? 0 : vegetables); }},
            {QStringLiteral("words (\"raw\" or none, Return)"),
             [&](int i) { type(words, i % 2 ? QString() : QStringLiteral("raw")); }},
            {QStringLiteral("the order nutrient (protein or phosphorus)"),
             [&](int i) { choose(combo("finderOrder"), i % 2 ? 305 : 203); }},
            {QStringLiteral("the order direction"),
             [&](int i) { combo("finderOrderDirection")->setCurrentIndex(i % 2); }},
            {QStringLiteral("a row added or removed"),
             [&](int i) {
                 if (i % 2)
                     child<QToolButton>(dialog, "removeCondition4")->click();
                 else
                     add->click();
             }},
        };
        QList<double> counts, cpus;
        for (const auto &c : changes) {
            QList<Sample> samples;
            for (int i = 0; i <= opt.runs + 1; ++i) {
                const DialogChange d = timeDialogChange(window, [&] { c.change(i); });
                if (i > 1) { // the first change of each kind reads the file into the caches
                    samples << d.firstScreen;
                    counts << d.counted;
                    cpus << d.countedCpu;
                }
            }
            kidneyDiet();
            printRow(actionRow(
                QStringLiteral("Find by Nutrients dialog, potassium ≤ 200 mg, phosphorus ≤ 50 mg, "
                               "protein ≥ 2 g (%1) and back: %2, to the list painted")
                    .arg(found, c.name),
                samples, opt.actionGoal));
        }
        printRow(timeRow(QStringLiteral("Find by Nutrients dialog: any of those changes, to the "
                                        "count line"),
                         counts, opt.actionGoal));
        printRow(timeRow(QStringLiteral("Find by Nutrients dialog: any of those changes, to the "
                                        "count line, processor time"),
                         cpus, 0));
        delete window;
        drain();
        return;
    }

    const int runs = qMin(opt.runs, 7);
    basis->setCurrentIndex(0); // per 100 g
    QList<Sample> firsts;
    QList<double> wholes, cpus, counts, countCpus, gaps;
    for (int i = 0; i <= runs; ++i) {
        QComboBox *dir = child<QComboBox>(dialog, "finderOrderDirection");
        const DialogChange d =
            timeDialogChange(window, [dir] { dir->setCurrentIndex(1 - dir->currentIndex()); });
        if (i == 0)
            continue; // the first run reads the file into the caches
        firsts << d.firstScreen;
        wholes << d.whole;
        cpus << d.wholeCpu;
        counts << d.counted;
        countCpus << d.countedCpu;
        gaps << d.longestGap;
    }
    const QString name =
        opt.label + QStringLiteral("Find by Nutrients dialog, potassium ≤ 200 mg, phosphorus ≤ "
                                   "50 mg, protein ≥ 2 g %1 over all groups, the order "
                                   "direction turned (%2 foods; %3)")
                        .arg(basis->currentText())
                        .arg(results->rowCount())
                        .arg(child<QLabel>(dialog, "finderCount")->text());
    printRow(actionRow(name + QStringLiteral(": first screen"), firsts, 200.0));
    printRow(timeRow(name + QStringLiteral(": whole list"), wholes, 1000.0));
    printRow(timeRow(name + QStringLiteral(": whole list, processor time"), cpus, 0));
    printRow(timeRow(name + QStringLiteral(": count line"), counts, 0));
    printRow(timeRow(name + QStringLiteral(": count line, processor time"), countCpus, 0));
    printRow(
        timeRow(name + QStringLiteral(": longest time the window did not answer"), gaps, 100.0));
    delete window;
    drain();
}

} // namespace

int main(int argc, char **argv) {
    // Nothing of the user's is touched: settings go to a home of our own, in test mode.
    QTemporaryDir scratch;
    if (!scratch.isValid())
        fail(QStringLiteral("no temporary directory"));
    const QString home = scratch.path() + QStringLiteral("/home");
    QDir().mkpath(home);
    qputenv("HOME", QFile::encodeName(home));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home + QStringLiteral("/.config")));
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QPEApplication app(argc, argv, QPEApplication::GuiClient);
    QStandardPaths::setTestModeEnabled(true);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Times the main window's start and user actions on the real food database (offscreen), "
        "the ranking cache build and the database builder. Prints Markdown table rows."));
    parser.addHelpOption();
    const QCommandLineOption runsOption(QStringLiteral("runs"),
                                        QStringLiteral("Timed runs of each user action."),
                                        QStringLiteral("n"), QStringLiteral("21"));
    const QCommandLineOption startRunsOption(QStringLiteral("start-runs"),
                                             QStringLiteral("Timed window constructions."),
                                             QStringLiteral("n"), QStringLiteral("11"));
    const QCommandLineOption cacheRunsOption(QStringLiteral("cache-runs"),
                                             QStringLiteral("Timed ranking cache builds."),
                                             QStringLiteral("n"), QStringLiteral("7"));
    const QCommandLineOption builderRunsOption(QStringLiteral("builder-runs"),
                                               QStringLiteral("Timed database builds."),
                                               QStringLiteral("n"), QStringLiteral("3"));
    const QCommandLineOption dataOption(
        QStringLiteral("data"),
        QStringLiteral("Installation data (share/kalo of the build tree by default)."),
        QStringLiteral("dir"));
    const QCommandLineOption jarOption(QStringLiteral("jar"),
                                       QStringLiteral("The USDA SR24 jar, for the builder."),
                                       QStringLiteral("file"));
    const QCommandLineOption mkdbOption(
        QStringLiteral("mkdb"), QStringLiteral("kalo-mkdb (beside this program by default)."),
        QStringLiteral("file"));
    const QCommandLineOption onlyOption(
        QStringLiteral("only"),
        QStringLiteral("Run only these parts (comma separated): start, actions, memory, cache, "
                       "builder, finder (the dialog and the stream alone), finderdialog."),
        QStringLiteral("parts"), QStringLiteral("start,actions,cache,builder,finder"));
    const QCommandLineOption foodsOption(
        QStringLiteral("foods"),
        QStringLiteral("A large FOODS.db to run on instead of the installation data's (used in "
                       "place, not copied); its rows are labelled with --label and held to the "
                       "large-database goals."),
        QStringLiteral("file"));
    const QCommandLineOption labelOption(QStringLiteral("label"),
                                         QStringLiteral("Put before every row name."),
                                         QStringLiteral("text"));
    const QCommandLineOption headerOption(QStringLiteral("header"),
                                          QStringLiteral("Print the table header first."));
    parser.addOptions({runsOption, startRunsOption, cacheRunsOption, builderRunsOption, dataOption,
                       jarOption, mkdbOption, onlyOption, headerOption, foodsOption, labelOption});
    parser.process(app);

    Options options;
    options.runs = qMax(1, parser.value(runsOption).toInt());
    options.startRuns = qMax(1, parser.value(startRunsOption).toInt());
    options.cacheRuns = qMax(1, parser.value(cacheRunsOption).toInt());
    options.builderRuns = qMax(1, parser.value(builderRunsOption).toInt());
    const QString binDir = QCoreApplication::applicationDirPath();
    options.dataDir = parser.isSet(dataOption) ? parser.value(dataOption)
                                               : binDir + QStringLiteral("/../share/kalo");
    options.jar = parser.value(jarOption);
    options.mkdb =
        parser.isSet(mkdbOption) ? parser.value(mkdbOption) : binDir + QStringLiteral("/kalo-mkdb");

    if (!QFileInfo::exists(options.dataDir + QStringLiteral("/pics/kalo/FOODS.db")))
        fail(QStringLiteral("no FOODS.db below %1").arg(options.dataDir));
    // The program runs on a copy, so that the build tree's database stays as it was built; a
    // large database is linked in place.
    const QString installDir = scratch.path() + QStringLiteral("/kalo");
    if (!copyTree(options.dataDir, installDir))
        fail(QStringLiteral("cannot copy %1").arg(options.dataDir));
    qputenv("QPEDIR", QFile::encodeName(installDir));
    if (parser.isSet(foodsOption)) {
        const QString foods = installDir + QStringLiteral("/pics/kalo/FOODS.db");
        QFile::remove(foods);
        if (!QFile::link(QFileInfo(parser.value(foodsOption)).absoluteFilePath(), foods))
            fail(QStringLiteral("cannot link %1").arg(parser.value(foodsOption)));
        // Two million foods: the goals of the scale rows.
        options.label = parser.value(labelOption);
        options.actionGoal = 50.0;
        options.rankingGoal = 200.0;
    }

    if (parser.isSet(headerOption))
        std::printf("%s\n", qPrintable(tableHeader()));
    Bench bench(app, options, installDir, scratch.path());
    const QStringList parts = parser.value(onlyOption).split(QLatin1Char(','));
    if (parts.contains(QStringLiteral("start")))
        bench.start();
    if (parts.contains(QStringLiteral("actions")))
        bench.actions();
    if (parts.contains(QStringLiteral("memory")))
        bench.memory();
    if (parts.contains(QStringLiteral("cache")))
        bench.cacheBuild();
    if (parts.contains(QStringLiteral("builder")))
        bench.builder();
    if (parts.contains(QStringLiteral("finder")) || parts.contains(QStringLiteral("finderdialog")))
        bench.finderDialog();
    if (parts.contains(QStringLiteral("finder")))
        finderBench(options, installDir, scratch.path());
    return 0;
}
