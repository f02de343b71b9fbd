// The user's settings: what KALO.conf gives and keeps, the bookmark lists and the weight rules.
#include "platform/config.h"
#include "settings/bookmarks.h"
#include "settings/findersettings.h"
#include "settings/settings.h"
#include "settings/weightrules.h"
#include "tests/common/fixturedb.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QtTest>

namespace {

// The choices as digits (basic view, full view, Daily Value, Best Match, all words, ranges), the
// weight and the three lists; then Find by Nutrients where it is not as it first opens: the
// conditions, basis, [group], [words], order nutrient and direction.
QString describe(const Settings &s) {
    QString flags;
    for (const bool on :
         {s.basicView, s.fullView, s.showDailyValue, s.bestMatch, s.matchAllWords, s.showRanges})
        flags += on ? '1' : '0';
    QString text =
        QStringLiteral("%1 %2 [%3] [%4] [%5]")
            .arg(flags)
            .arg(s.customWeight)
            .arg(s.bookmarkIds.join(','), s.bookmarkDescs.join(','), s.searchHistory.join(','));
    if (s.finder == FinderSettings())
        return text;
    for (const FinderSettings::Condition &c : s.finder.conditions)
        text += QStringLiteral(" %1%2%3").arg(c.nutrient).arg(c.atMost ? "<=" : ">=", c.amount);
    return text + QStringLiteral(" %1 [%2] [%3] %4 %5")
                      .arg(s.finder.basis, s.finder.group, s.finder.words)
                      .arg(s.finder.orderNutrient)
                      .arg(s.finder.lowestFirst ? "lowest" : "highest");
}

Settings bookmarks(int count) {
    Settings s;
    for (int i = 0; i < count; ++i) {
        s.bookmarkIds << QString::number(1000 + i);
        s.bookmarkDescs << QStringLiteral("food %1").arg(i);
    }
    return s;
}

} // namespace

