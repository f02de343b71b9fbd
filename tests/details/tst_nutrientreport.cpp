// Tests of the nutrient catalogue, the details statement and the report texts.
#include "db/sqlitedb.h"
#include "details/nutrientcatalogue.h"
#include "details/nutrientreport.h"
#include "tests/common/fixturedb.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

// The row markup written out independently of the program's helper.
QString row(const char *colour, const QString &name, const char *unit, const char *amount) {
    const QString c = QLatin1String(colour);
    return QStringLiteral("<tr><td width=50% bgcolor=") + c + QLatin1Char('>') + name +
           QStringLiteral("</td><td width=10% bgcolor=") + c + QLatin1Char('>') +
           QLatin1String(unit) + QStringLiteral("</td><td width=30% align=right bgcolor=") + c +
           QLatin1Char('>') + QLatin1String(amount) + QStringLiteral("</td></tr>");
}

QString heading(const QString &desc, const QString &group) {
    return QStringLiteral("<qt bgcolor=#e8e8e8><table border=0 width=100%><tr><td width=80%><b>") +
           desc + QStringLiteral("</b></td></tr><tr><td>Category: ") + group +
           QStringLiteral("</td></tr></table> \r\n<hr><table border=0 width=100%>");
}

const QString closing = QStringLiteral("</table><br><hr></qt>");

// Amount k per 100 g is k + 0.25 (calories 0.25 ... selenium 24.25).
QList<double> sampleValues() {
    QList<double> values;
    for (int k = 0; k < nutrientCount; ++k)
        values << k + 0.25;
    return values;
}

} // namespace

class TestNutrientReport : public QObject {
    Q_OBJECT

private slots:
    void catalogueColumnsMatchTheStatementLayout();
    void basicReportOfASmallFood();
    void detailedReportOfASmallFood();
    void amountsScaleWithTheServing_data();
    void amountsScaleWithTheServing();
    void foodWithoutARowShowsZeros();
    void textsAreInsertedUnchanged();
    void detailsStatementReadsOneFood();
    void foodNumbersThatAreNotDigitsNeverReachSql_data();
    void foodNumbersThatAreNotDigitsNeverReachSql();
};

void TestNutrientReport::catalogueColumnsMatchTheStatementLayout() {
    const QString columns = QLatin1String(detailColumns);
    QCOMPARE(columns.size(), 273);
    const QStringList lines = columns.split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 3);
    QVERIFY(lines.at(0).endsWith(QStringLiteral(",Vit_E,")));
    QVERIFY(lines.at(1).endsWith(QStringLiteral(",GmWt_Desc1,")));
    QVERIFY(!columns.contains(QLatin1Char(' ')));

    const QStringList fields = lines.join(QString()).split(QLatin1Char(','));
    QCOMPARE(fields.size(), 32);
    QCOMPARE(fields.at(0), QStringLiteral("Energ_Kcal"));
    QCOMPARE(fields.at(24), QStringLiteral("Selenium"));
    QCOMPARE(fields.at(DetailDesc), QStringLiteral("Desc"));
    QCOMPARE(fields.at(DetailId), QStringLiteral("NDB_No"));
    QCOMPARE(fields.at(DetailWeight1), QStringLiteral("GmWt_1"));
    QCOMPARE(fields.at(DetailWeightName2), QStringLiteral("GmWt_Desc2"));
    QCOMPARE(fields.at(DetailGroup), QStringLiteral("FOODS_GROUP.FdGrp_Desc"));

    // Every basic row shows the name of the nutrient whose unit and amount it shows.
    for (int i = 0; i < basicRowCount; ++i)
        QCOMPARE(QLatin1String(basicLabels[i]), QLatin1String(nutrientNames[basicIndex[i]]));
}

