// Hostile search texts and group names on a copy of the real food database: the program keeps
// running, shows at most one error box, lists what the search rules say, and FOODS.db stays
// byte for byte the same.
#include "app/settings.h"
#include "platform/config.h"
#include "tests/common/fixturedb.h"
#include "tests/reliability/reliability.h"

#include <QComboBox>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

namespace {

QString repeatedTo(const QString &piece, int length) {
    QString text;
    while (text.size() < length)
        text += piece;
    return text.left(length);
}

QString numberedWords(int length) {
    QString text;
    for (int i = 0; text.size() < length; ++i)
        text += QStringLiteral("w%1 ").arg(i);
    return text.left(length);
}

} // namespace

class TestHostileSearch : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void searchText_data();
    void searchText();
    void historyTextsStaySearchable();
    void groupNamesWithApostrophes();

private:
    QTemporaryDir dir;
    QString path;
    QByteArray digest;
    std::unique_ptr<WindowSession> session;
    std::unique_ptr<ReferenceSearch> reference;
};

void TestHostileSearch::initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    QFile::remove(Config::userFilePath(QStringLiteral("KALO")));
    path = copyRealDatabase(dir.path());
    KALO_REQUIRE_REAL_DATABASE(path);
    digest = fileDigest(path);
    QVERIFY(!digest.isEmpty());
    settings = Settings();
    session = std::make_unique<WindowSession>();
    QCOMPARE(session->boxes->count(), 0);
    // The built database holds its rankings already: starting writes nothing.
    QCOMPARE(fileDigest(path), digest);
    reference = std::make_unique<ReferenceSearch>(path);
    QVERIFY(reference->isOpen());
}

void TestHostileSearch::cleanupTestCase() {
    session.reset();
    reference.reset();
    if (!path.isEmpty())
        QCOMPARE(fileDigest(path), digest);
}

void TestHostileSearch::searchText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("category"); // null: "All Categories"
    QTest::addColumn<int>("errorBoxes");
    QTest::addColumn<int>("atLeast"); // foods that must be listed at least

    const QString all;
    QTest::newRow("a brand with an apostrophe") << "campbell's" << all << 0 << 20;
    QTest::newRow("a brand with an apostrophe and capitals") << "McDonald's" << all << 0 << 20;
    QTest::newRow("a lone apostrophe") << "'" << all << 0 << 100;
    QTest::newRow("two apostrophes") << "''" << all << 0 << 0;
    QTest::newRow("an apostrophe within one group") << "campbell's"
                                                    << "Soups, Sauces, and Gravies" << 0 << 20;
    QTest::newRow("closing the quote and dropping a table with blanks")
        << "x'; drop table FOODS_WR; --" << all << 0 << 0;
    QTest::newRow("closing the quote and dropping a table with comments for blanks")
        << "x';/**/drop/**/table/**/FOODS_WR;--" << all << 0 << 0;
    QTest::newRow("closing the quote and ending in a comment")
        << "x'/**/or/**/1=1/**/--" << all << 0 << 0;
    QTest::newRow("closing the quote and inserting a group")
        << "');insert/**/into/**/FOODS_GROUP/**/values('9999','x');--" << all << 0 << 0;
    QTest::newRow("closing the quote and rewriting every description")
        << "%';update/**/FOODS_WR/**/set/**/desc='x';--" << all << 0 << 0;
    QTest::newRow("closing the quote and attaching another database")
        << "';attach/**/'/tmp/kalo-evil.db'/**/as/**/evil;--" << all << 0 << 0;
    QTest::newRow("closing the quote inside a group restriction")
        << "x');/**/delete/**/from/**/FOODS_WR;--"
        << "Dairy and Egg Products" << 0 << 0;
    QTest::newRow("a double quote and a backslash") << "\"\\'" << all << 0 << 0;
    QTest::newRow("a semicolon alone") << ";" << all << 0 << 0;
    QTest::newRow("a percent sign alone") << "%" << all << 0 << 1;
    QTest::newRow("an underscore alone") << "_" << all << 0 << 1;
    QTest::newRow("ten thousand letters of one word")
        << QString(10000, QLatin1Char('a')) << all << 0 << 0;
    QTest::newRow("ten thousand characters of one word repeated")
        << repeatedTo(QStringLiteral("beef "), 10000) << all << 0 << 100;
    // Beyond about a thousand different words the condition outgrows the library's limit.
    QTest::newRow("ten thousand characters of different words")
        << numberedWords(10000) << all << 1 << 0;
    QTest::newRow("about five hundred different words") << numberedWords(2400) << all << 0 << 0;
    QTest::newRow("only separators over all groups") << ", |()+ ,," << all << 0 << 7000;
    QTest::newRow("only separators within a group") << "(+)"
                                                    << "Dairy and Egg Products" << 1 << 0;
    QTest::newRow("an accented word") << QStringLiteral("crème") << all << 0 << 0;
    QTest::newRow("an accented letter alone") << QStringLiteral("é") << all << 0 << 0;
    QTest::newRow("Japanese characters") << QStringLiteral("日本") << all << 0 << 0;
    QTest::newRow("characters outside the basic plane")
        << QStringLiteral("🍎 apple") << all << 0 << 10;
    QTest::newRow("control characters") << QStringLiteral("\x01\x02\x1b[0m\x7f") << all << 0 << 0;
    QTest::newRow("a tab inside a word") << QStringLiteral("beef\tstew") << all << 0 << 0;
    QTest::newRow("a line break between words") << QStringLiteral("beef\nstew") << all << 0 << 0;
    QTest::newRow("an empty text") << "" << all << 0 << 0;
    QTest::newRow("a NUL character inside words")
        << QStringLiteral("beef") + QChar(0) + QStringLiteral("'; drop table FOODS_WR; --") +
               QChar(0)
        << all << 0 << 0;
}

