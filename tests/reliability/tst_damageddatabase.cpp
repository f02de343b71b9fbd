// Damaged, missing and unusual food databases: the window always opens, shows the one error box
// the failure calls for (or none), never crashes or hangs, and changes nothing in the file but
// missing ranking tables.
#include "app/settings.h"
#include "db/sqlitedb.h"
#include "finding/foodlistitem.h"
#include "finding/topcriteria.h"
#include "platform/config.h"
#include "tests/common/fixturedb.h"
#include "tests/reliability/reliability.h"

#include <QComboBox>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include <functional>
#include <sqlite3.h>
#include <unistd.h>

namespace {

bool overwrite(const QString &path, qint64 offset, const QByteArray &bytes) {
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && file.seek(offset) &&
           file.write(bytes) == bytes.size();
}

bool damage(const QString &kind, const QString &path) {
    if (kind == QLatin1String("missing"))
        return QFile::remove(path);
    if (kind == QLatin1String("empty"))
        return QFile::resize(path, 0);
    if (kind == QLatin1String("text")) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
               file.write("Butter, salted\nCheese, cheddar\n") > 0;
    }
    if (kind == QLatin1String("sqlite2")) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
               file.write(QByteArray("** This file contains an SQLite 2.1 database **")
                              .leftJustified(4096, '\0')) == 4096;
    }
    if (kind == QLatin1String("truncated"))
        return QFile::resize(path, QFileInfo(path).size() / 2);
    if (kind == QLatin1String("header"))
        return overwrite(path, 16, QByteArray(84, '\xA5'));
    if (kind == QLatin1String("zeroed")) {
        const qint64 size = QFileInfo(path).size();
        return overwrite(path, size / 3, QByteArray(int(size / 3), '\0'));
    }
    if (kind == QLatin1String("directory"))
        return QFile::remove(path) && QDir().mkdir(path);
    if (kind == QLatin1String("no WORDS_WR"))
        return runStatements(path, {QStringLiteral("DROP TABLE WORDS_WR")});
    if (kind == QLatin1String("no FOODS_GROUP"))
        return runStatements(path, {QStringLiteral("DROP TABLE FOODS_GROUP")});
    if (kind == QLatin1String("no FOODS_WR"))
        return runStatements(path, {QStringLiteral("DROP TABLE FOODS_WR")});
    if (kind == QLatin1String("no desc"))
        return runStatements(path, {QStringLiteral("DROP INDEX FOODS_WR_group"),
                                    QStringLiteral("ALTER TABLE FOODS_WR DROP COLUMN \"desc\"")});
    if (kind == QLatin1String("no Energ_Kcal"))
        return runStatements(path, {QStringLiteral("ALTER TABLE FOODS_WR DROP COLUMN Energ_Kcal")});
    if (kind == QLatin1String("no groups"))
        return runStatements(path, {QStringLiteral("DELETE FROM FOODS_GROUP")});
    if (kind == QLatin1String("no foods"))
        return runStatements(path, {QStringLiteral("DELETE FROM FOODS_WR")});
    return false;
}

QStringList tables(const QString &path) {
    SQLiteDB db(path, false);
    const ResultRows rows =
        db.exec(QStringLiteral("select name from sqlite_master where type='table' order by name"));
    QStringList names;
    for (int i = 0; i < rows.rowCount(); ++i)
        names << rows.value(i, 0);
    return names;
}

// The contents of the three food tables, as text, for comparing beyond the ranking tables.
QByteArray foodTablesDigest(const QString &path) {
    sqlite3 *db = nullptr;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) ==
        SQLITE_OK) {
        for (const char *sql :
             {"select * from FOODS_GROUP order by 1", "select * from WORDS_WR order by 1",
              "select * from FOODS_WR order by 1"}) {
            sqlite3_stmt *stmt = nullptr;
            if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) != SQLITE_OK)
                continue;
            while (sqlite3_step(stmt) == SQLITE_ROW)
                for (int i = 0; i < sqlite3_column_count(stmt); ++i)
                    hash.addData(
                        QByteArray(reinterpret_cast<const char *>(sqlite3_column_text(stmt, i))) +
                        '\x1f');
            sqlite3_finalize(stmt);
        }
    }
    sqlite3_close(db);
    return hash.result().toHex();
}

} // namespace

