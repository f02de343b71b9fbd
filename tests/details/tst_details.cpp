// A food's details without a window: the report state read from the database, the report texts,
// the servings and the Nutrition Facts label.
#include "db/foodsdatabase.h"
#include "db/foodsschema.h"
#include "details/foodreport.h"
#include "details/nutrientcatalogue.h"
#include "details/nutrientreport.h"
#include "details/nutritionlabel.h"
#include "details/reportexport.h"
#include "details/servings.h"
#include "tests/common/fixturedb.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// The report's table rows as "name|unit|amount" (then "|percentage" with the Daily Value and
// "|range" with the ranges), read back out of the HTML: the texts of a row's cells, each row of
// one colour.
QStringList reportRows(const QString &html) {
    static const QRegularExpression row(QStringLiteral("<tr>((?:<td[^>]*>[^<]*</td>)+)</tr>"));
    static const QRegularExpression cell(QStringLiteral("<td[^>]* bgcolor=([^ >]+)>([^<]*)</td>"));
    QStringList rows;
    for (auto r = row.globalMatch(html); r.hasNext();) {
        QStringList cells;
        QSet<QString> colours;
        for (auto c = cell.globalMatch(r.next().captured(1)); c.hasNext();) {
            const auto m = c.next();
            colours << m.captured(1);
            cells << m.captured(2);
        }
        if (colours.size() == 1)
            rows << cells.join('|');
    }
    return rows;
}

} // namespace