void TestHostileSearch::searchText() {
    QFETCH(QString, text);
    QFETCH(QString, category);
    QFETCH(int, errorBoxes);
    QFETCH(int, atLeast);
    auto *list = session->list("searchList");
    // Start from a list that a failing search must leave alone.
    session->search(QStringLiteral("cheddar"));
    const QSet<QString> before = listedIds(list);
    QVERIFY(!before.isEmpty());
    const int boxesBefore = session->boxes->count();

    session->search(text, category);

    QVERIFY(session->idle());
    QVERIFY2(session->boxes->count() - boxesBefore == errorBoxes,
             qPrintable(session->boxes->texts.mid(boxesBefore).join(QLatin1Char('\n'))));
    for (const QString &shown : session->boxes->texts.mid(boxesBefore))
        QVERIFY2(shown.startsWith(QLatin1String("<qt>Database Error:")), qPrintable(shown));
    QCOMPARE(session->child<QComboBox>("searchCombo")->itemText(0), text);
    if (text.isEmpty()) {
        QCOMPARE(listedIds(list), before); // recorded in the history, nothing searched
    } else if (errorBoxes == 0) {
        const QSet<QString> shown = listedIds(list);
        QCOMPARE(shown, reference->foods(text, category));
        QVERIFY2(shown.size() >= atLeast, qPrintable(QString::number(shown.size())));
    } else {
        QCOMPARE(listedIds(list), before);
    }
    QCOMPARE(fileDigest(path), digest);
}

void TestHostileSearch::historyTextsStaySearchable() {
    // The texts above are in the history now; choosing one again from the list searches it again.
    auto *combo = session->child<QComboBox>("searchCombo");
    QVERIFY(combo->count() >= 10);
    QCOMPARE(combo->count(), 17);
    const int boxesBefore = session->boxes->count();
    for (int i = combo->count() - 1; i >= 0; i -= 4) {
        const QString text = combo->itemText(i);
        combo->setCurrentIndex(i);
        session->search(combo->currentText());
        QVERIFY(session->idle());
        if (session->boxes->count() == boxesBefore && !text.isEmpty())
            QCOMPARE(listedIds(session->list("searchList")), reference->foods(text));
    }
    QVERIFY(session->boxes->count() - boxesBefore <= 1);
    QCOMPARE(fileDigest(path), digest);
}

