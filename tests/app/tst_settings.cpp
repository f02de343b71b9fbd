// Tests of loadSettings and saveSettings through a real KALO.conf in the test configuration folder.
#include "app/settings.h"
#include "platform/config.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {

QString confPath() {
    return Config::userFilePath(QStringLiteral("KALO"));
}

bool writeConf(const QByteArray &bytes) {
    QDir().mkpath(QFileInfo(confPath()).absolutePath());
    QFile file(confPath());
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

QByteArray readConf() {
    QFile file(confPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestSettings : public QObject {
    Q_OBJECT

private:
    QTemporaryDir home;

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void firstStartGivesDefaults();
    void savedFileFormat();
    void roundTrip();
    void customWeightWritten_data();
    void customWeightWritten();
    void customWeightRead_data();
    void customWeightRead();
    void barInsideADescription();
    void emptyItemsAreDropped();
    void strayLinesAndUnknownKeys();
    void failedSaveKeepsTheOldFile();
};

void TestSettings::initTestCase() {
    // A home of its own, so tests running at the same time never share a KALO.conf.
    QVERIFY(home.isValid());
    qputenv("HOME", home.path().toUtf8());
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(confPath().startsWith(home.path()));
    QVERIFY(confPath().contains(QLatin1String(".qttest")));
}

void TestSettings::init() {
    QFile::remove(confPath());
    settings = Settings();
}

void TestSettings::cleanupTestCase() {
    QFile::remove(confPath());
}

void TestSettings::firstStartGivesDefaults() {
    settings.basicView = false;
    settings.customWeight = 3.0;
    settings.bookmarkIds = QStringList{QStringLiteral("1001")};
    settings.bookmarkDescs = QStringList{QStringLiteral("Butter")};
    settings.searchHistory = QStringList{QStringLiteral("egg")};
    loadSettings();
    QCOMPARE(settings.basicView, true);
    QCOMPARE(settings.customWeight, 100.0);
    QVERIFY(settings.bookmarkIds.isEmpty());
    QVERIFY(settings.bookmarkDescs.isEmpty());
    QVERIFY(settings.searchHistory.isEmpty());
    QVERIFY(!QFile::exists(confPath())); // loading never writes
}

void TestSettings::savedFileFormat() {
    saveSettings();
    QCOMPARE(readConf(), QByteArray("[KALO]\n"
                                    "BasicView = 1\n"
                                    "CustomWeight = 100\n"
                                    "BID = \n"
                                    "BDesc = \n"
                                    "SItems = \n"));

    settings.basicView = false;
    settings.customWeight = 12.5;
    settings.bookmarkIds = QStringList{QStringLiteral("01001"), QStringLiteral("11124")};
    settings.bookmarkDescs =
        QStringList{QStringLiteral("Butter, salted"), QStringLiteral("Carrots, raw")};
    settings.searchHistory = QStringList{QStringLiteral("crème"), QStringLiteral("raw egg")};
    saveSettings();
    QCOMPARE(readConf(), QByteArray("[KALO]\n"
                                    "BasicView = 0\n"
                                    "CustomWeight = 12.5\n"
                                    "BID = 01001|11124\n"
                                    "BDesc = Butter, salted|Carrots, raw\n"
                                    "SItems = cr\xC3\xA8me|raw egg\n"));
}

void TestSettings::roundTrip() {
    settings.basicView = false;
    settings.customWeight = 250.0;
    settings.bookmarkIds = QStringList{QStringLiteral("01001"), QStringLiteral("11124")};
    settings.bookmarkDescs =
        QStringList{QStringLiteral("Butter, salted"), QStringLiteral("Carrots, raw")};
    settings.searchHistory = QStringList{QStringLiteral("crème brûlée"), QStringLiteral("egg")};
    const Settings saved = settings;
    saveSettings();
    settings = Settings();
    loadSettings();
    QCOMPARE(settings.basicView, saved.basicView);
    QCOMPARE(settings.customWeight, saved.customWeight);
    QCOMPARE(settings.bookmarkIds, saved.bookmarkIds);
    QCOMPARE(settings.bookmarkDescs, saved.bookmarkDescs);
    QCOMPARE(settings.searchHistory, saved.searchHistory);
}

void TestSettings::customWeightWritten_data() {
    QTest::addColumn<double>("weight");
    QTest::addColumn<QByteArray>("written");
    QTest::addColumn<double>("readBack");

    QTest::newRow("the default") << 100.0 << QByteArray("100") << 100.0;
    QTest::newRow("a half") << 12.5 << QByteArray("12.5") << 12.5;
    QTest::newRow("three decimals") << 12.345 << QByteArray("12.345") << 12.345;
    QTest::newRow("seven digits, rounded in exponent form")
        << 1234567.0 << QByteArray("1.23457e+06") << 1234570.0;
    QTest::newRow("more than six digits below a million")
        << 123.456789 << QByteArray("123.457") << 123.457;
    QTest::newRow("a million") << 1000000.0 << QByteArray("1e+06") << 1000000.0;
    QTest::newRow("a small weight") << 0.0000125 << QByteArray("1.25e-05") << 0.0000125;
    QTest::newRow("zero") << 0.0 << QByteArray("0") << 0.0;
}

void TestSettings::customWeightWritten() {
    QFETCH(double, weight);
    QFETCH(QByteArray, written);
    QFETCH(double, readBack);
    settings.customWeight = weight;
    saveSettings();
    QVERIFY2(readConf().contains("\nCustomWeight = " + written + '\n'), readConf().constData());
    settings = Settings();
    loadSettings();
    QCOMPARE(settings.customWeight, readBack);
}

void TestSettings::customWeightRead_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<double>("expected");

    QTest::newRow("missing: the default 100.00") << QByteArray() << 100.0;
    QTest::newRow("a plain number") << QByteArray("CustomWeight = 42") << 42.0;
    QTest::newRow("exponent form") << QByteArray("CustomWeight = 1.5e+03") << 1500.0;
    QTest::newRow("not a number reads as zero") << QByteArray("CustomWeight = heavy") << 0.0;
    QTest::newRow("a decimal comma reads as zero") << QByteArray("CustomWeight = 12,5") << 0.0;
    QTest::newRow("trailing text reads as zero") << QByteArray("CustomWeight = 12g") << 0.0;
    QTest::newRow("an empty value reads as zero") << QByteArray("CustomWeight =") << 0.0;
    QTest::newRow("negative stays negative") << QByteArray("CustomWeight = -50") << -50.0;
}

void TestSettings::customWeightRead() {
    QFETCH(QByteArray, line);
    QFETCH(double, expected);
    QVERIFY(writeConf("[KALO]\n" + line + '\n'));
    loadSettings();
    QCOMPARE(settings.customWeight, expected);
}

void TestSettings::barInsideADescription() {
    settings.bookmarkIds = QStringList{QStringLiteral("01001"), QStringLiteral("04053")};
    settings.bookmarkDescs =
        QStringList{QStringLiteral("Butter | salted"), QStringLiteral("Oil, olive")};
    saveSettings();
    QVERIFY(readConf().contains("\nBDesc = Butter | salted|Oil, olive\n"));
    settings = Settings();
    loadSettings();
    QCOMPARE(settings.bookmarkIds.size(), 2);
    QCOMPARE(settings.bookmarkDescs,
             (QStringList{QStringLiteral("Butter "), QStringLiteral(" salted"),
                          QStringLiteral("Oil, olive")}));
}

void TestSettings::emptyItemsAreDropped() {
    settings.searchHistory = QStringList{QStringLiteral("egg"), QString(), QStringLiteral("oil")};
    saveSettings();
    QVERIFY(readConf().contains("\nSItems = egg||oil\n"));
    settings = Settings();
    loadSettings();
    QCOMPARE(settings.searchHistory, (QStringList{QStringLiteral("egg"), QStringLiteral("oil")}));
}

void TestSettings::strayLinesAndUnknownKeys() {
    QVERIFY(writeConf("[Other]\n"
                      "BasicView = 0\n"
                      "[KALO]\n"
                      "this line has no equals sign\n"
                      "Colour = blue\n"
                      "BasicView = 1\n"
                      "BID = 1001|1009\n"
                      "BasicView = 0\n"
                      "BID = 11124\n"));
    loadSettings();
    QCOMPARE(settings.basicView, false); // the later line wins
    QCOMPARE(settings.bookmarkIds, QStringList{QStringLiteral("11124")});
    QCOMPARE(settings.customWeight, 100.0);

    // Saving keeps what the program does not know about.
    saveSettings();
    const QByteArray text = readConf();
    QVERIFY(text.startsWith("[Other]\nBasicView = 0\n[KALO]\n"));
    QVERIFY(text.contains("\nColour = blue\n"));
    QCOMPARE(text.count("BasicView"), 2);
}

void TestSettings::failedSaveKeepsTheOldFile() {
    const QByteArray old("[KALO]\nBasicView = 1\nCustomWeight = 75\n");
    QVERIFY(writeConf(old));
    settings.basicView = false;
    settings.bookmarkIds = QStringList{QStringLiteral("01001")};
    settings.bookmarkDescs = QStringList{QStringLiteral("Butter, salted")};

    // The write runs out of space after a few bytes, as on a full disk.
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    rlimit tiny = previous;
    tiny.rlim_cur = 16;
    const bool limited = setrlimit(RLIMIT_FSIZE, &tiny) == 0;
    if (limited)
        saveSettings();
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);
    if (!limited)
        QSKIP("cannot limit the file size");

    QCOMPARE(readConf(), old);
    QCOMPARE(QDir(QFileInfo(confPath()).absolutePath()).entryList(QDir::Files),
             QStringList{QStringLiteral("KALO.conf")});
    loadSettings();
    QCOMPARE(settings.customWeight, 75.0);
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