class TestDamagedDatabase : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void damagedFile_data();
    void damagedFile();
    void everyTableAndColumnIsChecked_data();
    void everyTableAndColumnIsChecked();
    void rankingTablesMissingAfterACutOffBuild();
    void rankingTablesAllMissing();
    void readOnlyFile_data();
    void readOnlyFile();
    void lockedByAnotherProgram();
    void picturesMissingOrDamaged();

private:
    QString realPath;
};

void TestDamagedDatabase::initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    realPath = realFoodsDatabase();
}

void TestDamagedDatabase::init() {
    QFile::remove(Config::userFilePath(QStringLiteral("KALO")));
    settings = Settings();
}

void TestDamagedDatabase::damagedFile_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("startBoxes");
    QTest::addColumn<QString>("boxText"); // part of the box's text
    QTest::addColumn<bool>("lists");      // the Browse page lists foods

    QTest::newRow("the file is missing") << "missing" << 1 << "File does not exist" << false;
    QTest::newRow("the file is empty") << "empty" << 1 << "no such table" << false;
    QTest::newRow("the file is a text file") << "text" << 1 << "file is not a database" << false;
    QTest::newRow("the file is an SQLite 2 database")
        << "sqlite2" << 1 << "file is not a database" << false;
    QTest::newRow("the file is cut off halfway") << "truncated" << 1 << "malformed" << false;
    QTest::newRow("the file's header is overwritten")
        << "header" << 1 << "file is not a database" << false;
    QTest::newRow("a third of the file is zeroed") << "zeroed" << 0 << "malformed" << true;
    QTest::newRow("the path is a directory") << "directory" << 1 << "unable to open" << false;
    QTest::newRow("the word table is missing")
        << "no WORDS_WR" << 1 << "no such table: WORDS_WR" << false;
    QTest::newRow("the group table is missing")
        << "no FOODS_GROUP" << 1 << "no such table: FOODS_GROUP" << false;
    QTest::newRow("the food table is missing")
        << "no FOODS_WR" << 1 << "no such table: FOODS_WR" << false;
    QTest::newRow("the description column is missing")
        << "no desc" << 1 << "no such column: FOODS_WR.desc" << false;
    QTest::newRow("a nutrient column is missing")
        << "no Energ_Kcal" << 1 << "no such column: FOODS_WR.Energ_Kcal" << false;
    QTest::newRow("the group table is empty") << "no groups" << 0 << "" << false;
    QTest::newRow("the food table is empty") << "no foods" << 0 << "" << false;
}

