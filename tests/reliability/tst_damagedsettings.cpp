// Damaged or strange settings files and weights: the window starts, uses the default where a
// value is unusable, and leaves a sound KALO.conf at exit; the food database stays unchanged.
#include "app/settings.h"
#include "finding/foodlistitem.h"
#include "platform/config.h"
#include "tests/reliability/reliability.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include <cmath>

namespace {

QByteArray bigHistory(int entries, int length) {
    QByteArray line = "[KALO]\nSItems = ";
    for (int i = 0; i < entries; ++i) {
        if (i > 0)
            line += '|';
        line += QByteArray::number(i) + ' ' + QByteArray(length, 'h');
    }
    return line + '\n';
}

QByteArray garbage(int size) {
    QRandomGenerator random(8);
    QByteArray bytes(size, '\0');
    for (char &c : bytes)
        c = char(random.bounded(256));
    return bytes;
}

} // namespace

class TestDamagedSettings : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();
    void damagedFile_data();
    void damagedFile();
    void settingsFileIsADirectory();
    void weightField_data();
    void weightField();
    void weightUnderAGermanLocale();

private:
    QTemporaryDir dir;
    QString foodsPath;
    QByteArray foodsDigest;
    QString configPath;
};

void TestDamagedSettings::initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    configPath = Config::userFilePath(QStringLiteral("KALO"));
    foodsPath = copyRealDatabase(dir.path());
    KALO_REQUIRE_REAL_DATABASE(foodsPath);
    foodsDigest = fileDigest(foodsPath);
}

void TestDamagedSettings::init() {
    QFile::remove(configPath);
    QDir(configPath).removeRecursively();
    QDir().mkpath(QFileInfo(configPath).absolutePath());
    settings = Settings();
}

void TestDamagedSettings::cleanupTestCase() {
    QFile::remove(configPath);
    if (!foodsPath.isEmpty())
        QCOMPARE(fileDigest(foodsPath), foodsDigest);
}

void TestDamagedSettings::damagedFile_data() {
    QTest::addColumn<QByteArray>("content"); // null: no file at all
    QTest::addColumn<double>("weight");      // after the window has started
    QTest::addColumn<bool>("basic");
    QTest::addColumn<int>("bookmarks"); // rows of the Bookmarks page
    QTest::addColumn<int>("history");   // entries of the search combo

    QTest::newRow("no settings file") << QByteArray() << 100.0 << true << 0 << 0;
    QTest::newRow("an empty file") << QByteArray("") << 100.0 << true << 0 << 0;
    QTest::newRow("binary garbage") << garbage(4096) << 100.0 << true << 0 << 0;
    QTest::newRow("a 50 MB file") << bigHistory(50000, 1000) << 100.0 << true << 0 << 0;
    QTest::newRow("lines without an equals sign")
        << QByteArray("[KALO]\nBasicView\nCustomWeight 25\nCustomWeight = 25\nBID\n") << 25.0
        << true << 0 << 0;
    QTest::newRow("unknown keys and groups")
        << QByteArray("[Other]\nCustomWeight = 5\n[KALO]\nColour = red\nCustomWeight = 30\n")
        << 30.0 << true << 0 << 0;
    QTest::newRow("duplicated keys, the later one counts")
        << QByteArray("[KALO]\nCustomWeight = 10\nBasicView = 1\nCustomWeight = 20\nBasicView = "
                      "0\n")
        << 20.0 << false << 0 << 0;
    QTest::newRow("an infinite weight")
        << QByteArray("[KALO]\nCustomWeight = inf\n") << 100.0 << true << 0 << 0;
    QTest::newRow("a weight that is not a number")
        << QByteArray("[KALO]\nCustomWeight = nan\n") << 100.0 << true << 0 << 0;
    QTest::newRow("an overflowing weight")
        << QByteArray("[KALO]\nCustomWeight = 1e999\n") << 100.0 << true << 0 << 0;
    QTest::newRow("a negative weight")
        << QByteArray("[KALO]\nCustomWeight = -40\n") << 40.0 << true << 0 << 0;
    QTest::newRow("a weight in words")
        << QByteArray("[KALO]\nCustomWeight = heavy\n") << 100.0 << true << 0 << 0;
    QTest::newRow("a view that is not a number")
        << QByteArray("[KALO]\nBasicView = yes\n") << 100.0 << false << 0 << 0;
    QTest::newRow("more bookmark numbers than descriptions")
        << QByteArray("[KALO]\nBID = 1001|1009|1123\nBDesc = Butter, salted\n") << 100.0 << true
        << 3 << 0;
    QTest::newRow("more bookmark descriptions than numbers")
        << QByteArray("[KALO]\nBID = 1001\nBDesc = Butter|salted|Cheese\n") << 100.0 << true << 1
        << 0;
    QTest::newRow("a bookmark number holding SQL")
        << QByteArray("[KALO]\nBID = 1001;DROP TABLE FOODS_WR|1009) or (1=1\nBDesc = "
                      "Butter|Cheese\n")
        << 100.0 << true << 2 << 0;
    QTest::newRow("ten thousand history entries")
        << bigHistory(10000, 20) << 100.0 << true << 0 << 10000;
    QTest::newRow("a byte order mark and CR LF line ends")
        << QByteArray("\xEF\xBB\xBF[KALO]\r\nCustomWeight = 42\r\nSItems = apple|pear\r\n") << 42.0
        << true << 0 << 2;
    QTest::newRow("invalid UTF-8 in the history")
        << QByteArray("[KALO]\nSItems = caf\xE9|\xFF\xFE|beef\n") << 100.0 << true << 0 << 3;
    QTest::newRow("control characters and NUL in the history")
        << QByteArray("[KALO]\nSItems = a\x01\x02|b\0c|\x1b[31mred\n", 33) << 100.0 << true << 0
        << 3;
}

