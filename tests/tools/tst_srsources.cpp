// FOODS.db from the SR sources: the SR24 jar and the SR ASCII files, their readers and the writer.
#include "tests/tools/toolsfixture.h"
#include "tools/foodsdbwriter.h"
#include "tools/sr24jarreader.h"
#include "tools/srasciireader.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

// Builds FOODS.db from the jar or the ASCII folder; the error, or an empty string.
QString build(bool ascii, const QString &input, const QString &output) {
    Sr24JarReader jar;
    SrAsciiReader files(24);
    FoodsDbWriter writer;
    if (ascii ? !files.readDirectory(input) : !jar.readFile(input))
        return ascii ? files.errorString() : jar.errorString();
    return writer.write(ascii ? files.takeData() : jar.takeData(), output, {})
               ? QString()
               : writer.errorString();
}

} // namespace

class TestSrSources : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString jarDb;
    QString asciiDb;

private slots:
    void initTestCase() {
        const QString jar = dir.filePath(QStringLiteral("sr24.jar"));
        QVERIFY(zipFolder(fixturePath(QStringLiteral("jar")), jar));
        jarDb = dir.filePath(QStringLiteral("jar.db"));
        asciiDb = dir.filePath(QStringLiteral("ascii.db"));
        QCOMPARE(build(false, jar, jarDb), QString());
        QCOMPARE(build(true, fixturePath(QStringLiteral("sr")), asciiDb), QString());
    }

    void numbers_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("serving"); // of that many cups
        QTest::newRow("a whole amount has no decimals") << QByteArray("1.0") << "1 cup";
        QTest::newRow("three decimals are kept, more rounded")
            << QByteArray("3.52749") << "3.527 cup";
        QTest::newRow("rounding may end in a whole number") << QByteArray("1.9999") << "2 cup";
        QTest::newRow("a leading point, zeros of the whole part kept")
            << QByteArray(".5") << "0.5 cup";
        QTest::newRow("an empty text is refused") << QByteArray("") << "refused";
        QTest::newRow("a decimal comma is refused") << QByteArray("24,9") << "refused";
        QTest::newRow("trailing rubbish is refused") << QByteArray("12abc") << "refused";
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

    void tables_data() {
        QTest::addColumn<bool>("ascii");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("rows");
        QTest::newRow("cheddar keeps its figures and its first two servings")
            << false
            << "select NDB_No, \"desc\", FdGrp_Cd, Energ_Kcal, Protein, Vit_A, FA_Sat, Vit_E, "
               "GmWt_1, "
               "GmWt_Desc1, GmWt_2, GmWt_Desc2, typeof(Protein) from FOODS_WR where NDB_No=01009"
            << "1009|Cheese, cheddar|0100|403|24.9|1002|21.092|0.29|132|1 cup, diced|244|1 cup, "
               "melted|real";
        QTest::newRow("every serving of cheddar, in USDA order")
            << false << "select Seq, Amount, Msre_Desc, Gm_Wgt from SERVINGS where NDB_No=1009"
            << "1|1|cup, diced|132\n2|1|cup, melted|244\n3|1|cup, shredded|113\n4|1|oz|28.35\n5|1|"
               "cubic inch|17\n6|1|slice (1 oz)|28";
        QTest::newRow("a nutrient without a figure has neither a row nor an amount")
            << false
            << "select count(*), (select Tot_Lipid is null from FOODS_WR where NDB_No=1009) from "
               "NUTRIENT_DATA where NDB_No=1009 and Nutr_No=204"
            << "0|1";
        QTest::newRow("the jar's names become USDA nutrients, Omega-3 one of our own")
            << false
            << "select * from NUTRIENTS where Nutr_No in (324, 606, 9000) order by SR_Order"
            << "324|Vitamin D|IU|8750\n606|Fatty acids, total saturated|g|9700\n9000|Omega-3 fatty "
               "acids|g|12910";
        QTest::newRow("all 25 groups; by the exception table, by fixed and by plain prefixes")
            << false
            << "select NDB_No, FdGrp_Cd from FOODS_WR union all select 99999, count(*) from "
               "FOODS_GROUP "
               "order by 1"
            << "1009|0100\n4053|0400\n8510|2500\n23001|1300\n27001|0600\n99999|25";
        QTest::newRow("a measure name with quote entities, a food without servings")
            << false << "select GmWt_Desc1 from FOODS_WR where NDB_No in (8510, 23001) order by 1"
            << "\n1 bar (1\" x 4\")";
        QTest::newRow("the data is SR release 24, also by its user version")
            << false
            << "select \"Key\", Value from DATA_INFO union all select 'version', * from "
               "pragma_user_version order by 1"
            << "Release|24\nSource|USDA SR\nversion|24";
        QTest::newRow("the indexes for the program's statements and for barcodes")
            << false
            << "select name from sqlite_master where type='index' and sql is not null order by 1"
            << "BARCODES_Code\nFOODS_GROUP_desc\nFOODS_WR_desc\nFOODS_WR_group\nFOODS_WR_rank\n"
               "WORDS_WR_text";
        QTest::newRow("code page 1252 text becomes UTF-8")
            << true
            << "select \"desc\", Units from FOODS_WR, NUTRIENTS where NDB_No=11999 and Nutr_No=418"
            << "Crème brûlée, “café” style|µg";
        QTest::newRow("vitamin E falls back to the equivalents of early releases")
            << true
            << "select Vit_E, (select Nutr_Val from NUTRIENT_DATA where NDB_No=1001 and "
               "Nutr_No=394) from FOODS_WR where NDB_No=1001"
            << "1.58|1.58";
        QTest::newRow("foods without nutrient data are left out, and so are records of no food")
            << true << "select count(*) from FOODS_WR where NDB_No in (11998, 99998)"
            << "0";
    }

    void tables() {
        QFETCH(bool, ascii);
        QFETCH(QString, sql);
        QFETCH(QString, rows);
        QCOMPARE(queryText(ascii ? asciiDb : jarDb, sql), rows);
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
        QTest::newRow("origin") << QStringLiteral("select * from DATA_INFO order by 1");
    }

    void bothSourcesGiveTheSameTables() {
        QFETCH(QString, sql);
        const QString jar = queryText(jarDb, sql);
        QVERIFY(jar.count(QLatin1Char('\n')) > 0);
        QCOMPARE(queryText(asciiDb, sql), jar);
    }

    void damagedInput_data() {
        QTest::addColumn<QString>("file"); // of the ASCII files, or jar/...
        QTest::addColumn<QByteArray>("prefix");
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("message");
        QTest::newRow("a group code that is not four digits")
            << "FD_GROUP.txt" << QByteArray("~0400~") << QByteArray("~04~^~Fats~")
            << "FD_GROUP.txt:4: food group code '04' is not four digits";
        QTest::newRow("a food of an unknown group")
            << "FOOD_DES.txt" << QByteArray("~01001~") << QByteArray("~01001~^~4200~^~Butter~")
            << "FOOD_DES.txt:5: food 1001 names the unknown food group 4200";
        QTest::newRow("a food given twice")
            << "FOOD_DES.txt" << QByteArray("~01001~") << QByteArray("~01009~^~0100~^~Cheese~")
            << "FOOD_DES.txt:5: food 01009 given twice";
        QTest::newRow("a figure of a nutrient that NUTR_DEF lacks")
            << "NUT_DATA.txt" << QByteArray("~01001~^~394~") << QByteArray("~01001~^~999~^1.5")
            << "NUT_DATA.txt:17: nutrient 999 is not in NUTR_DEF.txt";
        QTest::newRow("an amount that is no number")
            << "NUT_DATA.txt" << QByteArray("~01009~^~203~") << QByteArray("~01009~^~203~^24,9^15")
            << "NUT_DATA.txt:2: amount '24,9' is not a number";
        QTest::newRow("an index line without a number")
            << "jar/usda_sr24/foods.index" << QByteArray("23001|") << QByteArray("Beef|23001")
            << "usda_sr24/foods.index:3: expected a food number, '|' and a description";
        QTest::newRow("a food file that is no XML")
            << "jar/usda_sr24/23001.xml" << QByteArray("<food")
            << QByteArray("<food uid=\"23001\">\n<measure amount=\"1\"")
            << "usda_sr24/23001.xml:2: ";
        QTest::newRow("a nutrient name the table lacks")
            << "jar/usda_sr24/23001.xml" << QByteArray("<food")
            << QByteArray("<food uid=\"23001\"><nutrient amount=\"1\" name=\"Kryptonite\"/></food>")
            << "usda_sr24/23001.xml:1: unknown nutrient 'Kryptonite'";
        QTest::newRow("a file that is missing")
            << "NUTR_DEF.txt" << QByteArray("~") << QByteArray() << "NUTR_DEF.txt: no such file";
    }

    void damagedInput() {
        QFETCH(QString, file);
        QFETCH(QByteArray, prefix);
        QFETCH(QByteArray, line);
        QFETCH(QString, message);
        QTemporaryDir work;
        const bool jar = file.startsWith(QLatin1String("jar/"));
        QVERIFY(copyFixture(QStringLiteral("sr"), work.filePath(QStringLiteral("sr"))));
        QVERIFY(copyFixture(QStringLiteral("jar/usda_sr24"),
                            work.filePath(QStringLiteral("jar/usda_sr24"))));
        QVERIFY(changeFile(work.filePath(jar ? file : QStringLiteral("sr/") + file), prefix, line));
        if (jar)
            QVERIFY(zipFolder(work.filePath(QStringLiteral("jar")), work.filePath("bad.jar")));
        const QString error = build(!jar, work.filePath(jar ? QStringLiteral("bad.jar") : "sr"),
                                    work.filePath(QStringLiteral("FOODS.db")));
        QVERIFY2(error.contains(message), qPrintable(error));
    }

    void failedBuildLeavesOutputUntouched() {
        QTemporaryDir work;
        const QString output = work.filePath(QStringLiteral("FOODS.db"));
        QFile old(output);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("previous") == 8);
        old.close();
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
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("previous"));
        old.close();
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

QTEST_GUILESS_MAIN(TestSrSources)
#include "tst_srsources.moc"
