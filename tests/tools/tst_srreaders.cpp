// Reading the USDA inputs: the SR ASCII files and the SR24 jar.
#include "tests/tools/srfixtures.h"
#include "tools/sr24groups.h"
#include "tools/sr24jarreader.h"
#include "tools/srasciireader.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr int energy = 0, fatTotal = 2, saturated = 3, protein = 7, vitaminA = 11, vitaminE = 12;

const SrFood *findFood(const SrData &data, int number) {
    for (const SrFood &food : data.foods) {
        if (food.number == number)
            return &food;
    }
    return nullptr;
}

} // namespace

class TestSrReaders : public QObject {
    Q_OBJECT
private slots:
    void servingNames_data();
    void servingNames();
    void sourceNumbers_data();
    void sourceNumbers();
    void records_data();
    void records();

    void asciiFiles();
    void asciiFileNamesInAnyCase();
    void malformedAsciiLine_data();
    void malformedAsciiLine();
    void missingAsciiFile();

    void groupExceptionTable();
    void jar();
    void badJar_data();
    void badJar();
    void missingJar();

private:
    QTemporaryDir dir;
};

void TestSrReaders::servingNames_data() {
    QTest::addColumn<double>("amount");
    QTest::addColumn<QString>("name");
    QTest::newRow("a whole amount has no decimals") << 1.0 << QStringLiteral("1 cup, diced");
    QTest::newRow("trailing zeros go") << 0.5 << QStringLiteral("0.5 cup, diced");
    QTest::newRow("zeros of the whole part stay") << 100.0 << QStringLiteral("100 cup, diced");
    QTest::newRow("three decimals are kept") << 0.333 << QStringLiteral("0.333 cup, diced");
    QTest::newRow("more are rounded to three") << 3.52749 << QStringLiteral("3.527 cup, diced");
    QTest::newRow("rounding may end in a whole number") << 1.9999 << QStringLiteral("2 cup, diced");
}

void TestSrReaders::servingNames() {
    QFETCH(double, amount);
    QFETCH(QString, name);
    QCOMPARE(servingName({amount, QStringLiteral("cup, diced"), 132}), name);
}

void TestSrReaders::sourceNumbers_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<double>("value");
    QTest::newRow("integer") << QByteArray("403") << true << 403.0;
    QTest::newRow("decimal") << QByteArray("24.90") << true << 24.9;
    QTest::newRow("leading point") << QByteArray(".5") << true << 0.5;
    QTest::newRow("exponent") << QByteArray("1e-3") << true << 0.001;
    QTest::newRow("signs") << QByteArray("-2.5") << true << -2.5;
    QTest::newRow("empty") << QByteArray("") << false << 0.0;
    QTest::newRow("decimal comma") << QByteArray("24,9") << false << 0.0;
    QTest::newRow("trailing rubbish") << QByteArray("12abc") << false << 0.0;
    QTest::newRow("blank inside") << QByteArray("1 2") << false << 0.0;
    QTest::newRow("lone point") << QByteArray(".") << false << 0.0;
    QTest::newRow("infinity") << QByteArray("inf") << false << 0.0;
    QTest::newRow("overflow") << QByteArray("1e999") << false << 0.0;
}

void TestSrReaders::sourceNumbers() {
    QFETCH(QByteArray, text);
    QFETCH(bool, valid);
    QFETCH(double, value);
    const std::optional<double> parsed = parseSourceNumber(text);
    QCOMPARE(parsed.has_value(), valid);
    if (valid)
        QCOMPARE(*parsed, value);
}