void TestDamagedSettings::damagedFile() {
    QFETCH(QByteArray, content);
    QFETCH(double, weight);
    QFETCH(bool, basic);
    QFETCH(int, bookmarks);
    QFETCH(int, history);
    if (!content.isNull()) {
        QFile file(configPath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(content), content.size());
    }

    loadSettings();
    QElapsedTimer clock;
    clock.start();
    {
        WindowSession s;
        QVERIFY2(clock.elapsed() < 30000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(s.boxes->count(), 0);
        QVERIFY(s.list("browseList")->topLevelItemCount() > 0);
        QCOMPARE(settings.customWeight, weight);
        QCOMPARE(settings.basicView, basic);
        QCOMPARE(s.child<QComboBox>("searchCombo")->count(), history);

        s.goToPage(3);
        auto *marks = s.list("bookmarkList");
        QCOMPARE(marks->topLevelItemCount(), bookmarks);
        // Every bookmark opens, a number that is no food number as an empty report.
        QStringList ids;
        for (int i = 0; i < marks->topLevelItemCount(); ++i)
            ids << static_cast<FoodListItem *>(marks->topLevelItem(i))->foodId();
        for (const QString &id : ids)
            QVERIFY2(s.open(s.list("bookmarkList"), id).shown, qPrintable(id));

        s.goToPage(4);
        QCOMPARE(s.child<QLineEdit>("weightEdit")->text(), QString::asprintf("%.2f", weight));
        s.goToPage(1);
        s.search(QStringLiteral("cheddar"));
        QCOMPARE(s.child<QComboBox>("searchCombo")->count(), qMax(qMin(history + 1, 17), history));
        QCOMPARE(s.boxes->count(), 0);
        QVERIFY(s.idle());
    }
    QCOMPARE(fileDigest(foodsPath), foodsDigest);

    // The file written at exit is sound: small, and it reads back as what was saved.
    QVERIFY(QFileInfo(configPath).size() < 2 * 1024 * 1024 || history > 1000);
    const Settings saved = settings;
    settings = Settings();
    loadSettings();
    QCOMPARE(settings.customWeight, saved.customWeight);
    QVERIFY(std::isfinite(settings.customWeight) && settings.customWeight > 0);
    QCOMPARE(settings.basicView, saved.basicView);
    QCOMPARE(settings.bookmarkIds, saved.bookmarkIds);
    QCOMPARE(settings.bookmarkDescs, saved.bookmarkDescs);
    QCOMPARE(settings.searchHistory, saved.searchHistory);
    QCOMPARE(settings.searchHistory.value(0), QStringLiteral("cheddar"));
    if (content.contains("Colour = red")) {
        Config config(QStringLiteral("KALO"), Config::User);
        config.setGroup(QStringLiteral("KALO"));
        QCOMPARE(config.readEntry(QStringLiteral("Colour")), QStringLiteral("red"));
    }
}

void TestDamagedSettings::settingsFileIsADirectory() {
    QVERIFY(QDir().mkpath(configPath));
    loadSettings();
    {
        WindowSession s;
        QCOMPARE(s.boxes->count(), 0);
        QCOMPARE(settings.customWeight, 100.0);
        s.goToPage(4);
        s.typeWeight(QStringLiteral("55"));
        s.goToPage(0);
    } // the save fails without a word
    QVERIFY(QFileInfo(configPath).isDir());
    QDir(configPath).removeRecursively();
}

void TestDamagedSettings::weightField_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("field"); // what the field holds after typing
    QTest::addColumn<double>("weight");

    QTest::newRow("an empty field") << ""
                                    << "" << 100.0;
    QTest::newRow("zero") << "0"
                          << "0" << 100.0;
    QTest::newRow("a negative weight") << "-50"
                                       << "-50" << 50.0;
    QTest::newRow("the largest weight") << "1e308"
                                        << "1e308" << 1e308;
    QTest::newRow("an overflowing weight") << "1e309"
                                           << "1e309" << 100.0;
    QTest::newRow("the smallest weight") << "1e-308"
                                         << "1e-308" << 1e-308;
    QTest::newRow("letters") << "abc"
                             << "" << 100.0;
    QTest::newRow("letters after digits") << "12kg"
                                          << "12" << 12.0;
    QTest::newRow("a decimal point") << "12.5"
                                     << "12.5" << 12.5;
    QTest::newRow("a decimal comma") << "12,5"
                                     << "12.5" << 12.5;
    QTest::newRow("a decimal comma and an exponent") << "1,5e2"
                                                     << "1.5e2" << 150.0;
}