void TestNutrientReport::basicReportOfASmallFood() {
    const QString expected =
        heading(QStringLiteral("Butter, salted"), QStringLiteral("Dairy and Egg Products")) +
        row("#f8f8f8", QStringLiteral("Calories"), "kcal", "0.250") +
        row("#e8e8e8", QStringLiteral("Cholesterol"), "mg", "1.250") +
        row("#f8f8f8", QStringLiteral("Saturated Fat"), "g", "3.250") +
        row("#e8e8e8", QStringLiteral("Water"), "g", "4.250") +
        row("#f8f8f8", QStringLiteral("Vitamine C"), "mg", "8.250") +
        row("#e8e8e8", QStringLiteral("Vitamine B6"), "mg", "9.250") +
        row("#f8f8f8", QStringLiteral("Vitamine A"), "IU", "11.250") +
        row("#e8e8e8", QStringLiteral("Vitamine E"), "mg_ATE", "12.250") + closing;
    QCOMPARE(basicReport(QStringLiteral("Butter, salted"), QStringLiteral("Dairy and Egg Products"),
                         sampleValues(), 100.0),
             expected);
}

void TestNutrientReport::detailedReportOfASmallFood() {
    const char *names[] = {
        "Calories",     "Cholesterol", "Lipid Fat",  "Saturated Fat", "Water",
        "Carbohydrate", "Fiber",       "Protein",    "Vitamine C",    "Vitamine B6",
        "Vitamine B12", "Vitamine A",  "Vitamine E", "Folate",        "Riboflavin",
        "Niacin",       "Thiamin",     "Calcium",    "Iron",          "Sodium",
        "Magnesium",    "Potassium",   "Zinc",       "Copper",        "Selenium"};
    const char *units[] = {"kcal", "mg",  "g",  "g",      "g",   "g",  "g",  "g",  "mg",
                           "mg",   "mcg", "IU", "mg_ATE", "mcg", "mg", "mg", "mg", "mg",
                           "mg",   "mg",  "mg", "mg",     "mg",  "mg", "mcg"};
    QString expected =
        heading(QStringLiteral("Butter, salted"), QStringLiteral("Dairy and Egg Products"));
    for (int k = 0; k < 25; ++k) {
        const QByteArray amount = QByteArray::number(k) + ".250";
        expected += row(k % 2 ? "#e8e8e8" : "#f8f8f8", QLatin1String(names[k]), units[k],
                        amount.constData());
    }
    expected += closing;
    const QString text =
        detailedReport(QStringLiteral("Butter, salted"), QStringLiteral("Dairy and Egg Products"),
                       sampleValues(), 100.0);
    QCOMPARE(text, expected);
    // The last of 25 rows is light.
    QVERIFY(text.contains(QStringLiteral("bgcolor=#f8f8f8>Selenium")));
}

void TestNutrientReport::amountsScaleWithTheServing_data() {
    QTest::addColumn<double>("grams");
    QTest::addColumn<double>("per100g");
    QTest::addColumn<QString>("shown");
    QTest::newRow("100 g shows the stored amount") << 100.0 << 717.0 << "717.000";
    QTest::newRow("a stored 0 prints with three decimals") << 100.0 << 0.0 << "0.000";
    QTest::newRow("30 g of 250 per 100 g") << 30.0 << 250.0 << "75.000";
    QTest::newRow("28.35 g is used unrounded") << 28.35 << 100.0 << "28.350";
    QTest::newRow("no thousands separator") << 1000.0 << 884.0 << "8840.000";
    QTest::newRow("a negative amount keeps its sign") << 100.0 << -1.5 << "-1.500";
}

void TestNutrientReport::amountsScaleWithTheServing() {
    QFETCH(double, grams);
    QFETCH(double, per100g);
    QFETCH(QString, shown);
    QCOMPARE(servingAmount(grams, per100g), shown);
    QList<double> values(nutrientCount, 0.0);
    values[0] = per100g;
    QVERIFY(basicReport(QString(), QString(), values, grams)
                .contains(QStringLiteral(" align=right bgcolor=#f8f8f8>") + shown + "</td>"));
}