void TestSrReaders::records_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QString>("why");
    QTest::newRow("text and number fields")
        << QByteArray("~01009~^~208~^403.00") << QStringList{"01009", "208", "403.00"} << QString();
    QTest::newRow("empty fields, also at the end")
        << QByteArray("~~^^1^") << QStringList{"", "", "1", ""} << QString();
    QTest::newRow("a separator inside text belongs to it")
        << QByteArray("~a^b~^2") << QStringList{"a^b", "2"} << QString();
    QTest::newRow("code page 1252 is converted")
        << QByteArray("~\x93"
                      "caf\xe9\x94 \x80~")
        << QStringList{"\u201Ccaf\u00E9\u201D \u20AC"} << QString();
    QTest::newRow("an unclosed text field is refused")
        << QByteArray("~01009~^~208") << QStringList() << QStringLiteral("field 2: no closing '~'");
    QTest::newRow("text after the closing tilde is refused")
        << QByteArray("~01009~x^1") << QStringList()
        << QStringLiteral("field 1: text after the closing '~'");
    QTest::newRow("a tilde inside a number field is refused")
        << QByteArray("1^2~3") << QStringList() << QStringLiteral("field 2: stray '~'");
    QTest::newRow("a byte undefined in code page 1252 is refused")
        << QByteArray("~a\x81~") << QStringList()
        << QStringLiteral("field 1: byte 0x81 is no text character");
    QTest::newRow("a control character is refused")
        << QByteArray("~a\x01~") << QStringList()
        << QStringLiteral("field 1: byte 0x01 is no text character");
}

void TestSrReaders::records() {
    QFETCH(QByteArray, line);
    QFETCH(QStringList, fields);
    QFETCH(QString, why);
    QStringList got;
    QString reason;
    QCOMPARE(SrAsciiReader::splitRecord(line, &got, &reason), why.isNull());
    if (why.isNull())
        QCOMPARE(got, fields);
    else
        QCOMPARE(reason, why);
}

void TestSrReaders::asciiFiles() {
    const QString folder = dir.filePath(QStringLiteral("ascii"));
    QVERIFY(writeAsciiFixture(folder));
    SrAsciiReader reader(14);
    QVERIFY2(reader.readDirectory(folder), qPrintable(reader.errorString()));
    const SrData &data = reader.data();
    QCOMPARE(data.release, 14);
    QCOMPARE(data.groups.size(), 3);
    QCOMPARE(data.groups[1].code, QStringLiteral("0400"));
    QCOMPARE(data.groups[1].name, QStringLiteral("Fats and Oils"));

    // Foods with nutrient data only, ascending; the turnip has none, 99998 is not a food.
    QList<int> numbers;
    for (const SrFood &food : data.foods)
        numbers << food.number;
    QCOMPARE(numbers, QList<int>({1001, 1009, 4053, 11124, 11999}));
    QCOMPARE(reader.foodsWithoutNutrients(), QList<int>{11998});
    QCOMPARE(reader.strayFoods(), 1);

    const SrFood *cheddar = findFood(data, 1009);
    QCOMPARE(cheddar->description, QStringLiteral("Cheese, cheddar"));
    QCOMPARE(cheddar->group, QStringLiteral("0100"));
    QCOMPARE(cheddar->nutrients[energy], 403.0);
    QCOMPARE(cheddar->nutrients[protein], 24.9);
    QCOMPARE(cheddar->nutrients[saturated], 21.092);
    QCOMPARE(cheddar->nutrients[vitaminE], 0.29); // alpha-tocopherol wins over the equivalents
    QVERIFY(!cheddar->nutrients[vitaminA]);       // no record: unknown, not 0
    // The first two by sequence number, whatever the order of the lines.
    QCOMPARE(cheddar->servings.size(), 2);
    QCOMPARE(servingName(cheddar->servings[0]), QStringLiteral("1 cup, diced"));
    QCOMPARE(cheddar->servings[0].grams, 132.0);
    QCOMPARE(servingName(cheddar->servings[1]), QStringLiteral("1 cup, melted"));

    const SrFood *butter = findFood(data, 1001);
    QVERIFY(!butter->nutrients[saturated]);
    QCOMPARE(butter->nutrients[fatTotal], 81.11);
    QCOMPARE(butter->nutrients[vitaminE], 1.58); // only the equivalents of early releases
    QCOMPARE(butter->servings.size(), 1);
    QCOMPARE(servingName(butter->servings[0]), QStringLiteral("1 pat (1\" sq, 1/3\" high)"));

    QCOMPARE(findFood(data, 4053)->servings.size(), 0);
    const SrFood *carrots = findFood(data, 11124);
    QCOMPARE(servingName(carrots->servings[0]), QStringLiteral("0.5 cup, chopped"));
    QCOMPARE(carrots->nutrients[protein], 0.93);

    const SrFood *custard = findFood(data, 11999);
    QCOMPARE(custard->description, QStringLiteral("Crème brûlée, “café” style"));
    QCOMPARE(servingName(custard->servings[0]), QStringLiteral("0.333 cup"));
}

