// Tests of Config on real files: the file format, typed entries, lists and safe rewriting.
#include "platform/config.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {

bool writeFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// While it lives, no file of this process may grow beyond a few bytes: a write runs out of space
// the way it would on a full disk.
class FileSizeLimit {
public:
    FileSizeLimit() {
        previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &previous);
        rlimit tiny = previous;
        tiny.rlim_cur = 8;
        active = setrlimit(RLIMIT_FSIZE, &tiny) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, previousHandler);
    }
    bool active = false;

private:
    rlimit previous{};
    void (*previousHandler)(int) = nullptr;
};

} // namespace

class TestConfig : public QObject {
    Q_OBJECT

private:
    QString file() const { return dir.filePath(QStringLiteral("KALO.conf")); }
    QTemporaryDir dir;

private slots:
    void initTestCase();
    void init();

    void readEntry_data();
    void readEntry();
    void readBoolEntry_data();
    void readBoolEntry();
    void readListEntry_data();
    void readListEntry();

    void writtenFormat();
    void rewriteKeepsOtherEntries();
    void lineBreakCannotStartANewLine();
    void nothingChangedWritesNothing();
    void failedWriteKeepsTheOldFile();
    void unusablePath();
    void missingDirectoryIsCreated();
    void userDomainFile();
};

void TestConfig::initTestCase() {
    QVERIFY(dir.isValid());
    // The user domain resolves below this home, never the real one.
    qputenv("HOME", dir.filePath(QStringLiteral("home")).toUtf8());
    QStandardPaths::setTestModeEnabled(true);
}

void TestConfig::init() {
    QFile::remove(file());
}

void TestConfig::readEntry_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("expected"); // null: the key is missing

    QTest::newRow("blanks around the equals sign")
        << QByteArray("[KALO]\nName = Value\n") << QStringLiteral("Value");
    QTest::newRow("no blanks") << QByteArray("[KALO]\nName=Value\n") << QStringLiteral("Value");
    QTest::newRow("outer blanks trimmed, inner kept")
        << QByteArray("[KALO]\n   Name  =   a  b \t\n") << QStringLiteral("a  b");
    QTest::newRow("an equals sign inside the value")
        << QByteArray("[KALO]\nName = a = b\n") << QStringLiteral("a = b");
    QTest::newRow("an empty value") << QByteArray("[KALO]\nName =\n") << QStringLiteral("");
    QTest::newRow("a repeated key: the later line wins")
        << QByteArray("[KALO]\nName = first\nName = second\n") << QStringLiteral("second");
    QTest::newRow("a line without an equals sign is ignored")
        << QByteArray("[KALO]\nName\nOther = x\n") << QString();
    QTest::newRow("the key in another group") << QByteArray("[Other]\nName = x\n") << QString();
    QTest::newRow("the key before any group") << QByteArray("Name = x\n[KALO]\n") << QString();
    QTest::newRow("the group given twice")
        << QByteArray("[KALO]\nA = 1\n[Other]\nName = o\n[KALO]\nName = k\n")
        << QStringLiteral("k");
    QTest::newRow("keys are case sensitive") << QByteArray("[KALO]\nname = v\n") << QString();
    QTest::newRow("Windows line ends")
        << QByteArray("[KALO]\r\nName = v\r\n") << QStringLiteral("v");
    QTest::newRow("no final line break") << QByteArray("[KALO]\nName = v") << QStringLiteral("v");
    QTest::newRow("a byte order mark")
        << QByteArray("\xEF\xBB\xBF[KALO]\nName = v\n") << QStringLiteral("v");
    QTest::newRow("UTF-8 text") << QByteArray(
                                       "[KALO]\nName = Cr\xC3\xA8me br\xC3\xBBl\xC3\xA9\x65\n")
                                << QStringLiteral("Crème brûlée");
    QTest::newRow("an empty file") << QByteArray() << QString();
}

void TestConfig::readEntry() {
    QFETCH(QByteArray, content);
    QFETCH(QString, expected);
    QVERIFY(writeFile(file(), content));
    Config config(file(), Config::File);
    config.setGroup(QStringLiteral("KALO"));
    QCOMPARE(config.hasKey(QStringLiteral("Name")), !expected.isNull());
    const QString value = config.readEntry(QStringLiteral("Name"), QStringLiteral("default"));
    QCOMPARE(value, expected.isNull() ? QStringLiteral("default") : expected);
}