class TestDetails : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    void initTestCase() {
        QVERIFY(createFixtureDatabase(
            dir.filePath("FOODS.db"),
            {"update FOODS_WR set Vit_A=1002, Vit_E=0.29 where NDB_No=1009"}));
        QVERIFY(createFixtureDatabase(dir.filePath("record.db"), fullRecordStatements()));
        // What figures rest on, as a FoodData Central download gives it: fat with its analyses
        // and a footnote, protein with a range alone, lysine with a count alone.
        QVERIFY(createFixtureDatabase(
            dir.filePath("ranges.db"),
            fullRecordStatements() + foodsBasisSchemaStatements(true, false)
                << "INSERT INTO NUTRIENTS VALUES (204, 'Total lipid (fat)', 'g', 800), "
                   "(203, 'Protein', 'g', 600)"
                << "INSERT INTO NUTRIENT_DATA VALUES (1009, 204, 34), (1009, 203, 23.3)"
                << "INSERT INTO NUTRIENT_STATS VALUES (1009, 204, 44, 32.1, 37.6, 33.9, 0.2, "
                   "'A', '1', 'Aged 6 months'), (1009, 203, 0, 21.5, 25.6, NULL, NULL, '49', "
                   "NULL, NULL), (1009, 504, 3, NULL, NULL, NULL, NULL, NULL, NULL, NULL)"
                << "INSERT INTO DERIVATIONS VALUES ('A', 'Analytical')"
                << "INSERT INTO FOOD_NOTES VALUES (1009, 1, 'Mild')"));
    }

    void wholeReportText() {
        QList<double> values(nutrientCount, 0.5);
        const QString html =
            reportHtml(QStringLiteral("Tea & <i>"), QStringLiteral("G"), basicLines(values), 200);
        QString expected = QStringLiteral(
            "<qt bgcolor=#e8e8e8><table border=0 width=100%><tr><td width=80%><b>Tea & &lt;i></b>"
            "</td></tr><tr><td>Category: G</td></tr></table> \r\n<hr><table border=0 width=100%>");
        const char *rows[][2] = {{"Calories", "kcal"},   {"Cholesterol", "mg"},
                                 {"Saturated Fat", "g"}, {"Water", "g"},
                                 {"Vitamine C", "mg"},   {"Vitamine B6", "mg"},
                                 {"Vitamine A", "IU"},   {"Vitamine E", "mg_ATE"}};
        for (int i = 0; i < 8; ++i) {
            const QString c = i % 2 ? QStringLiteral("#e8e8e8") : QStringLiteral("#f8f8f8");
            expected += QStringLiteral("<tr><td width=50% bgcolor=%1>%2</td><td width=10% "
                                       "bgcolor=%1>%3</td><td width=30% align=right "
                                       "bgcolor=%1>1.000</td></tr>")
                            .arg(c, QLatin1String(rows[i][0]), QLatin1String(rows[i][1]));
        }
        QCOMPARE(html, expected + QStringLiteral("</table><br><hr></qt>"));
    }

    void amounts_data() {
        QTest::addColumn<int>("nutrient");
        QTest::addColumn<double>("per100g");
        QTest::addColumn<double>("grams");
        QTest::addColumn<QString>("row"); // its row of the detailed view
        QTest::newRow("30 g of 250 per 100 g") << 24 << 250.0 << 30.0 << "Selenium|mcg|75.000";
        QTest::newRow("folate in micrograms") << 13 << 400.0 << 100.0 << "Folate|mcg|400.000";
        QTest::newRow("an unrounded serving weight")
            << 12 << 10.0 << 28.35 << "Vitamine E|mg_ATE|2.835";
        QTest::newRow("an amount the data does not give is unknown at any weight, not 0")
            << 12 << qQNaN() << 28.35 << "Vitamine E|mg_ATE|--";
    }
    void amounts() {
        QFETCH(int, nutrient);
        QFETCH(double, per100g);
        QFETCH(double, grams);
        QList<double> values(nutrientCount, 0.0);
        values[nutrient] = per100g;
        const QStringList rows =
            reportRows(reportHtml(QString(), QString(), detailedLines(values), grams));
        QCOMPARE(rows.size(), nutrientCount);
        QTEST(rows.at(nutrient), "row");
    }

    void servings_data() {
        QTest::addColumn<QStringList>("stored"); // weight 1, name 1, weight 2, name 2
        QTest::addColumn<QStringList>("menu");
        QTest::newRow("a missing first serving makes the second the first")
            << QStringList{"0", "none", "61", "1 medium"}
            << QStringList{"1 medium  (61.0 g)", "Custom  (100.0 g)"};
        QTest::newRow("a weight that is no number is no serving")
            << QStringList{"abc", "x", "12abc", "y"}
            << QStringList{"y  (12.0 g)", "Custom  (100.0 g)"};
    }
    void servings() {
        QFETCH(QStringList, stored);
        const ServingList list = buildServings(stored[0], stored[1], stored[2], stored[3], 100.0);
        QStringList menu;
        for (int i = 0; i < list.names.size(); ++i)
            menu << servingMenuText(list.names[i], list.weights.value(i));
        QTEST(menu, "menu");
    }

    void reportState_data() {
        QTest::addColumn<QString>("foodId");
        QTest::addColumn<QString>("database"); // a fixture (record.db with the whole USDA
                                               // record), or empty for the real one
        QTest::addColumn<QString>("heading");  // description | group | number
        QTest::addColumn<QStringList>("menu");
        QTest::addColumn<int>("view");
        QTest::addColumn<int>("weight");
        QTest::addColumn<bool>("dailyValue");
        QTest::addColumn<QStringList>("rows"); // rows the view holds, among others
        QTest::addColumn<QString>("html");     // a text the view holds
        const QString cheddar = "Cheese, cheddar|Dairy and Egg Products|1009";
        const QStringList twoServings{"1 cup, diced  (132.0 g)", "1 cup, melted  (244.0 g)",
                                      "Custom  (50.0 g)"};
        const QStringList allServings{
            "1 cup, diced  (132.0 g)", "1 cup, melted  (244.0 g)", "1 cup, shredded  (113.0 g)",
            "1 oz  (28.4 g)",          "1 cubic inch  (17.0 g)",   "1 slice (1 oz)  (28.0 g)",
            "Custom  (50.0 g)"};
        QTest::newRow("a number with leading zeros finds the food")
            << "01009"
            << "FOODS.db" << cheddar << twoServings << 0 << 0 << false
            << QStringList{"Calories|kcal|531.960", "Vitamine E|mg_ATE|0.383"} << "Category: Dairy";
        QTest::newRow("a number without a food says so")
            << "99"
            << "record.db"
            << "||99" << QStringList{"Custom  (50.0 g)"} << 2 << 0 << false << QStringList()
            << "No data for food 99 in this database.";
        QTest::newRow("an empty number never reaches the statement")
            << ""
            << "FOODS.db"
            << "||" << QStringList{"Custom  (50.0 g)"} << 0 << 0 << false << QStringList()
            << "No data for food  in this database.";
        QTest::newRow("a number that is not digits never reaches the statement")
            << "1 or 1=1"
            << "FOODS.db"
            << "||1 or 1=1" << QStringList{"Custom  (50.0 g)"} << 0 << 0 << false << QStringList()
            << "No data for food 1 or 1=1 in this database.";
        QTest::newRow("an unknown amount is --, a known 0 stays 0.000")
            << "11215"
            << "FOODS.db"
            << "Garlic, raw|Vegetables and Vegetable Products|11215"
            << QStringList{"Custom  (50.0 g)"} << 1 << 0 << false
            << QStringList{"Saturated Fat|g|--", "Cholesterol|mg|0.000"} << "Garlic";
        QTest::newRow("every USDA serving in order, then Custom; 1 oz scales by 28.35")
            << "1009"
            << "record.db" << cheddar << allServings << 0 << 3 << false
            << QStringList{"Calories|kcal|114.251"} << "Cheddar";
        QTest::newRow("the full view lists every nutrient by group, an unknown one as --")
            << "1009"
            << "record.db" << cheddar << allServings << 2 << 6 << false
            << QStringList{"Vitamin D|IU|12.000", "Leucine|g|1.192", "Lysine|g|--",
                           "Caffeine|mg|0.000"}
            << "<b>Amino Acids</b>";
        QTest::newRow("% Daily Value of 1 oz: calcium, vitamin D from IU, none for vitamin A IU")
            << "1009"
            << "record.db" << cheddar << allServings << 2 << 3 << true
            << QStringList{"Calcium, Ca|mg|204.404|16%", "Vitamin D|IU|6.804|1%",
                           "Vitamin A, IU|IU|284.067|", "Lysine|g|--|"}
            << "21 CFR 101.9";
        QTest::newRow(
            "ranges at 50 g: minimum-maximum and count, a range (of no analysis) alone, a "
            "count alone")
            << "1009"
            << "ranges.db" << cheddar << allServings << 2 << 6 << false
            << QStringList{"Total lipid (fat)|g|17.000|16.050\u201318.800 (44)",
                           "Protein|g|11.650|10.750\u201312.800", "Leucine|g|1.192|(3)",
                           "Calcium, Ca|mg|360.500|"}
            << "<b>Footnotes:</b><br>Mild<br>Total lipid (fat): Aged 6 months</small>";
        QTest::newRow("ranges after the % Daily Value; none in the detailed view")
            << "1009"
            << "ranges.db" << cheddar << allServings << 2 << 6 << true
            << QStringList{"Total lipid (fat)|g|17.000|22%|16.050\u201318.800 (44)"}
            << "<b>%DV</b></td><td align=right><b>Range</b>";
        QTest::newRow("no ranges but in the full view")
            << "1009"
            << "ranges.db" << cheddar << allServings << 1 << 6 << false
            << QStringList{"Calories|kcal|201.500"} << "</table><br><hr></qt>";
        QTest::newRow("% Daily Value of the real cheddar, 1 cup diced (132 g)")
            << "1009" << QString() << "Cheese, cheddar|Dairy and Egg Products|1009" << QStringList()
            << 2 << 0 << true
            << QStringList{"Total lipid (fat)|g|43.745|56%",
                           "Fatty acids, total saturated|g|27.841|139%",
                           "Cholesterol|mg|138.600|46%",
                           "Sodium, Na|mg|819.720|36%",
                           "Carbohydrate, by difference|g|1.690|1%",
                           "Fiber, total dietary|g|0.000|0%",
                           "Calcium, Ca|mg|951.720|73%",
                           "Iron, Fe|mg|0.898|5%",
                           "Potassium, K|mg|129.360|3%",
                           "Vitamin D|IU|31.680|4%"}
            << "21 CFR 101.9";
    }
    void reportState() {
        QFETCH(QString, foodId);
        QFETCH(int, weight);
        QFETCH(bool, dailyValue);
        QFETCH(QString, database);
        QString path = dir.filePath(database);
        if (database.isEmpty()) {
            REAL_FOODS_DATABASE(real);
            path = real;
        }
        FoodsDatabase foods;
        QVERIFY(foods.open(path) && foods.loadWords());
        const bool ranges = database == "ranges.db";
        const FoodReport report = loadFoodReport(foods, foodId, 50, ranges);
        QVERIFY(!foods.connection().hasError());
        QTEST(report.desc + '|' + report.group + '|' + report.id, "heading");
        QStringList menu;
        for (int i = 0; i < report.weights.size(); ++i)
            menu << servingMenuText(report.weightNames.value(i), report.weights.value(i));
        if (!database.isEmpty())
            QTEST(menu, "menu");
        QFETCH(int, view);
        ReportOptions options;
        options.dailyValue = dailyValue;
        options.ranges = ranges;
        const QString text = reportText(report, ReportView(view), weight, options);
        if (ranges) // the copied text holds the same, and the median, error and derivation
            QVERIFY(reportPlainText(report, ReportView(view), weight, dailyValue, true)
                        .contains(view == 2 ? "16.950\t0.100\tA (Analytical)\t1\n"
                                            : "Cheese, cheddar\n"));
        if (ranges) // a CSV file has the ranges where the page shows them
            QCOMPARE(reportCsvRecords(report, ReportView(view), weight, options).value(1).size(),
                     3 + int(dailyValue) + int(view == 2));
        const QStringList shown = reportRows(text);
        QFETCH(QStringList, rows);
        for (const QString &row : rows)
            QVERIFY2(shown.contains(row), qPrintable(row + " in " + shown.join(", ")));
        QFETCH(QString, html);
        QVERIFY2(text.contains(html, Qt::CaseInsensitive), qPrintable(text));
    }

    void labelRounding_data() {
        QTest::addColumn<int>("rule");
        QTest::addColumn<double>("dailyValue");
        QTest::addColumn<QString>("cases"); // amount=declared/percentage; "<": less than
        QTest::newRow("calories (c)(1): under 5 is 0, to 50 the nearest 5, above the nearest 10")
            << int(LabelRounding::Calories) << qQNaN()
            << "4.9=0/ 5=5/ 47.4=45/ 50=50/ 51=50/ 55=60/";
        QTest::newRow("fat (c)(2), its percentage (d)(7)(ii) of the declared amount; no figure")
            << int(LabelRounding::Fat) << 78.0
            << "0.49=0/0 0.5=0.5/1 0.74=0.5/1 4.9=5/6 5=5/6 nan=none/";
        QTest::newRow("cholesterol (c)(3): from 2 to 5 mg less than 5mg, its percentage its own")
            << int(LabelRounding::Cholesterol) << 300.0 << "1.9=0/0 2=<5/1 5=<5/2 6=5/2 8=10/3";
        QTest::newRow("sodium (c)(4): under 5 mg is 0, to 140 mg by 5 mg, above by 10 mg")
            << int(LabelRounding::Sodium) << 2300.0
            << "4.9=0/0 5=5/0 137.4=135/6 140=140/6 144=140/6";
        QTest::newRow("fiber (c)(6), protein (c)(7): from 0.5 g less than 1g, then by 1 g")
            << int(LabelRounding::Grams) << 28.0 << "0.49=0/0 0.5=<1/2 0.99=<1/4 1=1/4 1.5=2/7";
        QTest::newRow("iron, a Daily Value under 25: the nearest 0.1; under 2 % is 0")
            << int(LabelRounding::Vitamin) << 18.0 << "0.04=0/0 0.34=0.3/0 0.35=0.4/2 2.7=2.7/15";
        QTest::newRow("vitamin C, a Daily Value from 25 to 250: the nearest 1")
            << int(LabelRounding::Vitamin) << 90.0 << "0.4=0/0 44.5=45/50";
        QTest::newRow("250 and over: the nearest 10; percentages (c)(8)(iii) by 2, 5, then 10")
            << int(LabelRounding::Vitamin) << 1000.0
            << "14=10/0 26=30/4 100=100/10 110=110/10 130=130/15 500=500/50 530=530/50 560=560/60";
    }
    void labelRounding() {
        QFETCH(int, rule);
        QFETCH(double, dailyValue);
        QFETCH(QString, cases);
        for (const QString &c : cases.split(' ')) {
            const QString amount = c.section('=', 0, 0);
            LabelFigure f = labelFigure(LabelRounding(rule), amount.toDouble(), dailyValue);
            const QString declared = f.given ? f.amount.replace("Less than ", "<") : "none";
            QCOMPARE(amount + '=' + declared + '/' + f.percent, c);
        }
    }

    void cheddarLabel() {
        REAL_FOODS_DATABASE(foods);
        FoodsDatabase db;
        QVERIFY(db.open(foods));
        FoodReport report = loadFoodReport(db, "1009", 100);
        const int oz = report.weightNames.indexOf("1 oz");
        QCOMPARE(labelServingSize(report, oz), "1 oz (28g)");
        QCOMPARE(labelServingSize(report, report.weights.size() - 1), "100g");
        QStringList lines;
        for (const QStringList &record : labelCsvRecords(report, oz))
            lines << record.join('|');
        QCOMPARE(lines,
                 (QStringList{"Line|Amount|Unit|% Daily Value", "Calories|110||",
                              "Total Fat|9|g|12", "Saturated Fat|6|g|30", "Trans Fat|not given||",
                              "Cholesterol|30|mg|10", "Sodium|180|mg|8", "Total Carbohydrate|0|g|0",
                              "Dietary Fiber|0|g|0", "Total Sugars|0|g|",
                              "Added Sugars|not given||", "Protein|7|g|", "Vitamin D|0.2|mcg|0",
                              "Calcium|200|mg|15", "Iron|0.2|mg|0", "Potassium|30|mg|0"}));
        QVERIFY(reportPlainText(report, ReportView::Label, oz, false)
                    .contains("\nServing size\t1 oz (28g)\nCalories\t110\nTotal Fat\t9g\t12%\n"));
        QVERIFY(reportCsvRecords(report, ReportView::Full, oz, {{}, true})
                    .contains({"Calcium, Ca", "mg", "204.404", "16"}));
        const QString page = standaloneHtml("Cheddar", nutritionLabelHtml(report, oz));
        QVERIFY(page.contains("<body bgcolor=#e8e8e8>\n<p>") && page.contains("Sugars not given") &&
                page.contains("<i>Trans</i> Fat not given"));
        // Total sugars found by their name where FoodData Central numbers them otherwise, and
        // vitamin D in micrograms before the IU figure.
        for (FullNutrient &n : report.full)
            n = n.number == 269 ? FullNutrient{102000, "Sugars, Total", "g", 0, n.per100g, {}} : n;
        report.full << FullNutrient{328, "Vitamin D (D2 + D3)", "\u00b5g", 0, 1.0, {}};
        lines.clear();
        for (const LabelLine &line : nutritionLabelLines(report, report.weights.size() - 1))
            lines << line.figure.amount + line.unit + ' ' + line.figure.percent;
        QCOMPARE(lines.mid(8, 4), (QStringList{"Less than 1g ", "g ", "25g ", "1mcg 6"}));
    }
};

QTEST_GUILESS_MAIN(TestDetails)
#include "tst_details.moc"