void TestNutrientReport::foodWithoutARowShowsZeros() {
    const QList<double> zeros(nutrientCount, 0.0);
    const QString basic = basicReport(QString(), QString(), zeros, 100.0);
    QVERIFY(basic.startsWith(QStringLiteral(
        "<qt bgcolor=#e8e8e8><table border=0 width=100%><tr><td width=80%><b></b></td></tr><tr>"
        "<td>Category: </td></tr></table> \r\n")));
    QCOMPARE(basic.count(QStringLiteral(">0.000</td>")), 8);
    const QString detailed = detailedReport(QString(), QString(), zeros, 100.0);
    QCOMPARE(detailed.count(QStringLiteral(">0.000</td>")), 25);
    // Missing amounts count as 0 rather than reading past the list.
    QCOMPARE(detailedReport(QString(), QString(), {}, 100.0), detailed);
}

void TestNutrientReport::textsAreInsertedUnchanged() {
    const QString text = basicReport(QStringLiteral("Beans & <peas>"), QStringLiteral("A & B"),
                                     sampleValues(), 100.0);
    QVERIFY(text.contains(QStringLiteral("<b>Beans & <peas></b>")));
    QVERIFY(text.contains(QStringLiteral("Category: A & B</td>")));
}

void TestNutrientReport::detailsStatementReadsOneFood() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("FOODS.db"));
    QVERIFY(createFixtureDatabase(path));
    SQLiteDB db;
    QVERIFY(db.open(path, false));

    const QString sql = detailsStatement(QStringLiteral("1009"));
    QVERIFY(sql.startsWith(QStringLiteral("select Energ_Kcal,")));
    QVERIFY(sql.endsWith(QStringLiteral(" from FOODS_WR,FOODS_GROUP where NDB_No=1009 and "
                                        "FOODS_WR.FdGrp_Cd=FOODS_GROUP.FdGrp_Cd")));
    ResultRows rows = db.exec(sql);
    QVERIFY2(!db.hasError(), qPrintable(db.lastError()));
    QCOMPARE(rows.rowCount(), 1);
    QCOMPARE(rows.columnCount(), 32);
    QCOMPARE(rows.value(0, 0), QStringLiteral("403"));
    QCOMPARE(rows.value(0, DetailDesc), QStringLiteral("Cheese, @CHD@"));
    QCOMPARE(rows.value(0, DetailId), QStringLiteral("1009"));
    QCOMPARE(rows.value(0, DetailWeight1), QStringLiteral("132"));
    QCOMPARE(rows.value(0, DetailWeightName1), QStringLiteral("1 cup, diced"));
    QCOMPARE(rows.value(0, DetailGroup), QStringLiteral("Dairy and Egg Products"));

    // Leading zeros go in unchanged; the integer column still matches.
    rows = db.exec(detailsStatement(QStringLiteral("01009")));
    QVERIFY(!db.hasError());
    QCOMPARE(rows.value(0, DetailId), QStringLiteral("1009"));

    rows = db.exec(detailsStatement(QStringLiteral("99999")));
    QVERIFY(!db.hasError());
    QVERIFY(rows.isEmpty());
    QVERIFY(rows.value(0, DetailId).isNull());
}

void TestNutrientReport::foodNumbersThatAreNotDigitsNeverReachSql_data() {
    QTest::addColumn<QString>("id");
    QTest::newRow("empty") << "";
    QTest::newRow("an always-true condition") << "1009 or 1=1";
    QTest::newRow("a second statement") << "1009;drop table FOODS_WR";
    QTest::newRow("a quote") << "1009'";
    QTest::newRow("a sign") << "-1009";
    QTest::newRow("a blank") << " 1009";
    QTest::newRow("digits of another script") << QStringLiteral("\u0661\u0660\u0660\u0669");
}

void TestNutrientReport::foodNumbersThatAreNotDigitsNeverReachSql() {
    QFETCH(QString, id);
    QVERIFY(detailsStatement(id).isNull());
}

QTEST_APPLESS_MAIN(TestNutrientReport)
#include "tst_nutrientreport.moc"