void TestConfig::readBoolEntry_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("deflt");
    QTest::addColumn<bool>("expected");

    QTest::newRow("1") << QByteArray("Flag = 1") << false << true;
    QTest::newRow("0") << QByteArray("Flag = 0") << true << false;
    QTest::newRow("another number") << QByteArray("Flag = 2") << false << true;
    QTest::newRow("a word is not a number") << QByteArray("Flag = yes") << true << false;
    QTest::newRow("an empty value") << QByteArray("Flag =") << true << false;
    QTest::newRow("missing, default true") << QByteArray() << true << true;
    QTest::newRow("missing, default false") << QByteArray() << false << false;
}

void TestConfig::readBoolEntry() {
    QFETCH(QByteArray, line);
    QFETCH(bool, deflt);
    QFETCH(bool, expected);
    QVERIFY(writeFile(file(), "[KALO]\n" + line + '\n'));
    Config config(file(), Config::File);
    config.setGroup(QStringLiteral("KALO"));
    QCOMPARE(config.readBoolEntry(QStringLiteral("Flag"), deflt), expected);
}

void TestConfig::readListEntry_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("three items") << QByteArray("List = a|b|c")
                                 << QStringList{QStringLiteral("a"), QStringLiteral("b"),
                                                QStringLiteral("c")};
    QTest::newRow("one item") << QByteArray("List = apple") << QStringList{QStringLiteral("apple")};
    QTest::newRow("an empty value is an empty list") << QByteArray("List = ") << QStringList();
    QTest::newRow("a missing key is an empty list") << QByteArray() << QStringList();
    QTest::newRow("empty items are dropped")
        << QByteArray("List = |a||b|") << QStringList{QStringLiteral("a"), QStringLiteral("b")};
    QTest::newRow("only separators") << QByteArray("List = |||") << QStringList();
    QTest::newRow("blanks inside items are kept")
        << QByteArray("List = raw carrot | olive oil")
        << QStringList{QStringLiteral("raw carrot "), QStringLiteral(" olive oil")};
}

void TestConfig::readListEntry() {
    QFETCH(QByteArray, line);
    QFETCH(QStringList, expected);
    QVERIFY(writeFile(file(), "[KALO]\n" + line + '\n'));
    Config config(file(), Config::File);
    config.setGroup(QStringLiteral("KALO"));
    QCOMPARE(config.readListEntry(QStringLiteral("List"), QLatin1Char('|')), expected);
}