void TestSrReaders::asciiFileNamesInAnyCase() {
    const QString folder = dir.filePath(QStringLiteral("lower"));
    QDir().mkpath(folder);
    for (const auto &file : asciiFixtureFiles()) {
        QFile out(QDir(folder).filePath(file.first.toLower()));
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(file.second);
    }
    SrAsciiReader reader(20);
    QVERIFY2(reader.readDirectory(folder), qPrintable(reader.errorString()));
    QCOMPARE(reader.data().foods.size(), size_t(5));
}

void TestSrReaders::malformedAsciiLine_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("line2");
    QTest::addColumn<QString>("message");
    QTest::newRow("a group code that is not four digits")
        << "FD_GROUP.txt" << QByteArray("~04~^~Fats~") << "FD_GROUP.txt:2: food group code '04'";
    QTest::newRow("a group given twice") << "FD_GROUP.txt" << QByteArray("~0100~^~Dairy~")
                                         << "FD_GROUP.txt:2: food group 0100 given twice";
    QTest::newRow("a food record with too few fields")
        << "FOOD_DES.txt" << QByteArray("~01001~^~0100~")
        << "FOOD_DES.txt:2: expected at least 3 fields, found 2";
    QTest::newRow("a food number with letters")
        << "FOOD_DES.txt" << QByteArray("~01A01~^~0100~^~Butter~")
        << "FOOD_DES.txt:2: food number '01A01' is not a number";
    QTest::newRow("a food given twice") << "FOOD_DES.txt" << QByteArray("~01009~^~0100~^~Cheese~")
                                        << "FOOD_DES.txt:2: food 01009 given twice";
    QTest::newRow("a food of an unknown group")
        << "FOOD_DES.txt" << QByteArray("~01002~^~4200~^~Butter, whipped~")
        << "FOOD_DES.txt:2: food 1002 names the unknown food group 4200";
    QTest::newRow("an amount that is no number")
        << "NUT_DATA.txt" << QByteArray("~01009~^~203~^24,9^15")
        << "NUT_DATA.txt:2: amount '24,9' is not a number";
    QTest::newRow("an unclosed text field") << "NUT_DATA.txt" << QByteArray("~01009~^~203^24.9")
                                            << "NUT_DATA.txt:2: field 2: no closing '~'";
    QTest::newRow("a gram weight missing") << "WEIGHT.txt" << QByteArray("~01009~^~2~^1^~cup~^^")
                                           << "WEIGHT.txt:2: gram weight '' is not a number";
    QTest::newRow("a serving given twice") << "WEIGHT.txt" << QByteArray("~01009~^~3~^1^~cup~^5")
                                           << "WEIGHT.txt:2: weight 3 of food 01009 given twice";
}

void TestSrReaders::malformedAsciiLine() {
    QFETCH(QString, file);
    QFETCH(QByteArray, line2);
    QFETCH(QString, message);
    // The file's first line stays, the bad one comes second.
    SrAsciiReader reader(28);
    bool parsed = true;
    for (const auto &fixture : asciiFixtureFiles()) {
        QByteArray bytes = fixture.second;
        if (fixture.first == file) {
            const qsizetype firstEnd = bytes.indexOf('\n') + 1;
            bytes = bytes.left(firstEnd) + line2 + "\r\n" + bytes.mid(firstEnd);
        }
        if (fixture.first == QLatin1String("FD_GROUP.txt"))
            parsed = parsed && reader.parseGroups(bytes, fixture.first);
        else if (fixture.first == QLatin1String("FOOD_DES.txt"))
            parsed = parsed && reader.parseFoods(bytes, fixture.first);
        else if (fixture.first == QLatin1String("NUT_DATA.txt"))
            parsed = parsed && reader.parseNutrients(bytes, fixture.first);
        else
            parsed = parsed && reader.parseWeights(bytes, fixture.first);
    }
    QVERIFY(!(parsed && reader.finish()));
    QVERIFY2(reader.errorString().startsWith(message), qPrintable(reader.errorString()));
}