void TestDamagedDatabase::damagedFile() {
    QFETCH(QString, kind);
    QFETCH(int, startBoxes);
    QFETCH(QString, boxText);
    QFETCH(bool, lists);
    QTemporaryDir dir;
    const QString path = copyRealDatabase(dir.path());
    KALO_REQUIRE_REAL_DATABASE(path);
    QVERIFY(damage(kind, path));
    const QByteArray before = fileDigest(path);

    QElapsedTimer clock;
    clock.start();
    {
        WindowSession s;
        QVERIFY2(clock.elapsed() < 20000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(s.window->isVisible());
        QCOMPARE(s.child<QStackedWidget>("pageStack")->count(), 5);
        QVERIFY2(s.boxes->count() == startBoxes,
                 qPrintable(s.boxes->texts.join(QLatin1Char('\n'))));
        QCOMPARE(s.list("browseList")->topLevelItemCount() > 0, lists);
        QVERIFY(s.idle());

        // Every later action shows at most one box, and only for damage it runs into.
        const QList<std::function<void()>> actions = {
            [&s] { s.goToPage(1); },
            [&s] { s.search(QStringLiteral("cheddar")); },
            [&s] {
                s.search(QStringLiteral("raw"),
                         QStringLiteral("Vegetables and Vegetable Products"));
            },
            [&s] { s.goToPage(2); },
            [&s] {
                auto *combo = s.child<QComboBox>("topCombo");
                if (combo->count() > 2) {
                    combo->setCurrentIndex(2);
                    emit combo->textActivated(combo->currentText());
                }
            },
            [&s] { s.goToPage(3); },
            [&s] { s.goToPage(4); },
            [&s] { s.goToPage(0); },
            [&s] { s.browse(QStringLiteral("Vegetables and Vegetable Products")); },
            [&s] {
                auto *foods = s.list("browseList");
                if (foods->topLevelItemCount() > 0)
                    s.open(foods, static_cast<FoodListItem *>(foods->topLevelItem(0))->foodId());
            },
        };
        for (qsizetype i = 0; i < actions.size(); ++i) {
            const int boxesBefore = s.boxes->count();
            actions[i]();
            QVERIFY(s.idle());
            QVERIFY2(s.boxes->count() - boxesBefore <= 1,
                     qPrintable(QStringLiteral("action %1: ").arg(i) +
                                s.boxes->texts.mid(boxesBefore).join(QLatin1Char('\n'))));
            for (const QString &text : s.boxes->texts.mid(boxesBefore))
                QVERIFY2(text.contains(boxText), qPrintable(text));
        }
        for (const QString &text : s.boxes->texts) {
            QVERIFY2(text.startsWith(QLatin1String("<qt>Database Error:")), qPrintable(text));
            QVERIFY2(text.contains(boxText), qPrintable(text));
        }
    }
    QCOMPARE(fileDigest(path), before);
    QVERIFY(QFileInfo::exists(path) == (kind != QLatin1String("missing")));
}

void TestDamagedDatabase::everyTableAndColumnIsChecked_data() {
    QTest::addColumn<QString>("statement"); // run on the fixture database; empty: none
    QTest::addColumn<QString>("boxText");   // empty: no box
    QTest::newRow("an intact database") << ""
                                        << "";
    QTest::newRow("no serving names") << "ALTER TABLE FOODS_WR DROP COLUMN GmWt_Desc2"
                                      << "no such column: FOODS_WR.GmWt_Desc2";
    QTest::newRow("no selenium figures") << "ALTER TABLE FOODS_WR DROP COLUMN Selenium"
                                         << "no such column: FOODS_WR.Selenium";
    QTest::newRow("a word table without its words")
        << "ALTER TABLE WORDS_WR RENAME COLUMN TEXT TO WORD"
        << "no such column: WORDS_WR.TEXT";
    QTest::newRow("a group table under another name") << "ALTER TABLE FOODS_GROUP RENAME TO GROUPS"
                                                      << "no such table: FOODS_GROUP";
}

void TestDamagedDatabase::everyTableAndColumnIsChecked() {
    // On the small fixture database, so that this runs wherever the tests are built.
    QFETCH(QString, statement);
    QFETCH(QString, boxText);
    QTemporaryDir dir;
    const QStringList extra = statement.isEmpty() ? QStringList() : QStringList{statement};
    const QString path = prepareInstallDir(dir.path(), true, extra);
    QVERIFY(!path.isEmpty());
    WindowSession s;
    if (boxText.isEmpty()) {
        QCOMPARE(s.boxes->count(), 0);
        QVERIFY(s.list("browseList")->topLevelItemCount() > 0);
    } else {
        QCOMPARE(s.boxes->count(), 1);
        QVERIFY2(s.boxes->texts.first().contains(boxText), qPrintable(s.boxes->texts.first()));
        QCOMPARE(s.child<QComboBox>("categoryCombo")->count(), 0);
        for (int page : {1, 2, 3, 4, 0})
            s.goToPage(page);
        s.search(QStringLiteral("cheddar"));
        QCOMPARE(s.boxes->count(), 1);
    }
    QVERIFY(s.idle());
}

void TestDamagedDatabase::rankingTablesMissingAfterACutOffBuild() {
    QTemporaryDir dir;
    const QString path = copyRealDatabase(dir.path());
    KALO_REQUIRE_REAL_DATABASE(path);
    // An older build stopped after the first five rankings. The first table is there, so the
    // cache counts as present and stays as it is; each missing ranking says so when chosen.
    QStringList drops;
    for (int i = 5; i < topCriteriaCount; ++i)
        drops << QStringLiteral("DROP TABLE ") + topTableName(i);
    QVERIFY(runStatements(path, drops));
    const QByteArray before = fileDigest(path);
    {
        WindowSession s;
        QCOMPARE(s.boxes->count(), 0);
        s.goToPage(2);
        auto *combo = s.child<QComboBox>("topCombo");
        QCOMPARE(combo->count(), topCriteriaCount);
        QStringList shown;
        for (int i = 0; i < topCriteriaCount; ++i) {
            const int boxesBefore = s.boxes->count();
            combo->setCurrentIndex(i);
            emit combo->textActivated(combo->currentText());
            QVERIFY(s.idle());
            QCOMPARE(s.boxes->count() - boxesBefore, i < 5 ? 0 : 1);
            if (i >= 5)
                QVERIFY2(s.boxes->texts.last().contains(topTableName(i)),
                         qPrintable(s.boxes->texts.last()));
            // A failed ranking leaves the list as it was.
            QCOMPARE(s.list("topList")->topLevelItemCount(), 15);
        }
    }
    QCOMPARE(fileDigest(path), before);
    QCOMPARE(foodTablesDigest(path), foodTablesDigest(realPath));
}

void TestDamagedDatabase::rankingTablesAllMissing() {
    QTemporaryDir dir;
    const QString path = copyRealDatabase(dir.path());
    KALO_REQUIRE_REAL_DATABASE(path);
    QStringList drops;
    for (int i = 0; i < topCriteriaCount; ++i)
        drops << QStringLiteral("DROP TABLE ") + topTableName(i);
    QVERIFY(runStatements(path, drops));
    const QByteArray foods = foodTablesDigest(path);
    {
        // The start builds them again, all twenty.
        WindowSession s;
        QCOMPARE(s.boxes->count(), 0);
        s.goToPage(2);
        auto *combo = s.child<QComboBox>("topCombo");
        for (int i = 0; i < topCriteriaCount; ++i) {
            combo->setCurrentIndex(i);
            emit combo->textActivated(combo->currentText());
            QCOMPARE(s.list("topList")->topLevelItemCount(), 15);
        }
        QCOMPARE(s.boxes->count(), 0);
    }
    for (int i = 0; i < topCriteriaCount; ++i)
        QVERIFY2(tables(path).contains(topTableName(i)), qPrintable(topTableName(i)));
    // Nothing but the rankings changed; a second start writes nothing at all.
    QCOMPARE(foodTablesDigest(path), foods);
    const QByteArray built = fileDigest(path);
    { WindowSession again; }
    QCOMPARE(fileDigest(path), built);
}

void TestDamagedDatabase::readOnlyFile_data() {
    QTest::addColumn<bool>("withRankings");
    QTest::addColumn<int>("boxes");
    QTest::addColumn<int>("topRows");
    QTest::newRow("a read-only file with its rankings") << true << 0 << 15;
    QTest::newRow("a read-only file without rankings") << false << 1 << 0;
}

void TestDamagedDatabase::readOnlyFile() {
    QFETCH(bool, withRankings);
    QFETCH(int, boxes);
    QFETCH(int, topRows);
    QTemporaryDir dir;
    const QString path = copyRealDatabase(dir.path());
    KALO_REQUIRE_REAL_DATABASE(path);
    if (!withRankings) {
        QStringList drops;
        for (int i = 0; i < topCriteriaCount; ++i)
            drops << QStringLiteral("DROP TABLE ") + topTableName(i);
        QVERIFY(runStatements(path, drops));
    }
    // The helper process runs as nobody when this test runs as root (root writes any file).
    const QFileDevice::Permissions readable =
        QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    const QFileDevice::Permissions listable =
        readable | QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;
    QVERIFY(QFile(path).setPermissions(readable));
    for (QString folder = QFileInfo(path).absolutePath(); folder.startsWith(dir.path());
         folder = QFileInfo(folder).absolutePath())
        QVERIFY(QFile(folder).setPermissions(listable));
    QTemporaryDir home;
    QFile(home.path())
        .setPermissions(listable | QFileDevice::WriteOwner | QFileDevice::WriteGroup |
                        QFileDevice::WriteOther);
    const QByteArray before = fileDigest(path);

    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QPEDIR"), dir.path());
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(env);
    child.start(QStringLiteral(KALO_RELIABILITY_CHILD),
                {QStringLiteral("window"), QStringLiteral("unprivileged")});
    QVERIFY(child.waitForFinished(120000));
    const QString out = QString::fromUtf8(child.readAllStandardOutput());
    QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
             qPrintable(out + QString::fromUtf8(child.readAllStandardError())));
    QVERIFY2(!out.contains(QLatin1String("\nuid=0\n")), qPrintable(out));
    QVERIFY2(out.contains(QStringLiteral("startBoxes=0\n")), qPrintable(out));
    QVERIFY2(!out.contains(QStringLiteral("browseRows=0\n")), qPrintable(out));
    QVERIFY2(out.contains(QStringLiteral("topRows=%1\n").arg(topRows)), qPrintable(out));
    QVERIFY2(out.contains(QStringLiteral("boxes=%1\n").arg(boxes)), qPrintable(out));
    QCOMPARE(fileDigest(path), before);
    for (QString folder = QFileInfo(path).absolutePath(); folder.startsWith(dir.path());
         folder = QFileInfo(folder).absolutePath())
        QFile(folder).setPermissions(listable | QFileDevice::WriteOwner);
}