void TestConfig::writtenFormat() {
    {
        Config config(file(), Config::File);
        config.setGroup(QStringLiteral("KALO"));
        config.writeEntry(QStringLiteral("Number"), 1);
        config.writeEntry(QStringLiteral("Text"), QStringLiteral("Crème, 5 µg"));
        config.writeEntry(QStringLiteral("List"),
                          QStringList{QStringLiteral("x"), QStringLiteral("y|z"), QString()},
                          QLatin1Char('|'));
        config.writeEntry(QStringLiteral("Empty"), QStringList(), QLatin1Char('|'));
        QVERIFY(!QFile::exists(file())); // written when the object goes
    }
    QCOMPARE(readFile(file()), QByteArray("[KALO]\n"
                                          "Number = 1\n"
                                          "Text = Cr\xC3\xA8me, 5 \xC2\xB5g\n"
                                          "List = x|y|z|\n"
                                          "Empty = \n"));
    Config again(file(), Config::File);
    again.setGroup(QStringLiteral("KALO"));
    QCOMPARE(again.readListEntry(QStringLiteral("List"), QLatin1Char('|')),
             (QStringList{QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z")}));
    QCOMPARE(again.readEntry(QStringLiteral("Text")), QStringLiteral("Crème, 5 µg"));
}

void TestConfig::rewriteKeepsOtherEntries() {
    QVERIFY(writeFile(file(), "[Other]\nKeep = 1\n[KALO]\nOld = x\nName = before\n"));
    {
        Config config(file(), Config::File);
        config.setGroup(QStringLiteral("KALO"));
        config.writeEntry(QStringLiteral("Name"), QStringLiteral("after"));
        config.writeEntry(QStringLiteral("New"), QStringLiteral("n"));
    }
    QCOMPARE(readFile(file()),
             QByteArray("[Other]\nKeep = 1\n[KALO]\nOld = x\nName = after\nNew = n\n"));
}

void TestConfig::lineBreakCannotStartANewLine() {
    {
        Config config(file(), Config::File);
        config.setGroup(QStringLiteral("KALO"));
        config.writeEntry(QStringLiteral("Name"), QStringLiteral("a\nFlag = 1\r\n[Other]"));
    }
    Config config(file(), Config::File);
    config.setGroup(QStringLiteral("KALO"));
    QVERIFY(!config.hasKey(QStringLiteral("Flag")));
    QCOMPARE(config.readEntry(QStringLiteral("Name")), QStringLiteral("a Flag = 1  [Other]"));
}

void TestConfig::nothingChangedWritesNothing() {
    // A file edited by hand keeps its layout when the program writes the same values back.
    const QByteArray content("[KALO]\n# by hand\nName=v\n");
    QVERIFY(writeFile(file(), content));
    {
        Config config(file(), Config::File);
        config.setGroup(QStringLiteral("KALO"));
        config.writeEntry(QStringLiteral("Name"), QStringLiteral("v"));
    }
    QCOMPARE(readFile(file()), content);
}

void TestConfig::failedWriteKeepsTheOldFile() {
    const QByteArray old("[KALO]\nName = old value\n");
    QVERIFY(writeFile(file(), old));
    {
        Config config(file(), Config::File);
        config.setGroup(QStringLiteral("KALO"));
        config.writeEntry(QStringLiteral("Name"), QStringLiteral("a new value, long enough"));
        FileSizeLimit limit;
        if (!limit.active)
            QSKIP("cannot limit the file size");
        QVERIFY(!config.write());
    } // the destructor tries once more, now without the limit
    QCOMPARE(readFile(file()), QByteArray("[KALO]\nName = a new value, long enough\n"));

    // Whatever the failure, no half-written file and no stray temporary file is left.
    QVERIFY(writeFile(file(), old));
    {
        FileSizeLimit limit;
        if (!limit.active)
            QSKIP("cannot limit the file size");
        Config config(file(), Config::File);
        config.setGroup(QStringLiteral("KALO"));
        config.writeEntry(QStringLiteral("Name"), QStringLiteral("a new value, long enough"));
    }
    QCOMPARE(readFile(file()), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("KALO.conf")});
}

void TestConfig::unusablePath() {
    // A directory where the file should be: nothing is read, writing fails, nothing breaks.
    const QString path = dir.filePath(QStringLiteral("adir"));
    QVERIFY(QDir().mkpath(path));
    Config config(path, Config::File);
    config.setGroup(QStringLiteral("KALO"));
    QCOMPARE(config.readEntry(QStringLiteral("Name"), QStringLiteral("d")), QStringLiteral("d"));
    config.writeEntry(QStringLiteral("Name"), QStringLiteral("v"));
    QVERIFY(!config.write());
    QVERIFY(QFileInfo(path).isDir());
}

void TestConfig::missingDirectoryIsCreated() {
    const QString path = dir.filePath(QStringLiteral("new/config/KALO.conf"));
    {
        Config config(path, Config::File);
        config.setGroup(QStringLiteral("KALO"));
        config.writeEntry(QStringLiteral("Name"), QStringLiteral("v"));
    }
    QCOMPARE(readFile(path), QByteArray("[KALO]\nName = v\n"));
}

void TestConfig::userDomainFile() {
    const QString expected =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
        QStringLiteral("/KALO.conf");
    QCOMPARE(Config::userFilePath(QStringLiteral("KALO")), expected);
    QVERIFY(expected.startsWith(dir.path()));
    QFile::remove(expected);
    {
        Config config(QStringLiteral("KALO"), Config::User);
        QCOMPARE(config.filePath(), expected);
        config.setGroup(QStringLiteral("KALO"));
        config.writeEntry(QStringLiteral("Name"), QStringLiteral("v"));
    }
    QCOMPARE(readFile(expected), QByteArray("[KALO]\nName = v\n"));
    QFile::remove(expected);
}

QTEST_GUILESS_MAIN(TestConfig)
#include "tst_config.moc"
