// FOODS.db from each source the builder reads: the SR24 jar, the SR ASCII files and a FoodData
// Central download; their readers, the writer, and the tables they give.
#include "db/sqlitedb.h"
#include "tests/common/fixturedb.h"
#include "tests/tools/toolsfixture.h"
#include "tools/csvreader.h"
#include "tools/fdcreader.h"
#include "tools/fdctext.h"
#include "tools/foodsdbwriter.h"
#include "tools/sr24jarreader.h"
#include "tools/srasciireader.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// The sources, and the names of their fixtures and of the FOODS.db built from each: the real SR
// Legacy download is read from its folder and from a zip of it.
enum Source { Jar, Ascii, Fdc, Legacy, LegacyZip };
const char *const sourceNames[] = {"jar", "sr", "fdc", "fdc-sr-legacy", "legacy"};

// Builds FOODS.db from a jar file, a folder of SR ASCII files or a FoodData Central download;
// the error, or an empty string and what the FoodData Central reader notes.
QString build(int source, const QString &input, const QString &output, QStringList *notes = {}) {
    FoodsDbWriter writer;
    if (source >= Fdc) {
        FdcReader reader;
        const bool written = writer.write(output, [&](SQLiteDB &db, QString *message) {
            const bool read = reader.read(input, db, QFileInfo(output).absolutePath());
            *message = reader.errorString();
            return read;
        });
        if (notes)
            *notes = reader.notes();
        return written ? QString() : writer.errorString();
    }
    Sr24JarReader jar;
    SrAsciiReader files(24);
    const bool ascii = source == Ascii;
    if (ascii ? !files.readDirectory(input) : !jar.readFile(input))
        return ascii ? files.errorString() : jar.errorString();
    return writer.write(ascii ? files.takeData() : jar.takeData(), output, {})
               ? QString()
               : writer.errorString();
}

} // namespace

class TestSources : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString built[5]; // the FOODS.db built from each source's fixture