void TestHostileSearch::groupNamesWithApostrophes() {
    // A database of its own, built from the fixture: groups whose names and codes hold
    // apostrophes browse and search like any other.
    session.reset();
    QTemporaryDir other;
    const QString fixture = prepareInstallDir(
        other.path(), true,
        {QStringLiteral("INSERT INTO FOODS_GROUP VALUES ('1900', 'Sweets ''n'' Candies')"),
         QStringLiteral("INSERT INTO FOODS_GROUP VALUES ('2''00', 'O''Brien''s; DROP TABLE "
                        "FOODS_WR; --')"),
         QStringLiteral("INSERT INTO FOODS_WR (NDB_No, \"desc\", FdGrp_Cd) VALUES (19001, "
                        "'Fudge, grandma''s', '1900')"),
         QStringLiteral("INSERT INTO FOODS_WR (NDB_No, \"desc\", FdGrp_Cd) VALUES (19002, "
                        "'Toffee, @CHD@', '1900')"),
         QStringLiteral("INSERT INTO FOODS_WR (NDB_No, \"desc\", FdGrp_Cd) VALUES (20001, "
                        "'Potatoes, O''Brien', '2''00')")});
    QVERIFY(!fixture.isEmpty());
    {
        // The first start builds the rankings; from then on nothing may change the file.
        WindowSession first;
        QCOMPARE(first.boxes->count(), 0);
    }
    const QByteArray before = fileDigest(fixture);
    ReferenceSearch fixtureReference(fixture);
    {
        WindowSession s;
        auto *groups = s.child<QComboBox>("categoryCombo");
        QVERIFY(groups->findText(QStringLiteral("Sweets 'n' Candies")) >= 0);
        s.browse(QStringLiteral("Sweets 'n' Candies"));
        QCOMPARE(listedIds(s.list("browseList")), (QSet<QString>{"19001", "19002"}));
        s.browse(QStringLiteral("O'Brien's; DROP TABLE FOODS_WR; --"));
        QCOMPARE(listedIds(s.list("browseList")), QSet<QString>{"20001"});

        s.search(QStringLiteral("fudge cheddar"), QStringLiteral("Sweets 'n' Candies"));
        QCOMPARE(listedIds(s.list("searchList")), (QSet<QString>{"19001", "19002"}));
        s.search(QStringLiteral("grandma's"), QStringLiteral("Sweets 'n' Candies"));
        QCOMPARE(listedIds(s.list("searchList")), QSet<QString>{"19001"});
        s.search(QStringLiteral("O'Brien"), QStringLiteral("O'Brien's; DROP TABLE FOODS_WR; --"));
        QCOMPARE(listedIds(s.list("searchList")), QSet<QString>{"20001"});
        s.search(QStringLiteral("'"));
        QCOMPARE(listedIds(s.list("searchList")), fixtureReference.foods(QStringLiteral("'")));
        QCOMPARE(listedIds(s.list("searchList")), (QSet<QString>{"19001", "20001"}));

        // The food opens with its group's name in the report.
        const WindowSession::Opened fudge = s.open(s.list("searchList"), QStringLiteral("19001"));
        QVERIFY(fudge.shown);
        QVERIFY2(fudge.report.contains(QStringLiteral("Category: Sweets 'n' Candies")),
                 qPrintable(fudge.report));
        QCOMPARE(s.boxes->count(), 0);
        QVERIFY(s.idle());
    }
    QCOMPARE(fileDigest(fixture), before);
}

QTEST_MAIN(TestHostileSearch)
#include "tst_hostilesearch.moc"