void TestSrReaders::missingAsciiFile() {
    const QString folder = dir.filePath(QStringLiteral("incomplete"));
    QVERIFY(writeAsciiFixture(folder));
    QVERIFY(QFile::remove(QDir(folder).filePath(QStringLiteral("WEIGHT.txt"))));
    SrAsciiReader reader(28);
    QVERIFY(!reader.readDirectory(folder));
    QCOMPARE(reader.errorString(), QDir(folder).filePath("WEIGHT.txt") + ": no such file");
    // Without groups or foods there is nothing to build.
    SrAsciiReader empty(28);
    QVERIFY(empty.parseGroups(QByteArray(), QStringLiteral("FD_GROUP.txt")));
    QVERIFY(!empty.finish());
}

void TestSrReaders::groupExceptionTable() {
    QCOMPARE(sr24GroupExceptions().size(), 358);
    QCOMPARE(sr24Groups().size(), 25);
    QCOMPARE(sr24GroupOf(8510), QStringLiteral("2500"));  // listed
    QCOMPARE(sr24GroupOf(13348), QStringLiteral("0700")); // listed
    QCOMPARE(sr24GroupOf(23001), QStringLiteral("1300"));
    QCOMPARE(sr24GroupOf(27001), QStringLiteral("0600"));
    QCOMPARE(sr24GroupOf(31001), QStringLiteral("1100"));
    QCOMPARE(sr24GroupOf(48001), QStringLiteral("2000"));
    QCOMPARE(sr24GroupOf(83110), QStringLiteral("1500"));
    QCOMPARE(sr24GroupOf(1009), QStringLiteral("0100"));
    QCOMPARE(sr24GroupOf(36001), QStringLiteral("3600"));
}

void TestSrReaders::jar() {
    const QString path = dir.filePath(QStringLiteral("usda_sr24.jar"));
    const auto entries = jarFixtureEntries();
    QVERIFY(writeZip(path, entries));
    Sr24JarReader reader;
    QVERIFY2(reader.readFile(path), qPrintable(reader.errorString()));
    const SrData &data = reader.data();
    QCOMPARE(data.release, 24);
    QCOMPARE(data.groups.size(), 25);
    QCOMPARE(data.foods.size(), size_t(5));
    QCOMPARE(reader.foodsWithoutNutrients(), QList<int>{23999});

    const SrFood *cheddar = findFood(data, 1009);
    QCOMPARE(cheddar->description, QStringLiteral("Cheese, cheddar"));
    QCOMPARE(cheddar->group, QStringLiteral("0100")); // plain prefix
    QCOMPARE(cheddar->nutrients[energy], 403.0);
    QCOMPARE(cheddar->nutrients[protein], 24.9);
    QCOMPARE(cheddar->nutrients[saturated], 21.092);
    QCOMPARE(cheddar->nutrients[vitaminA], 1002.0);
    QVERIFY(!cheddar->nutrients[fatTotal]); // absent from the file: unknown
    QCOMPARE(cheddar->servings.size(), 2);
    QCOMPARE(servingName(cheddar->servings[0]), QStringLiteral("1 cup, diced"));
    QCOMPARE(cheddar->servings[0].grams, 132.0);
    QCOMPARE(servingName(cheddar->servings[1]), QStringLiteral("1 cup, melted"));

    const SrFood *granola = findFood(data, 8510);
    QCOMPARE(granola->group, QStringLiteral("2500")); // by the exception table
    QCOMPARE(granola->servings.size(), 1);
    QCOMPARE(servingName(granola->servings[0]), QStringLiteral("1 bar (1\" x 4\")"));
    QVERIFY(!granola->nutrients[protein]);
    QCOMPARE(findFood(data, 23001)->group, QStringLiteral("1300")); // fixed prefix
    QCOMPARE(findFood(data, 23001)->servings.size(), 0);
    QCOMPARE(findFood(data, 27001)->group, QStringLiteral("0600"));
    QCOMPARE(servingName(findFood(data, 27001)->servings[0]), QStringLiteral("0.5 cup"));
    QCOMPARE(findFood(data, 4053)->group, QStringLiteral("0400"));
}