class TestSettings : public QObject {
    Q_OBJECT
    QString path;

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        path = Config::userFilePath(QStringLiteral("KALO"));
        QDir().mkpath(QFileInfo(path).absolutePath());
    }

    void load_data() {
        QTest::addColumn<QByteArray>("file"); // "-": no file
        QTest::addColumn<QString>("settings");
        QTest::newRow("no file gives the defaults") << QByteArray("-") << "100000 100 [] [] []";
        QTest::newRow("all keys")
            << QByteArray(
                   "[KALO]\nBasicView = 0\nFullView = 1\nDailyValue = 1\nBestMatch = 1\n"
                   "MatchAllWords = 1\nShowRanges = 1\nCustomWeight = 12.5\nBID = 1001|1009\n"
                   "BDesc = Butter|Cheese\nSItems = egg|milk\n")
            << "011111 12.5 [1001,1009] [Butter,Cheese] [egg,milk]";
        QTest::newRow("other groups, lines without '=', unknown keys are passed over; the later of "
                      "two keys wins")
            << QByteArray("\xef\xbb\xbf[Other]\nBID = 5\n[KALO]\njunk\nFoo = 1\nBID = 1\nBID = 2\n")
            << "100000 100 [2] [] []";
        // The open file offers nutrients 203, 208, 305 and 306 and one group, Vegetables.
        QTest::newRow("Find by Nutrients: empty amounts keep their rows, a nutrient the file lacks "
                      "drops its row, a comma amount reads as C-locale, a negative one as none")
            << QByteArray("[KALO]\nFinderNutrients = 306|999|203|305|x\nFinderBounds = "
                          "most|most|least\nFinderAmounts = 20,5||1|-3\nFinderBasis = 100kcal\n"
                          "FinderGroup = Vegetables\nFinderWords = raw\nFinderOrder = 203\n"
                          "FinderOrderDirection = lowest\n")
            << "100000 100 [] [] [] 306<=20.5 203>=1 305>= 100kcal [Vegetables] [raw] 203 lowest";
        QTest::newRow("Find by Nutrients: six rows at most; an unknown group, order nutrient or "
                      "basis is the default")
            << QByteArray("[KALO]\nFinderNutrients = 999|203|203|203|203|203|203|203\nFinderGroup "
                          "= Sweets\nFinderOrder = 999\nFinderBasis = 100 g\n")
            << "100000 100 [] [] [] 203>= 203>= 203>= 203>= 203>= 203>= 100g [] [] 208 highest";
        QTest::newRow("Find by Nutrients: no row left gives an empty energy row")
            << QByteArray("[KALO]\nFinderNutrients = 999\nFinderAmounts = 5\n")
            << "100000 100 [] [] []";
    }
    void load() {
        QFETCH(QByteArray, file);
        QFile::remove(path);
        if (file != "-") {
            QVERIFY(writeFile(path, file));
        }
        Settings s = loadSettings();
        s.finder = finderSettingsFor(s.finder, {203, 208, 305, 306}, {"Vegetables"});
        QTEST(describe(s), "settings");
    }

    void saveAndLoad_data() {
        QTest::addColumn<double>("weight");
        QTest::addColumn<QString>("desc");
        QTest::addColumn<QString>("stored"); // the two lines as written
        QTest::addColumn<QString>("reread");
        const QString finder = " 306<=200 203>= serving [Vegetables] [raw] 203 lowest";
        QTest::newRow("a weight keeps six significant digits")
            << 12.3456789 << "Butter"
            << "CustomWeight = 12.3457\nBID = 1001\nBDesc = Butter"
            << "111111 12.3457 [1001] [Butter] [egg,tea]" + finder;
        // clang-format off
        QTest::newRow("a '|' is written as '/' in a description and as a blank in the history")
            << 100.0 << "egg|milk" << "BDesc = egg/milk\nSItems = egg milk|tea"
            << "111111 100 [1001] [egg/milk] [egg milk,tea]" + finder;
        // clang-format on
        QTest::newRow("Find by Nutrients follows the other keys; an empty amount keeps its place")
            << 100.0 << "Butter"
            << "ShowRanges = 1\nFinderNutrients = 306|203\nFinderBounds = most|least\n"
               "FinderAmounts = 200|\nFinderBasis = serving\nFinderGroup = Vegetables\n"
               "FinderWords = raw\nFinderOrder = 203\nFinderOrderDirection = lowest\n"
            << "111111 100 [1001] [Butter] [egg,tea]" + finder;
    }
    void saveAndLoad() {
        QFETCH(double, weight);
        QFETCH(QString, desc);
        QFETCH(QString, stored);
        QFile::remove(path);
        Settings s;
        s.customWeight = weight;
        s.fullView = s.showDailyValue = s.bestMatch = s.matchAllWords = s.showRanges = true;
        s.bookmarkIds << QStringLiteral("1001");
        s.bookmarkDescs << desc;
        s.searchHistory << (desc.contains('|') ? desc : QStringLiteral("egg")) << "tea";
        s.finder = {
            {{306, true, "200"}, {203, false, ""}}, "serving", "Vegetables", "raw", 203, true};
        QVERIFY(saveSettings(s));
        QVERIFY(QString::fromUtf8(fileContents(path)).contains(stored));
        QTEST(describe(loadSettings()), "reread");
    }

    void bookmarkLists_data() {
        QTest::addColumn<int>("existing");
        QTest::addColumn<QString>("action"); // +id, -id
        QTest::addColumn<bool>("result");
        QTest::addColumn<QString>("ends"); // first id, last id, count of both lists
        QTest::newRow("an add appends the pair") << 2 << "+7" << true << "1000 7 3 3";
        QTest::newRow("a number already bookmarked is not added again")
            << 2 << "+1001" << false << "1000 1001 2 2";
        QTest::newRow("fifty pairs grow to fifty-one") << 50 << "+7" << true << "1000 7 51 51";
        QTest::newRow("fifty-one pairs lose the oldest") << 51 << "+7" << true << "1001 7 51 51";
        QTest::newRow("removing takes the pair out") << 3 << "-1001" << true << "1000 1002 2 2";
        QTest::newRow("removing the last pair takes its description too")
            << 3 << "-1002" << true << "1000 1001 2 2";
        QTest::newRow("removing a number not bookmarked changes nothing")
            << 2 << "-9" << false << "1000 1001 2 2";
    }
    void bookmarkLists() {
        QFETCH(int, existing);
        QFETCH(QString, action);
        Settings s = bookmarks(existing);
        const QString id = action.mid(1);
        const bool result = action.startsWith('+')
                                ? addBookmarkEntry(s, id, QStringLiteral("food ") + id)
                                : removeBookmarkEntry(s, id);
        QTEST(result, "result");
        QTEST(QStringLiteral("%1 %2 %3 %4")
                  .arg(s.bookmarkIds.first(), s.bookmarkIds.last())
                  .arg(s.bookmarkIds.size())
                  .arg(s.bookmarkDescs.size()),
              "ends");
        QCOMPARE(isBookmarked(s, id), action.startsWith('+'));
        for (qsizetype i = 0; i < s.bookmarkIds.size(); ++i) // still in pairs
            QVERIFY(s.bookmarkDescs.at(i).endsWith(s.bookmarkIds.at(i).right(1)));
    }

    void bookmarksFromFile_data() {
        QTest::addColumn<QString>("bid"); // the lists as KALO.conf holds them
        QTest::addColumn<QString>("bdesc");
        QTest::addColumn<QString>("removed");
        QTest::addColumn<QString>("shown"); // number and text of each bookmark listed
        // The database knows 1001 "Butter, salted" and 1009 "Cheese, cheddar", not 1123.
        // clang-format off
        QTest::newRow("lists of equal length are paired by position")
            << "1001|1009" << "Butter|Cheese" << "" << "1001 Butter;1009 Cheese";
        QTest::newRow("a '|' in a stored description: every description from the database")
            << "1001|1009" << "Butter|salted|Cheese" << ""
            << "1001 Butter, salted;1009 Cheese, cheddar";
        QTest::newRow("a description that is only its number is looked up; unknown, it stays")
            << "1123|1009" << "1123|1009" << "" << "1123 1123;1009 Cheese, cheddar";
        QTest::newRow("leading zeros are dropped") << "01009" << "Cheese" << "" << "1009 Cheese";
        QTest::newRow("a number given twice keeps its first pair")
            << "1009|1001|001009" << "Cheese|Butter|Old" << "" << "1009 Cheese;1001 Butter";
        QTest::newRow("removing after drift takes the number with its own description")
            << "1001|1009" << "Butter|salted|Cheese" << "01001" << "1009 Cheese, cheddar";
        // clang-format on
    }
    void bookmarksFromFile() {
        QFETCH(QString, bid);
        QFETCH(QString, bdesc);
        QFETCH(QString, removed);
        QVERIFY(
            writeFile(path, QString("[KALO]\nBID = %1\nBDesc = %2\n").arg(bid, bdesc).toUtf8()));
        Settings s = loadSettings();
        QHash<QString, QString> foods{{"1001", "Butter, salted"}, {"1009", "Cheese, cheddar"}};
        repairBookmarks(s, [&foods](const QString &id) { return foods.value(id); });
        QVERIFY(removed.isEmpty() || removeBookmarkEntry(s, removed));
        QStringList shown;
        for (const BookmarkEntry &entry : bookmarkEntries(s)) {
            shown << entry.id + ' ' + entry.text;
            QVERIFY(!addBookmarkEntry(s, '0' + entry.id, "again")); // one bookmark per food
        }
        QTEST(shown.join(';'), "shown");
    }

    void weightRules_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("grams");
        QTest::newRow("a negative weight counts as positive") << "-50" << 50.0;
        QTest::newRow("an empty field is the default") << "" << 100.0;
        QTest::newRow("an overflowing number is the default") << "1e400" << 100.0;
        QTest::newRow("nan is the default") << "nan" << 100.0;
        QTest::newRow("three decimals are kept") << "12.345" << 12.345;
        QTest::newRow("a decimal comma is a decimal point") << "12,5" << 12.5;
    }
    void weightRules() {
        QFETCH(QString, typed);
        QTEST(weightFromText(typed), "grams");
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
