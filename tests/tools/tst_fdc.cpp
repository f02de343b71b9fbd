// FOODS.db from a FoodData Central download: the CSV reader, the texts and the whole build.
#include "db/sqlitedb.h"
#include "tests/tools/toolsfixture.h"
#include "tools/csvreader.h"
#include "tools/fdcreader.h"
#include "tools/fdctext.h"
#include "tools/foodsdbwriter.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Builds FOODS.db from the download in folder; the error, or an empty string.
QString build(const QString &folder, const QString &output) {
    FdcReader reader;
    FoodsDbWriter writer;
    const bool written = writer.write(output, [&](SQLiteDB &db, QString *message) {
        const bool read = reader.read(folder, db, QFileInfo(output).absolutePath());
        *message = reader.errorString();
        return read;
    });
    return written ? QString() : writer.errorString();
}

} // namespace

class TestFdc : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString fdcDb;

private slots:
    void initTestCase() {
        fdcDb = dir.filePath(QStringLiteral("fdc.db"));
        const QString error = build(fixturePath(QStringLiteral("fdc")), fdcDb);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        // The intermediate tables are gone with their file.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"fdc.db"});
    }

    void csv_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>(
            "records"); // fields joined by '|', records by " / "; or the error
        QTest::newRow("quoted fields hold commas, doubled quotes and line breaks")
            << QByteArray("a,b\n\"1,5\",\"say \"\"hi\"\"\nthere\"\n") << "1,5|say \"hi\"\nthere";
        QTest::newRow("CR LF and LF line ends, blank lines passed over")
            << QByteArray("a,b\r\n1,2\r\n\r\n3,4\n") << "1|2 / 3|4";
        QTest::newRow("empty fields, quoted or not, also last, without a final line end")
            << QByteArray("a,b,c\n1,,\n\"\",2,\"\"") << "1|| / |2|";
        QTest::newRow("a byte order mark before the header") << QByteArray("\xEF\xBB\xBF"
                                                                           "a,b\n1,2\n")
                                                             << "1|2";
        const QByteArray longField(1048570, 'x');
        QTest::newRow("a doubled quote across the end of a read")
            << QByteArray("a,b\n\"" + longField + "\"\"y\",2\r\n3,4\n")
            << QString::fromLatin1(longField + "\"y|2 / 3|4");
        QTest::newRow("a record with a field too few, named by its line")
            << QByteArray("a,b\n1,2\n3\n") << "t.csv:3: expected 2 fields, found 1";
        QTest::newRow("line breaks inside quotes count")
            << QByteArray("a,b\n\"1\n2\",3\n4\n") << "t.csv:4: expected 2 fields, found 1";
        QTest::newRow("a quote left open, named by the line where its record starts")
            << QByteArray("a,b\n1,\"2\n3\n") << "t.csv:2: field 2: no closing quote";
        QTest::newRow("a quote inside a field without quotes")
            << QByteArray("a,b\n1,2\"3\n")
            << "t.csv:2: field 2: a quote inside a field without quotes";
    }

    void csv() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, records);
        QBuffer buffer(&bytes);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        CsvReader reader(&buffer, QStringLiteral("t.csv"));
        QStringList got;
        if (reader.readHeader()) {
            QCOMPARE(reader.column(QStringLiteral("b")), 1);
            while (reader.next()) {
                QStringList fields;
                for (int i = 0; i < reader.header().size(); ++i)
                    fields << reader.text(i);
                got << fields.join(QLatin1Char('|'));
            }
        }
        QCOMPARE(reader.hasError() ? reader.errorString() : got.join(QStringLiteral(" / ")),
                 records);
    }

    void download_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("rows");
        QTest::newRow("SR Legacy cheddar keeps its NDB number and the SR figures")
            << "select NDB_No, \"desc\", FdGrp_Cd, Energ_Kcal, Protein, Vit_A, FA_Sat, Calcium, "
               "Cholestrl, GmWt_1, GmWt_Desc1, GmWt_2, GmWt_Desc2 from FOODS_WR where NDB_No=1009"
            << "1009|Cheese, cheddar|0100|403|24.9|1002|21.092|721|105|132|1 cup, diced|244|1 cup, "
               "melted";
        QTest::newRow("every portion of cheddar, in sequence order whatever the order of the file")
            << "select Seq, Amount, Msre_Desc, Gm_Wgt from SERVINGS where NDB_No=1009"
            << "1|1|cup, diced|132\n2|1|cup, melted|244\n3|1|cup, shredded|113\n4|1|oz|28.35\n5|1|"
               "cubic inch|17\n6|1|slice (1 oz)|28";
        QTest::newRow("a nutrient missing or without a figure is unknown and has no row")
            << "select Cholestrl is null, Calcium is null, (select count(*) from NUTRIENT_DATA "
               "where "
               "NDB_No=9200001 and Nutr_No in (601, 301)) from FOODS_WR where NDB_No=9200001"
            << "1|1|0";
        QTest::newRow("energy in kcal, else the Atwater energy with specific factors")
            << "select NDB_No, Energ_Kcal from FOODS_WR where NDB_No in (9200001, 9200002)"
            << "9200001|400\n9200002|410";
        QTest::newRow("a branded food: brand first, label serving first, barcodes without zeros")
            << "select \"desc\", GmWt_1, GmWt_Desc1, GmWt_Desc2, (select group_concat(Code || ' ' "
               "|| "
               "NDB_No, ', ') from BARCODES) from FOODS_WR where NDB_No = 9200001"
            << "Hilltop Creamery, CHEDDAR CHEESE|28|1 ONZ|1 cup, diced|12345678905 9200001, "
               "98765432101 9200002";
        QTest::newRow(
            "a description that starts with its brand stays; quotes, a line break and '@'")
            << "select \"desc\", GmWt_Desc1 from FOODS_WR where NDB_No in (9200002, 9200003)"
            << "HILLTOP CREAMERY SHARP CHEDDAR|0.5 cup\nMeadow Foods, Inc., BAR, \"CHEWY\" OATS & "
               "HONEY \uFF20 HOME|40 g";
        QTest::newRow("survey portions give their amount in the description")
            << "select Seq, Amount, Msre_Desc, Gm_Wgt from SERVINGS where NDB_No=9100001"
            << "1|1.5|cups, shredded|169.5\n2|1|Quantity not specified|28";
        QTest::newRow("a Foundation portion is its unit and modifier")
            << "select \"desc\", GmWt_Desc1 from FOODS_WR where NDB_No=1001"
            << "Butter, salted|1 cup, melted";
        QTest::newRow("SR, WWEIA and branded categories with foods; a repeated name marked")
            << "select * from FOODS_GROUP order by 1"
            << "0100|Dairy and Egg Products\n0900|Fruits and Fruit Juices\nB0001|Cheese "
               "(branded)\nB0002|Cereal Bars\nW1602|Cheese";
        QTest::newRow("foods of other data types are passed over")
            << "select count(*), sum(NDB_No = 9300001) from FOODS_WR"
            << "7|0";
        QTest::newRow(
            "nutrients named by nutrient.csv, units as SR writes them, odd numbers our own")
            << "select * from NUTRIENTS where Nutr_No in (208, 328, 101063) order by 1"
            << "208|Energy|kcal|300\n328|Vitamin D (D2 + D3)|µg|8700\n101063|Sugars, Total|g|1510";
        QTest::newRow("of a figure given twice the last counts")
            << "select Nutr_Val from NUTRIENT_DATA where NDB_No=9200002 and Nutr_No=203"
            << "24";
        QTest::newRow("the search index")
            << "select rowid from FOODS_FTS where \"desc\" like '%chewy%'"
            << "9200003";
    }

    void download() {
        QFETCH(QString, sql);
        QFETCH(QString, rows);
        QCOMPARE(queryText(fdcDb, sql), rows);
    }

    void changedDownload_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("line"); // appended (see changeFile)
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("result"); // the rows, or the error
        const QString foods =
            QStringLiteral("select NDB_No, \"desc\", FdGrp_Cd from FOODS_WR order by NDB_No");
        QTest::newRow("a header in another column order reads the same")
            << "food.csv" << QByteArray("=food-reordered.csv") << foods << queryText(fdcDb, foods);
        QTest::newRow("a Foundation food published later takes a shared NDB number")
            << "food.csv"
            << QByteArray("\"9400002\",\"foundation_food\",\"Cheese, cheddar, Foundation\",\"1\","
                          "\"2024-04-01\"")
            << "select NDB_No, \"desc\" from FOODS_WR where NDB_No in (1009, 9001009, 9400002) "
               "order "
               "by 1"
            << "1009|Cheese, cheddar, Foundation\n9001009|Cheese, cheddar";
        QTest::newRow("a malformed amount, with file, line and field")
            << "food_nutrient.csv" << QByteArray("\"1\",\"9001009\",\"1008\",\"4x03\",,,,,,,")
            << QString() << "/food_nutrient.csv:27: field 'amount': '4x03' is not a number";
        QTest::newRow("a figure of a nutrient that nutrient.csv lacks")
            << "food_nutrient.csv" << QByteArray("\"1\",\"9001009\",\"4242\",\"1\",,,,,,,")
            << QString()
            << "/food_nutrient.csv:27: field 'nutrient_id': nutrient 4242 is not in nutrient.csv";
        QTest::newRow("a category that food_category.csv lacks")
            << "food.csv" << QByteArray("\"9500002\",\"sr_legacy_food\",\"Gouda\",\"77\",\"\"")
            << QString()
            << "/food.csv:11: field 'food_category_id': category 77 is not in "
               "food_category.csv";
        QTest::newRow("a food given twice")
            << "food.csv" << QByteArray("\"9001009\",\"sr_legacy_food\",\"Cheddar\",\"1\",\"\"")
            << QString() << "/food.csv:11: field 'fdc_id': food 9001009 given twice";
        QTest::newRow("a column missing")
            << "nutrient.csv" << QByteArray("=food_category.csv") << QString()
            << "/nutrient.csv: no column 'name' in the header";
        QTest::newRow("a file missing") << "food_nutrient.csv" << QByteArray() << QString()
                                        << "/food_nutrient.csv: no such file";
    }

    void changedDownload() {
        QFETCH(QString, file);
        QFETCH(QByteArray, line);
        QFETCH(QString, sql);
        QFETCH(QString, result);
        QTemporaryDir work;
        const QString folder = work.filePath(QStringLiteral("download"));
        QVERIFY(copyFixture(QStringLiteral("fdc"), folder));
        QVERIFY(changeFile(QDir(folder).filePath(file), QByteArray(), line));
        const QString output = work.filePath(QStringLiteral("FOODS.db"));
        const QString error = build(folder, output);
        if (sql.isEmpty()) {
            QVERIFY2(error.endsWith(result) && error.startsWith(folder), qPrintable(error));
            QVERIFY(!QFile::exists(output));
        } else {
            QVERIFY2(error.isEmpty(), qPrintable(error));
            QCOMPARE(queryText(output, sql), result);
        }
    }
};

QTEST_GUILESS_MAIN(TestFdc)
#include "tst_fdc.moc"