void TestDamagedDatabase::lockedByAnotherProgram() {
    QTemporaryDir dir;
    const QString path = copyRealDatabase(dir.path());
    KALO_REQUIRE_REAL_DATABASE(path);
    const QByteArray before = fileDigest(path);
    // Another program holds the file locked against readers and writers.
    sqlite3 *other = nullptr;
    QCOMPARE(sqlite3_open_v2(path.toUtf8().constData(), &other, SQLITE_OPEN_READWRITE, nullptr),
             SQLITE_OK);
    QCOMPARE(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    QElapsedTimer clock;
    clock.start();
    {
        WindowSession s;
        QVERIFY2(clock.elapsed() < 20000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(s.boxes->count(), 1);
        QVERIFY2(s.boxes->texts.first().contains(QLatin1String("locked")),
                 qPrintable(s.boxes->texts.first()));
        QVERIFY(s.idle());
    }
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    QCOMPARE(fileDigest(path), before);
}

void TestDamagedDatabase::picturesMissingOrDamaged() {
    QTemporaryDir dir;
    const QString path = copyRealDatabase(dir.path());
    KALO_REQUIRE_REAL_DATABASE(path);
    const QString graphics = dir.filePath(QStringLiteral("pics/kalo/graphics/"));
    for (int variant = 0; variant < 3; ++variant) {
        // 0: no pictures; 1: every picture is garbage; 2: every picture is a directory.
        QDir(graphics).removeRecursively();
        QDir().mkpath(graphics);
        for (const char *name :
             {"contents", "viewmag", "top50", "bookmark", "about", "remove", "copy", "bookmark_add",
              "bookmark_remove", "down", "viewless", "viewmore"}) {
            const QString file = graphics + QLatin1String(name) + QStringLiteral(".png_");
            if (variant == 1) {
                QFile f(file);
                QVERIFY(f.open(QIODevice::WriteOnly));
                f.write(QByteArray("\x89PNG\r\n\x1a\n") + QByteArray(300, '\x7f'));
            } else if (variant == 2) {
                QVERIFY(QDir().mkpath(file));
            }
        }
        WindowSession s;
        QCOMPARE(s.boxes->count(), 0);
        QVERIFY(s.list("browseList")->topLevelItemCount() > 0);
        for (int page : {1, 2, 3, 4, 0})
            s.goToPage(page);
        QVERIFY(s.list("topList")->topLevelItemCount() > 0);
        const WindowSession::Opened food =
            s.open(s.list("browseList"),
                   static_cast<FoodListItem *>(s.list("browseList")->topLevelItem(0))->foodId());
        QVERIFY(food.shown);
        QCOMPARE(s.boxes->count(), 0);
    }
}

QTEST_MAIN(TestDamagedDatabase)
#include "tst_damageddatabase.moc"