void TestDamagedSettings::weightField() {
    QFETCH(QString, typed);
    QFETCH(QString, field);
    QFETCH(double, weight);
    loadSettings();
    WindowSession s;
    s.goToPage(4);
    s.typeWeight(typed);
    QCOMPARE(s.child<QLineEdit>("weightEdit")->text(), field);
    s.goToPage(0);
    QCOMPARE(settings.customWeight, weight);

    // The report of a food for this weight: the last serving is "Custom" with the weight.
    s.search(QStringLiteral("cheddar"));
    const WindowSession::Opened cheddar = s.open(s.list("searchList"), QStringLiteral("1009"));
    QVERIFY(cheddar.shown);
    QVERIFY(!cheddar.servings.isEmpty());
    QVERIFY2(cheddar.servings.last().startsWith(QStringLiteral("Custom  (")),
             qPrintable(cheddar.servings.last()));
    QVERIFY2(!cheddar.report.contains(QLatin1String("nan")), qPrintable(cheddar.report));
    QCOMPARE(s.boxes->count(), 0);
}

void TestDamagedSettings::weightUnderAGermanLocale() {
    const QString localedef = QStandardPaths::findExecutable(QStringLiteral("localedef"));
    if (localedef.isEmpty())
        QSKIP("localedef is not available");
    QTemporaryDir locales;
    QProcess make;
    make.start(localedef,
               {QStringLiteral("-i"), QStringLiteral("de_DE"), QStringLiteral("-f"),
                QStringLiteral("UTF-8"), locales.filePath(QStringLiteral("de_DE.UTF-8"))});
    if (!make.waitForFinished(60000) || make.exitCode() != 0)
        QSKIP("cannot build the de_DE locale");

    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LOCPATH"), locales.path());
    env.insert(QStringLiteral("LANG"), QStringLiteral("de_DE.UTF-8"));
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("de_DE.UTF-8"));
    env.insert(QStringLiteral("QPEDIR"), dir.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), locales.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(env);
    child.start(QStringLiteral(KALO_RELIABILITY_CHILD),
                {QStringLiteral("weight"), QStringLiteral("12,5"), QStringLiteral("12.5"),
                 QStringLiteral("1,25")});
    QVERIFY(child.waitForFinished(60000));
    const QString out = QString::fromUtf8(child.readAllStandardOutput());
    QVERIFY2(child.exitCode() == 0,
             qPrintable(out + QString::fromUtf8(child.readAllStandardError())));
    qInfo("%s", qPrintable(out));
    // The locale was in effect for the C library...
    QVERIFY2(out.contains(QLatin1String("locale=de_DE\n")), qPrintable(out));
    QVERIFY2(out.contains(QLatin1String("strtod=12\n")), qPrintable(out));
    // ...and the weight field reads a decimal point, or a decimal comma as the point.
    QCOMPARE(out.count(QLatin1String("field=12.5\nweight=12.5\n")), 2);
    QVERIFY2(out.contains(QLatin1String("field=1.25\nweight=1.25\n")), qPrintable(out));
    QCOMPARE(fileDigest(foodsPath), foodsDigest);
}

QTEST_MAIN(TestDamagedSettings)
#include "tst_damagedsettings.moc"