private slots:
    void initTestCase() {
        QVERIFY(zipFolder(fixturePath(QStringLiteral("jar")), dir.filePath("sr24.jar")));
        QVERIFY(copyFixture("fdc-sr-legacy", dir.filePath("zip/FoodData_Central_sr_legacy")));
        QVERIFY(zipFolder(dir.filePath("zip"), dir.filePath("legacy.zip")));
        for (const int source : {Jar, Ascii, Fdc, Legacy, LegacyZip}) {
            built[source] = dir.filePath(sourceNames[source] + QStringLiteral(".db"));
            const QString input = source == Jar         ? dir.filePath("sr24.jar")
                                  : source == LegacyZip ? dir.filePath("legacy.zip")
                                                        : fixturePath(sourceNames[source]);
            const QString error = build(source, input, built[source]);
            QVERIFY2(error.isEmpty(), qPrintable(error));
        }
        // The intermediate tables are gone with their file.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
                 (QStringList{"fdc-sr-legacy.db", "fdc.db", "jar.db", "legacy.db", "legacy.zip",
                              "sr.db", "sr24.jar"}));
    }

    void numbers_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("serving"); // of that many cups
        QTest::newRow("a whole amount has no decimals") << QByteArray("1.0") << "1 cup";
        QTest::newRow("three decimals are kept, more rounded")
            << QByteArray("3.52749") << "3.527 cup";
        QTest::newRow("a leading point, zeros of the whole part kept")
            << QByteArray(".5") << "0.5 cup";
        QTest::newRow("an overflow is refused") << QByteArray("1e999") << "refused";
    }

    void numbers() {
        QFETCH(QByteArray, text);
        QFETCH(QString, serving);
        const std::optional<double> amount = parseSourceNumber(text);
        QCOMPARE(amount ? servingName({*amount, QStringLiteral("cup"), 1}) : "refused", serving);
    }

    void records_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("fields"); // joined by '|', or the reason for refusing the line
        QTest::newRow("text and number fields")
            << QByteArray("~01009~^~208~^403.00") << "01009|208|403.00";
        QTest::newRow("empty fields, also at the end") << QByteArray("~~^^1^") << "||1|";
        QTest::newRow("a separator inside text belongs to it") << QByteArray("~a^b~^2") << "a^b|2";
        QTest::newRow("code page 1252 is converted") << QByteArray("~\x93"
                                                                   "caf\xe9\x94 \x80~")
                                                     << "\u201Ccaf\u00E9\u201D \u20AC";
        QTest::newRow("an unclosed text field is refused")
            << QByteArray("~01009~^~208") << "field 2: no closing '~'";
        QTest::newRow("text after the closing tilde is refused")
            << QByteArray("~01009~x^1") << "field 1: text after the closing '~'";
        QTest::newRow("a byte undefined in code page 1252 is refused")
            << QByteArray("~a\x81~") << "field 1: byte 0x81 is no text character";
    }

    void records() {
        QFETCH(QByteArray, line);
        QFETCH(QString, fields);
        QStringList got;
        QString why;
        const bool split = SrAsciiReader::splitRecord(line, &got, &why);
        QCOMPARE(split ? got.join(QLatin1Char('|')) : why, fields);
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

    void tables_data() {
        QTest::addColumn<int>("source");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("rows");
        QTest::newRow("cheddar keeps its figures and its first two servings")
            << int(Jar)
            << "select NDB_No, \"desc\", FdGrp_Cd, Energ_Kcal, Protein, Vit_A, FA_Sat, Vit_E, "
               "GmWt_1, "
               "GmWt_Desc1, GmWt_2, GmWt_Desc2, typeof(Protein) from FOODS_WR where NDB_No=01009"
            << "1009|Cheese, cheddar|0100|403|24.9|1002|21.092|0.29|132|1 cup, diced|244|1 cup, "
               "melted|real";
        QTest::newRow("every serving of cheddar, in USDA order")
            << int(Jar) << "select Seq, Amount, Msre_Desc, Gm_Wgt from SERVINGS where NDB_No=1009"
            << "1|1|cup, diced|132\n2|1|cup, melted|244\n3|1|cup, shredded|113\n4|1|oz|28.35\n5|1|"
               "cubic inch|17\n6|1|slice (1 oz)|28";
        QTest::newRow("a nutrient without a figure has neither a row nor an amount")
            << int(Jar)
            << "select count(*), (select Tot_Lipid is null from FOODS_WR where NDB_No=1009) from "
               "NUTRIENT_DATA where NDB_No=1009 and Nutr_No=204"
            << "0|1";
        QTest::newRow("the jar's names become USDA nutrients, Omega-3 one of our own")
            << int(Jar)
            << "select * from NUTRIENTS where Nutr_No in (324, 606, 9000) order by SR_Order"
            << "324|Vitamin D|IU|8750\n606|Fatty acids, total saturated|g|9700\n9000|Omega-3 fatty "
               "acids|g|12910";
        QTest::newRow("all 25 groups; by the exception table, by fixed and by plain prefixes")
            << int(Jar)
            << "select NDB_No, FdGrp_Cd from FOODS_WR union all select 99999, count(*) from "
               "FOODS_GROUP "
               "order by 1"
            << "1009|0100\n4053|0400\n8510|2500\n23001|1300\n27001|0600\n99999|25";
        QTest::newRow("a measure name with quote entities, a food without servings")
            << int(Jar)
            << "select GmWt_Desc1 from FOODS_WR where NDB_No in (8510, 23001) order by 1"
            << "\n1 bar (1\" x 4\")";
        QTest::newRow("the data is SR release 24, also by its user version")
            << int(Jar)
            << "select \"Key\", Value from DATA_INFO union all select 'version', * from "
               "pragma_user_version order by 1"
            << "Release|24\nSource|USDA SR\nversion|24";
        QTest::newRow("the indexes for the program's statements, barcodes and values; no basis")
            << int(Jar)
            << "select name from sqlite_master where type='index' and sql is not null or name in "
               "('NUTRIENT_STATS', 'FOOD_NOTES') order by 1"
            << "BARCODES_Code\nFOODS_GROUP_desc\nFOODS_WR_desc\nFOODS_WR_group\nFOODS_WR_rank\n"
               "NUTRIENT_DATA_value\nWORDS_WR_text";
        QTest::newRow("code page 1252 text becomes UTF-8")
            << int(Ascii)
            << "select \"desc\", Units from FOODS_WR, NUTRIENTS where NDB_No=11999 and Nutr_No=418"
            << "Crème brûlée, “café” style|µg";
        QTest::newRow("vitamin E falls back to the equivalents of early releases")
            << int(Ascii)
            << "select Vit_E, (select Nutr_Val from NUTRIENT_DATA where NDB_No=1001 and "
               "Nutr_No=394) from FOODS_WR where NDB_No=1001"
            << "1.58|1.58";
        QTest::newRow("what SR figures rest on, a figure's footnotes joined; the food's; the codes")
            << int(Ascii)
            << "select * from NUTRIENT_STATS where NDB_No=1009 and Nutr_No in (203, 208, 418) "
               "union all "
               "select *, (select group_concat(Deriv_Cd || Description) from DERIVATIONS), (select "
               "count(*) from SOURCES), 0, 0, 0, 0, 0 from FOOD_NOTES"
            << "1009|203|15|22.1|26.3||0.252||1|Analysed in 1976; Protein by Kjeldahl\n"
               "1009|208|0|||||NC|4|\n1009|1|Values for cheddar of all sizes|AAnalytical,"
               "NCCalculated|2|0|0|0|0|0";
        QTest::newRow("foods without nutrient data are left out, and so are records of no food")
            << int(Ascii) << "select count(*) from FOODS_WR where NDB_No in (11998, 99998)"
            << "0";
        QTest::newRow("SR Legacy cheddar keeps its NDB number and the SR figures")
            << int(Fdc)
            << "select NDB_No, \"desc\", FdGrp_Cd, Energ_Kcal, Protein, Vit_A, FA_Sat, Calcium, "
               "Cholestrl, GmWt_1, GmWt_Desc1, GmWt_2, GmWt_Desc2 from FOODS_WR where NDB_No=1009"
            << "1009|Cheese, cheddar|0100|403|24.9|1002|21.092|721|105|132|1 cup, diced|244|1 cup, "
               "melted";
        QTest::newRow("every portion of cheddar, in sequence order whatever the order of the file")
            << int(Fdc) << "select Seq, Amount, Msre_Desc, Gm_Wgt from SERVINGS where NDB_No=1009"
            << "1|1|cup, diced|132\n2|1|cup, melted|244\n3|1|cup, shredded|113\n4|1|oz|28.35\n5|1|"
               "cubic inch|17\n6|1|slice (1 oz)|28";
        QTest::newRow("a nutrient missing or without a figure is unknown and has no row")
            << int(Fdc)
            << "select Cholestrl is null, Calcium is null, (select count(*) from NUTRIENT_DATA "
               "where "
               "NDB_No=9200001 and Nutr_No in (601, 301)) from FOODS_WR where NDB_No=9200001"
            << "1|1|0";
        QTest::newRow("energy in kcal, else the Atwater energy with specific factors")
            << int(Fdc)
            << "select NDB_No, Energ_Kcal from FOODS_WR where NDB_No in (9200001, 9200002)"
            << "9200001|400\n9200002|410";
        QTest::newRow("a branded food: brand first, label serving first, barcodes without zeros")
            << int(Fdc)
            << "select \"desc\", GmWt_1, GmWt_Desc1, GmWt_Desc2, (select group_concat(Code || ' ' "
               "|| "
               "NDB_No, ', ') from BARCODES) from FOODS_WR where NDB_No = 9200001"
            << "Hilltop Creamery, CHEDDAR CHEESE|28|1 ONZ|1 cup, diced|12345678905 9200001, "
               "98765432101 9200002";
        QTest::newRow(
            "a description that starts with its brand stays; quotes, a line break and '@'")
            << int(Fdc)
            << "select \"desc\", GmWt_Desc1 from FOODS_WR where NDB_No in (9200002, 9200003)"
            << "HILLTOP CREAMERY SHARP CHEDDAR|0.5 cup\nMeadow Foods, Inc., BAR, \"CHEWY\" OATS & "
               "HONEY \uFF20 HOME|40 g";
        QTest::newRow("survey portions give their amount in the description")
            << int(Fdc)
            << "select Seq, Amount, Msre_Desc, Gm_Wgt from SERVINGS where NDB_No=9100001"
            << "1|1.5|cups, shredded|169.5\n2|1|Quantity not specified|28";
        QTest::newRow("a Foundation portion is its unit and modifier")
            << int(Fdc) << "select \"desc\", GmWt_Desc1 from FOODS_WR where NDB_No=1001"
            << "Butter, salted|1 cup, melted";
        QTest::newRow("SR, WWEIA and branded categories with foods; a repeated name marked")
            << int(Fdc) << "select * from FOODS_GROUP order by 1"
            << "0100|Dairy and Egg Products\n0900|Fruits and Fruit Juices\nB0001|Cheese "
               "(branded)\nB0002|Cereal Bars\nW1602|Cheese";
        QTest::newRow("foods of other data types are passed over")
            << int(Fdc) << "select count(*), sum(NDB_No = 9300001) from FOODS_WR"
            << "7|0";
        QTest::newRow(
            "nutrients named by nutrient.csv, units as SR writes them, odd numbers our own")
            << int(Fdc) << "select * from NUTRIENTS where Nutr_No in (208, 328, 101063) order by 1"
            << "208|Energy|kcal|300\n328|Vitamin D (D2 + D3)|µg|8700\n101063|Sugars, Total|g|1510";
        QTest::newRow("of a figure given twice the last counts")
            << int(Fdc) << "select Nutr_Val from NUTRIENT_DATA where NDB_No=9200002 and Nutr_No=203"
            << "24";
        QTest::newRow("where the data comes from")
            << int(Fdc) << "select \"Key\", Value from DATA_INFO order by 1"
            << "DataTypes|Foundation, SR Legacy, Survey (FNDDS), Branded\nPublished|2024-04-18\n"
               "Source|USDA FoodData Central";
        QTest::newRow("the search index")
            << int(Fdc) << "select rowid from FOODS_FTS where \"desc\" like '%chewy%'"
            << "9200003";
        QTest::newRow("amounts written \"717.0\", \"409\" and \"51.368745\"")
            << int(Fdc) << "select Nutr_No, Nutr_Val from NUTRIENT_DATA where NDB_No=1001"
            << "208|717\n606|51.368745\n957|409";
        QTest::newRow("what figures rest on; a derivation by its id without the download's table")
            << int(Fdc)
            << "select NDB_No, Nutr_No, Data_Pts, Min, Max, Median, Deriv_Cd, Src_Cd, Footnote "
               "from NUTRIENT_STATS"
            << "1001|606|3|50.1|52.59|51.4|||Calculated from 3 samples\n9003|205|0||||49||\n"
               "9003|221|0||||||\n9003|291|29|1.4|3.5||1||";
        QTest::newRow("a Foundation food's footnote; no code tables without the download's")
            << int(Fdc)
            << "select *, (select count(*) from sqlite_master where name in ('DERIVATIONS', "
               "'SOURCES')) from FOOD_NOTES"
            << "1001|1|Source number reflects the actual number of samples analyzed for a "
               "nutrient.|0";
        const QString legacy = QStringLiteral(
            "select count(*), (select group_concat(Msre_Desc || ' ' || Gm_Wgt, '; ') from SERVINGS "
            "where NDB_No=1009), (select count(*) from NUTRIENT_STATS) from FOODS_WR");
        QTest::newRow("the SR Legacy download: its 7,793 foods, cheddar's six portions by modifier")
            << int(Legacy) << legacy
            << "7793|cup, diced 132; cup, melted 244; cup, shredded 113; oz 28.35; cubic inch 17; "
               "slice (1 oz) 28|5";
        QTest::newRow("its zip reads the same")
            << int(LegacyZip) << legacy << queryText(built[Legacy], legacy);
        QTest::newRow("raw egg's portions in order across a skipped sequence number")
            << int(Legacy)
            << "select group_concat(Seq || ' ' || Msre_Desc, '; ') from SERVINGS where NDB_No=1123"
            << "1 large; 2 extra large; 3 jumbo; 4 cup (4.86 large eggs); 5 medium; 6 small";
        QTest::newRow("derivation and source tables; a derivation's source from its row")
            << int(Legacy)
            << "select Data_Pts, Min, Max, Median, Deriv_Cd, Src_Cd, (select count(*) from "
               "DERIVATIONS), (select Description from SOURCES where Src_Cd = '4') from "
               "NUTRIENT_STATS where NDB_No=1009 and Nutr_No=204"
            << "44|32.1|37.6|33.2|A|1|64|Calculated or imputed";
    }
    void tables() {
        QFETCH(int, source);
        QFETCH(QString, sql);
        QTEST(queryText(built[source], sql), "rows");
    }

    void bothSourcesGiveTheSameTables_data() {
        QTest::addColumn<QString>("sql");
        const QString shared = QStringLiteral("NDB_No in (1009, 4053, 8510, 27001)");
        QTest::newRow("foods") << "select * from FOODS_WR where " + shared + " order by NDB_No";
        QTest::newRow("groups") << QStringLiteral("select * from FOODS_GROUP order by 1");
        QTest::newRow("servings") << "select * from SERVINGS where " + shared + " order by 1, 2";
        QTest::newRow("figures") << "select * from NUTRIENT_DATA where " + shared +
                                        " order by 1, 2";
        QTest::newRow("nutrients")
            << "select * from NUTRIENTS where Nutr_No in (select Nutr_No from "
               "NUTRIENT_DATA where " +
                   shared + ") order by 1";
    }

    void bothSourcesGiveTheSameTables() {
        QFETCH(QString, sql);
        const QString jar = queryText(built[Jar], sql);
        QVERIFY(jar.count(QLatin1Char('\n')) > 0);
        QCOMPARE(queryText(built[Ascii], sql), jar);
    }

    // A damaged or changed copy of a fixture: the build fails naming file and line and leaves no
    // file, or it gives the rows.
    void changedInput_data() {
        QTest::addColumn<int>("source");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("prefix"); // see changeFile
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("result"); // the rows, or the error
        const QString foods =
            QStringLiteral("select NDB_No, \"desc\", FdGrp_Cd from FOODS_WR order by NDB_No");
        QTest::newRow("a group code that is not four digits")
            << int(Ascii) << "FD_GROUP.txt" << QByteArray("~0400~") << QByteArray("~04~^~Fats~")
            << QString() << "FD_GROUP.txt:4: food group code '04' is not four digits";
        QTest::newRow("a food of an unknown group")
            << int(Ascii) << "FOOD_DES.txt" << QByteArray("~01001~")
            << QByteArray("~01001~^~4200~^~Butter~") << QString()
            << "FOOD_DES.txt:5: food 1001 names the unknown food group 4200";
        QTest::newRow("a food given twice in FOOD_DES.txt")
            << int(Ascii) << "FOOD_DES.txt" << QByteArray("~01001~")
            << QByteArray("~01009~^~0100~^~Cheese~") << QString()
            << "FOOD_DES.txt:5: food 01009 given twice";
        QTest::newRow("a figure of a nutrient that NUTR_DEF lacks")
            << int(Ascii) << "NUT_DATA.txt" << QByteArray("~01001~^~394~")
            << QByteArray("~01001~^~999~^1.5") << QString()
            << "NUT_DATA.txt:17: nutrient 999 is not in NUTR_DEF.txt";
        QTest::newRow("an amount that is no number")
            << int(Ascii) << "NUT_DATA.txt" << QByteArray("~01009~^~203~")
            << QByteArray("~01009~^~203~^24,9^15") << QString()
            << "NUT_DATA.txt:2: amount '24,9' is not a number";
        QTest::newRow("a figure given twice")
            << int(Ascii) << "NUT_DATA.txt" << QByteArray("~01009~^~203~")
            << QByteArray("~01009~^~208~^1") << QString()
            << "NUT_DATA.txt:2: nutrient 208 of food 01009 given twice";
        QTest::newRow("a minimum that is no number")
            << int(Ascii) << "NUT_DATA.txt" << QByteArray("~01009~^~203~")
            << QByteArray("~01009~^~203~^24.9^15^^^^^^^x") << QString()
            << "NUT_DATA.txt:2: minimum 'x' is not a number";
        QTest::newRow("a gram weight missing")
            << int(Ascii) << "WEIGHT.txt" << QByteArray("~01009~^~4~")
            << QByteArray("~01009~^~4~^1^~oz~^^") << QString()
            << "WEIGHT.txt:6: gram weight '' is not a number";
        QTest::newRow("a listed food without its file")
            << int(Jar) << "usda_sr24/foods.index" << QByteArray("23001|")
            << QByteArray("23002|Beef") << QString()
            << "usda_sr24/23002.xml: missing from the jar (listed in usda_sr24/foods.index line 3)";
        QTest::newRow("a nutrient given twice")
            << int(Jar) << "usda_sr24/23001.xml" << QByteArray("<food")
            << QByteArray("<food uid=\"23001\"><nutrient amount=\"1\" name=\"Iron\"/>\n<nutrient "
                          "amount=\"2\" name=\"Iron\"/></food>")
            << QString() << "usda_sr24/23001.xml:2: nutrient Iron given twice";
        QTest::newRow("an index line without a number")
            << int(Jar) << "usda_sr24/foods.index" << QByteArray("23001|")
            << QByteArray("Beef|23001") << QString()
            << "usda_sr24/foods.index:3: expected a food number, '|' and a description";
        QTest::newRow("a food file that is no XML")
            << int(Jar) << "usda_sr24/23001.xml" << QByteArray("<food")
            << QByteArray("<food uid=\"23001\">\n<measure amount=\"1\"") << QString()
            << "usda_sr24/23001.xml:2: ";
        QTest::newRow("a nutrient name the table lacks")
            << int(Jar) << "usda_sr24/23001.xml" << QByteArray("<food")
            << QByteArray("<food uid=\"23001\"><nutrient amount=\"1\" name=\"Kryptonite\"/></food>")
            << QString() << "usda_sr24/23001.xml:1: unknown nutrient 'Kryptonite'";
        QTest::newRow("a file that is missing")
            << int(Ascii) << "NUTR_DEF.txt" << QByteArray("~") << QByteArray() << QString()
            << "NUTR_DEF.txt: no such file";
        QTest::newRow("a header in another column order reads the same")
            << int(Fdc) << "food.csv" << QByteArray() << QByteArray("=food-reordered.csv") << foods
            << queryText(built[Fdc], foods);
        QTest::newRow("a Foundation food published later takes a shared NDB number")
            << int(Fdc) << "food.csv" << QByteArray()
            << QByteArray("\"9400002\",\"foundation_food\",\"Cheese, cheddar, Foundation\",\"1\","
                          "\"2024-04-01\"")
            << "select NDB_No, \"desc\" from FOODS_WR where NDB_No in (1009, 9001009, 9400002) "
               "order "
               "by 1"
            << "1009|Cheese, cheddar, Foundation\n9001009|Cheese, cheddar";
        QTest::newRow("a malformed amount, with file, line and field")
            << int(Fdc) << "food_nutrient.csv" << QByteArray()
            << QByteArray("\"1\",\"9001009\",\"1008\",\"4x03\",,,,,,,") << QString()
            << "/food_nutrient.csv:29: field 'amount': '4x03' is not a number";
        QTest::newRow("a number of analyses that is no whole number")
            << int(Fdc) << "food_nutrient.csv" << QByteArray()
            << QByteArray("1,9001009,1005,1,2.5,,,,,,") << QString()
            << "/food_nutrient.csv:29: field 'data_points': '2.5' is not a whole number";
        QTest::newRow("figures of a nutrient that nutrient.csv lacks are passed over and counted")
            << int(Fdc) << "food_nutrient.csv" << QByteArray()
            << QByteArray("1,9001009,4242,1,,,,,,,\n2,171688,4242,,,,,,,,")
            << "select count(*) from NUTRIENT_DATA where NDB_No=1009"
            << "7\nskipped 2 figures of nutrient 4242, which nutrient.csv lacks";
        QTest::newRow("a description with a no-break space and a line break in its quotes")
            << int(Fdc) << "food.csv" << QByteArray("\"9001009\"")
            << QByteArray("9001009,sr_legacy_food,\"Cheese,\xC2\xA0"
                          "cheddar,\n sharp\",1,")
            << "select \"desc\" from FOODS_WR where NDB_No=1009"
            << "Cheese, cheddar, sharp";
        QTest::newRow("an SR Legacy food with an empty category")
            << int(Fdc) << "food.csv" << QByteArray("\"9001009\"")
            << QByteArray("9001009,sr_legacy_food,Cheese,,")
            << "select FdGrp_Cd from FOODS_WR where NDB_No=1009"
            << "Z000";
        QTest::newRow("a category without a code is known by its id")
            << int(Fdc) << "food_category.csv" << QByteArray("\"9\"")
            << QByteArray("9,,Fruits and Fruit Juices")
            << "select * from FOODS_GROUP where FdGrp_Desc like 'Fruits%'"
            << "9|Fruits and Fruit Juices";
        QTest::newRow("a food its data type's table does not list is not current: left out")
            << int(Fdc) << "food.csv" << QByteArray()
            << QByteArray("9400003,foundation_food,Butter,1,") << "select count(*) from FOODS_WR"
            << "7\nleft out 1 Foundation food of food.csv that foundation_food.csv does not list "
               "(not current)";
        QTest::newRow("without that table every food of the type is built, and said")
            << int(Fdc) << "foundation_food.csv" << QByteArray() << QByteArray()
            << "select NDB_No from FOODS_WR where \"desc\" like 'Butter%'"
            << "9400001\nbuilt every Foundation food of food.csv (1): the download has no "
               "foundation_food.csv to tell the current ones";
        QTest::newRow("of a figure given twice what the last row says: here nothing")
            << int(Fdc) << "food_nutrient.csv" << QByteArray("\"9200013\"")
            << QByteArray("9200013,9200002,1003,23,5,,,,,,")
            << "select count(*) from NUTRIENT_STATS where NDB_No=9200002"
            << "0";
        QTest::newRow("a category that food_category.csv lacks")
            << int(Fdc) << "food.csv" << QByteArray("\"9001009\"")
            << QByteArray("9001009,sr_legacy_food,Gouda,77,") << QString()
            << "/food.csv:3: field 'food_category_id': category 77 is not in food_category.csv";
        QTest::newRow("a food given twice in food.csv")
            << int(Fdc) << "food.csv" << QByteArray()
            << QByteArray("\"9001009\",\"sr_legacy_food\",\"Cheddar\",\"1\",\"\"") << QString()
            << "/food.csv:11: field 'fdc_id': food 9001009 given twice";
        QTest::newRow("a column missing")
            << int(Fdc) << "nutrient.csv" << QByteArray() << QByteArray("=food_category.csv")
            << QString() << "/nutrient.csv: no column 'name' in the header";
        QTest::newRow("a file missing")
            << int(Fdc) << "food_nutrient.csv" << QByteArray() << QByteArray() << QString()
            << "/food_nutrient.csv: no such file";
    }
    void changedInput() {
        QFETCH(int, source);
        QFETCH(QString, file);
        QFETCH(QByteArray, prefix);
        QFETCH(QByteArray, line);
        QFETCH(QString, sql);
        QFETCH(QString, result);
        QTemporaryDir work;
        const QString folder = work.filePath(sourceNames[source]);
        QVERIFY(copyFixture(source == Jar ? "jar/usda_sr24" : sourceNames[source],
                            source == Jar ? folder + "/usda_sr24" : folder));
        QVERIFY(changeFile(QDir(folder).filePath(file), prefix, line));
        QVERIFY(source != Jar || zipFolder(folder, work.filePath("bad.jar")));
        const QString output = work.filePath(QStringLiteral("FOODS.db"));
        QStringList notes;
        const QString error =
            build(source, source == Jar ? work.filePath("bad.jar") : folder, output, &notes);
        if (sql.isEmpty()) {
            QVERIFY2(error.contains(result), qPrintable(error));
            QVERIFY(!QFile::exists(output));
        } else {
            QVERIFY2(error.isEmpty(), qPrintable(error));
            QCOMPARE((QStringList{queryText(output, sql)} + notes).join(QLatin1Char('\n')), result);
        }
    }

    void failedBuildLeavesOutputUntouched() {
        QTemporaryDir work;
        const QString output = work.filePath(QStringLiteral("FOODS.db"));
        QVERIFY(writeFile(output, "previous"));
        SrData data;
        data.groups = {{QStringLiteral("0100"), QStringLiteral("Dairy")}};
        data.foods.push_back(
            {1001, QStringLiteral("Milk"), QStringLiteral("0100"), {}, {{208, 61}}});
        data.foods.push_back({1001, QStringLiteral("Cheese"), QStringLiteral("0100"), {}, {}});
        FoodsDbWriter writer;
        // Refused by the library while writing, then refused before writing.
        QVERIFY(!writer.write(data, output, {}));
        QVERIFY2(
            writer.errorString().contains(QLatin1String("food 1001: UNIQUE constraint failed")),
            qPrintable(writer.errorString()));
        data.foods[1] = {1002, QStringLiteral("Cheese, @1@"), QStringLiteral("0100"), {}, {}};
        QVERIFY(!writer.write(data, output, {}));
        QVERIFY(
            writer.errorString().startsWith(QLatin1String("food 1002: its description holds '@'")));
        QCOMPARE(fileContents(output), QByteArray("previous"));
        QCOMPARE(QDir(work.path()).entryList(QDir::Files), QStringList{"FOODS.db"});

        // A complete file replaces the old one whole, readable by all.
        data.foods.pop_back();
        QVERIFY2(writer.write(data, output, {}), qPrintable(writer.errorString()));
        QCOMPARE(queryText(output, QStringLiteral("select \"desc\", Energ_Kcal from FOODS_WR")),
                 QStringLiteral("Milk|61"));
        QVERIFY(QFileInfo(output).permissions().testFlag(QFileDevice::ReadOther));
        QCOMPARE(QDir(work.path()).entryList(QDir::Files), QStringList{"FOODS.db"});
    }
};

QTEST_GUILESS_MAIN(TestSources)
#include "tst_sources.moc"