void TestSrReaders::badJar_data() {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("message");
    QTest::newRow("an index line without a number")
        << "usda_sr24/foods.index" << QByteArray("01009|Cheese, cheddar\r\nCheese|01009\r\n")
        << "usda_sr24/foods.index:2: expected a food number, '|' and a description";
    QTest::newRow("a food listed twice")
        << "usda_sr24/foods.index" << QByteArray("01009|Cheese\r\n01009|Cheese\r\n")
        << "usda_sr24/foods.index:2: food 1009 listed twice";
    QTest::newRow("a control character in a description")
        << "usda_sr24/foods.index" << QByteArray("01009|Cheese\r\n01010|Cheese,\x01 cheshire\r\n")
        << "usda_sr24/foods.index:2: control character in the description";
    QTest::newRow("a listed food without its file")
        << "usda_sr24/foods.index" << QByteArray("01009|Cheese\r\n01010|Cheese, cheshire\r\n")
        << "usda_sr24/01010.xml: missing from the jar (listed in usda_sr24/foods.index line 2)";
    QTest::newRow("a food file that is no XML")
        << "usda_sr24/01009.xml" << QByteArray("<food uid=\"01009\">\n<measure amount=\"1\"")
        << "usda_sr24/01009.xml:2: ";
    QTest::newRow("a food file of another food")
        << "usda_sr24/01009.xml" << QByteArray("<food uid=\"01010\"/>")
        << "usda_sr24/01009.xml:1: the food's uid is not 01009";
    QTest::newRow("an amount that is no number")
        << "usda_sr24/01009.xml"
        << QByteArray("<food uid=\"01009\">\n\n<nutrient amount=\"lots\" name=\"Energy\"/></food>")
        << "usda_sr24/01009.xml:3: a nutrient needs a numeric amount";
    QTest::newRow("a measure without grams")
        << "usda_sr24/01009.xml"
        << QByteArray("<food uid=\"01009\"><measure amount=\"1\" name=\"cup\"/></food>")
        << "usda_sr24/01009.xml:1: a measure needs a numeric amount and grams";
    QTest::newRow("a nutrient given twice")
        << "usda_sr24/01009.xml"
        << QByteArray("<food uid=\"01009\"><nutrient amount=\"1\" name=\"Iron\"/>"
                      "<nutrient amount=\"2\" name=\"Iron\"/></food>")
        << "usda_sr24/01009.xml:1: nutrient Iron given twice";
}

void TestSrReaders::badJar() {
    QFETCH(QString, entry);
    QFETCH(QByteArray, contents);
    QFETCH(QString, message);
    auto entries = jarFixtureEntries();
    for (auto &fixture : entries) {
        if (fixture.first == entry)
            fixture.second = contents;
    }
    const QString path = dir.filePath(QStringLiteral("bad.jar"));
    QVERIFY(writeZip(path, entries));
    Sr24JarReader reader;
    QVERIFY(!reader.readFile(path));
    QVERIFY2(reader.errorString().startsWith(path + QStringLiteral(": ") + message),
             qPrintable(reader.errorString()));
}

void TestSrReaders::missingJar() {
    Sr24JarReader reader;
    const QString missing = dir.filePath(QStringLiteral("nothing.jar"));
    QVERIFY(!reader.readFile(missing));
    QVERIFY2(reader.errorString().startsWith(missing + QStringLiteral(": ")),
             qPrintable(reader.errorString()));
    QVERIFY(!reader.readBytes("PK\x03\x04 not really a zip", QStringLiteral("broken.jar")));
    QVERIFY2(reader.errorString().startsWith(QStringLiteral("broken.jar: not a readable jar: ")),
             qPrintable(reader.errorString()));
    QVERIFY(writeZip(dir.filePath(QStringLiteral("empty.jar")),
                     {{QStringLiteral("readme.txt"), "hello"}}));
    QVERIFY(!reader.readFile(dir.filePath(QStringLiteral("empty.jar"))));
    QVERIFY(reader.errorString().endsWith(QStringLiteral(": no foods.index in the jar")));
}

QTEST_GUILESS_MAIN(TestSrReaders)
#include "tst_srreaders.moc"
