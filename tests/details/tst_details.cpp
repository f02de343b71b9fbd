// A food's details without a window: the report state read from the database, the report texts
// and the servings.
#include "db/sqlitedb.h"
#include "details/foodreport.h"
#include "details/nutrientcatalogue.h"
#include "details/nutrientreport.h"
#include "details/servings.h"
#include "tests/common/fixturedb.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// The report's table rows as "name|unit|amount", read back out of the HTML.
QStringList reportRows(const QString &html) {
    static const QRegularExpression cells(
        QStringLiteral("<tr><td width=50% bgcolor=(#[0-9a-f]+)>([^<]*)</td><td width=10% "
                       "bgcolor=\\1>([^<]*)</td><td width=30% align=right bgcolor=\\1>([^<]*)"
                       "</td></tr>"));
    QStringList rows;
    for (auto it = cells.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        rows << m.captured(2) + '|' + m.captured(3) + '|' + m.captured(4);
    }
    return rows;
}

} // namespace

class TestDetails : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    void wholeReportText() {
        QList<double> values(nutrientCount, 0.5);
        const QString html =
            basicReport(QStringLiteral("Tea & <i>"), QStringLiteral("G"), values, 200);
        QString expected = QStringLiteral(
            "<qt bgcolor=#e8e8e8><table border=0 width=100%><tr><td width=80%><b>Tea & <i></b>"
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
        QTest::newRow("100 g shows the stored amount")
            << 0 << 403.0 << 100.0 << "Calories|kcal|403.000";
        QTest::newRow("30 g of 250 per 100 g") << 24 << 250.0 << 30.0 << "Selenium|mcg|75.000";
        QTest::newRow("a stored 0 prints as 0.000") << 8 << 0.0 << 28.35 << "Vitamine C|mg|0.000";
        QTest::newRow("an unrounded serving weight")
            << 12 << 10.0 << 28.35 << "Vitamine E|mg_ATE|2.835";
    }
    void amounts() {
        QFETCH(int, nutrient);
        QFETCH(double, per100g);
        QFETCH(double, grams);
        QList<double> values(nutrientCount, 0.0);
        values[nutrient] = per100g;
        const QStringList rows = reportRows(detailedReport(QString(), QString(), values, grams));
        QCOMPARE(rows.size(), nutrientCount);
        QTEST(rows.at(nutrient), "row");
    }

    void servings_data() {
        QTest::addColumn<QStringList>("stored"); // weight 1, name 1, weight 2, name 2
        QTest::addColumn<QStringList>("menu");
        QTest::newRow("both common servings, then the custom weight")
            << QStringList{"132", "1 cup, diced", "28.35", "1 oz"}
            << QStringList{"1 cup, diced  (132.0 g)", "1 oz  (28.4 g)", "Custom  (100.0 g)"};
        QTest::newRow("no serving: only the custom weight")
            << QStringList{"", "", QString(), QString()} << QStringList{"Custom  (100.0 g)"};
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
        QTest::addColumn<QString>("heading"); // description | group | number
        QTest::addColumn<QList<double>>("weights");
        QTest::addColumn<double>("calories");
        QTest::newRow("a food with both servings, its description expanded")
            << "1009"
            << "Cheese, cheddar|Dairy and Egg Products|1009" << QList<double>{132, 244, 50}
            << 403.0;
        QTest::newRow("a number with leading zeros finds the food")
            << "01009"
            << "Cheese, cheddar|Dairy and Egg Products|1009" << QList<double>{132, 244, 50}
            << 403.0;
        QTest::newRow("a number without a food gives an empty report")
            << "99"
            << "||" << QList<double>{50} << 0.0;
        QTest::newRow("a number that is not digits never reaches the statement")
            << "1009 or 1=1"
            << "||" << QList<double>{50} << 0.0;
    }
    void reportState() {
        QFETCH(QString, foodId);
        const QString path = dir.filePath(QStringLiteral("FOODS.db"));
        QVERIFY(createFixtureDatabase(path));
        SQLiteDB db(path, false);
        const QString sql = detailsStatement(foodId);
        const ResultRows rows = sql.isNull() ? ResultRows() : db.exec(sql);
        QVERIFY(!db.hasError());
        const FoodReport report = foodReportFromRow(rows, {{"@CHD@", "cheddar"}}, 50);
        QTEST(report.desc + '|' + report.group + '|' + report.id, "heading");
        QTEST(report.weights, "weights");
        QCOMPARE(report.weightNames.last(), QStringLiteral("Custom"));
        QTEST(report.values.value(0), "calories");
        QCOMPARE(reportRows(basicReportText(report, 0)).size(), basicRowCount);
    }
};

QTEST_GUILESS_MAIN(TestDetails)
#include "tst_details.moc"
