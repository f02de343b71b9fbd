// Tests of platform/: the settings file, C-locale numbers, the installation directory and CSV
// export.
#include "platform/cnumber.h"
#include "platform/config.h"
#include "platform/csvfilewriter.h"
#include "platform/exportfilename.h"
#include "platform/installdir.h"
#include "platform/singleinstance.h"
#include "tests/common/fixturedb.h"
#include "tools/csvreader.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <clocale>
#include <csignal>
#include <cstdlib>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QByteArray oldFile = "[KALO]\nName = old\n"_ba;
const QString newValue(100, u'n');

} // namespace

class TestPlatform : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    void configReading_data() {
        QTest::addColumn<QByteArray>("content"); // null: no file
        QTest::addColumn<QString>("value");      // of "Name" in group "KALO"; null: none
        QTest::addColumn<bool>("flag");          // "Name" read as a boolean, default true
        const QByteArray v = "[KALO]\nName = v\n"_ba;
        QTest::newRow("blanks around key and value dropped, inner ones kept; UTF-8")
            << "[KALO]\n  Name  =  Cr\xC3\xA8me  br\xC3\xBBl\xC3\xA9\x65 \t"_ba
            << u"Crème  brûlée"_s << false;
        QTest::newRow("an equals sign in the value") << "[KALO]\nName=a=b"_ba << u"a=b"_s << false;
        QTest::newRow("an empty value is a value") << "[KALO]\nName ="_ba << u""_s << false;
        QTest::newRow("the later line wins") << "[KALO]\nName=1\nName=2"_ba << u"2"_s << true;
        QTest::newRow("no key before any group, in another group or without an equals sign")
            << "Name = x\n[Other]\nName = y\n[KALO]\nName"_ba << QString() << true;
        QTest::newRow("a group given twice is one group")
            << "[KALO]\n[Other]\n[KALO]\nName = k"_ba << u"k"_s << false;
        QTest::newRow("Windows line ends") << "[KALO]\r\nName = v\r\n"_ba << u"v"_s << false;
        QTest::newRow("a byte order mark") << "\xEF\xBB\xBF"_ba + v << u"v"_s << false;
        QTest::newRow("binary garbage")
            << "\xFF\xFE\0\x01\n"_ba + v + "\0\xC3"_ba << u"v"_s << false;
        QTest::newRow("a missing file") << QByteArray() << QString() << true;
        QTest::newRow("a file of the largest size is read")
            << v + QByteArray(Config::maxFileSize - v.size(), '#') << u"v"_s << false;
        QTest::newRow("a file one byte larger reads as empty")
            << v + QByteArray(Config::maxFileSize - v.size() + 1, '#') << QString() << true;
    }
    void configReading() {
        QFETCH(QByteArray, content);
        QFETCH(QString, value);
        QFETCH(bool, flag);
        const QString path = dir.filePath("read.conf");
        QFile::remove(path);
        QVERIFY(content.isNull() || writeFile(path, content));
        {
            Config config(path, Config::File);
            config.setGroup("KALO");
            QCOMPARE(config.readEntry("Name", "-"), value.isNull() ? "-" : value);
            QCOMPARE(config.readBoolEntry("Name", true), flag);
            if (!value.isNull())
                config.writeEntry("Name", value); // the value it holds: nothing to write
        }
        QCOMPARE(fileContents(path), content); // a file edited by hand stays as it is
    }

    void configWriting() {
        // The user's file, in a configuration directory that does not exist yet.
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath("home")));
        const QString path = dir.filePath("home/KALO.conf");
        QCOMPARE(Config::userFilePath("KALO"), path);
        {
            Config config("KALO", Config::User);
            config.setGroup("Other");
            config.writeEntry("Keep", false);
            config.setGroup("KALO");
            config.writeEntry("Number", -3);
            config.writeEntry("Text", "Crème\nFlag = 0\r\n[x]");
            config.writeEntry("List", QStringList{"x", "y|z", QString()}, u'|');
            config.writeEntry("Empty", QStringList(), u'|');
        } // written as the object goes
        QCOMPARE(fileContents(path),
                 "[Other]\nKeep = 0\n[KALO]\nNumber = -3\n"
                 "Text = Cr\xC3\xA8me Flag = 0  [x]\nList = x|y|z|\nEmpty = \n"_ba);
        {
            Config config("KALO", Config::User);
            config.setGroup("KALO");
            QCOMPARE(config.readListEntry("List", u'|'), (QStringList{"x", "y", "z"}));
            QCOMPARE(config.readListEntry("Empty", u'|'), QStringList());
            config.writeEntry("Number", true);
        }
        QCOMPARE(fileContents(path),
                 "[Other]\nKeep = 0\n[KALO]\nNumber = 1\n"
                 "Text = Cr\xC3\xA8me Flag = 0  [x]\nList = x|y|z|\nEmpty = \n"_ba);
    }

    void configFailedSave_data() {
        QTest::addColumn<bool>("killed");
        QTest::newRow("the disk fills up in mid-write: the old file stays, a later write succeeds")
            << false;
        QTest::newRow("the process is killed in mid-write: the old file stays") << true;
    }
    void configFailedSave() {
        QFETCH(bool, killed);
        QTemporaryDir here;
        const QString path = here.filePath("KALO.conf");
        QVERIFY(writeFile(path, oldFile));
        {
            Config config(path, Config::File);
            config.setGroup("KALO");
            config.writeEntry("Name", newValue);
            const pid_t child = killed ? fork() : 0;
            if (child == 0) { // no file may grow beyond 8 bytes, as on a full disk
                rlimit previous{}, none{};
                getrlimit(RLIMIT_FSIZE, &previous);
                const rlimit full{8, previous.rlim_max};
                if (killed) // in mid-write, leaving no core file
                    setrlimit(RLIMIT_CORE, &none);
                std::signal(SIGXFSZ, killed ? SIG_DFL : SIG_IGN);
                setrlimit(RLIMIT_FSIZE, &full);
                const bool written = config.write();
                if (killed)
                    _exit(0); // not killed: the test fails below
                setrlimit(RLIMIT_FSIZE, &previous);
                QVERIFY(!written);
                // A killed process may leave its unfinished file, a live one never does.
                QCOMPARE(QDir(here.path()).entryList(QDir::Files | QDir::Hidden),
                         QStringList{"KALO.conf"});
            }
            int status = 0;
            QVERIFY(!killed || (waitpid(child, &status, 0) == child && WIFSIGNALED(status)));
            QCOMPARE(fileContents(path), oldFile);
        } // the object writes again as it goes, now with space
        QCOMPARE(fileContents(path), "[KALO]\nName = " + newValue.toUtf8() + '\n');
    }

    void cStrtod_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("german"); // under de_DE, whose decimal separator is a comma
        QTest::addColumn<double>("expected");
        QTest::newRow("blanks before, text after the number; a comma ends it")
            << u" \t-1.5e3,5x"_s << false << -1500.0;
        QTest::newRow("no number is 0") << u"abc"_s << false << 0.0;
        QTest::newRow("a German locale keeps the point") << u"12.5"_s << true << 12.5;
    }
    void cStrtod() {
        QFETCH(QString, text);
        QFETCH(bool, german);
        QFETCH(double, expected);
        if (german) {
            // A locale of our own, so the test does not depend on the locales of the machine.
            const QString target = dir.filePath("de_DE.UTF-8");
            QProcess::execute("localedef", {"-i", "de_DE", "-f", "UTF-8", target});
            qputenv("LOCPATH", QFile::encodeName(dir.path()));
            if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
                QSKIP("no de_DE locale: localedef could not build one");
            QCOMPARE(std::strtod("12.5", nullptr), 12.0); // the locale is in effect
        }
        const double value = ::cStrtod(text);
        std::setlocale(LC_ALL, "C");
        QCOMPARE(value, expected);
    }

    void installationDirectory_data() {
        QTest::addColumn<QByteArray>("qpedir"); // null: unset
        QTest::addColumn<QString>("expected");
        const QString beside = QDir(KALO_BUILD_DIR).canonicalPath() + "/share/kalo/";
        QTest::newRow("QPEDIR") << "/opt/qpe"_ba << u"/opt/qpe/"_s;
        QTest::newRow("no QPEDIR: the data beside the program") << QByteArray() << beside;
        QTest::newRow("an empty QPEDIR counts as unset") << ""_ba << beside;
    }
    void installationDirectory() {
        QFETCH(QByteArray, qpedir);
        QFETCH(QString, expected);
        qunsetenv("QPEDIR");
        if (!qpedir.isNull())
            qputenv("QPEDIR", qpedir);
        QCOMPARE(::installationDirectory(), expected);
    }

    // Lock and socket of the one running program: in a folder no other user can enter or replace.
    void privateRuntimeFolder_data() {
        QTest::addColumn<QString>("runtime"); // XDG_RUNTIME_DIR below the test folder
        QTest::addColumn<int>("mode");        // of that folder, or of kalo-<uid> when runtime is ""
        QTest::addColumn<bool>("foreign");    // kalo-<uid> belongs to another user
        QTest::addColumn<QString>("chosen");  // below the test folder; "" for none
        const QString own = u"tmp/kalo-%1"_s.arg(::getuid());
        QTest::newRow("the user's runtime folder") << "run" << 0700 << false << "run";
        QTest::newRow("a runtime folder others may enter: kalo-<uid>, made private")
            << "run" << 0755 << false << own;
        QTest::newRow("no runtime folder: kalo-<uid>") << "" << -1 << false << own;
        QTest::newRow("a kalo-<uid> others may enter is not used") << "" << 0777 << false << "";
        QTest::newRow("a kalo-<uid> of another user is not used") << "" << 0700 << true << "";
    }
    void privateRuntimeFolder() {
        QFETCH(QString, runtime);
        QFETCH(int, mode);
        QFETCH(bool, foreign);
        if (foreign && ::getuid() != 0)
            QSKIP("only root can give a folder to another user");
        QTemporaryDir top;
        QVERIFY(QDir(top.path()).mkpath("tmp"));
        const QString kalo = top.filePath(u"tmp/kalo-%1"_s.arg(::getuid()));
        const QString made = runtime.isEmpty() ? kalo : top.filePath(runtime);
        if (mode >= 0)
            QVERIFY(QDir().mkpath(made) && ::chmod(QFile::encodeName(made), mode_t(mode)) == 0);
        if (foreign)
            QVERIFY(::chown(QFile::encodeName(kalo), 65534, 65534) == 0);
        qputenv("XDG_RUNTIME_DIR", runtime.isEmpty() ? QByteArray() : QFile::encodeName(made));
        qputenv("TMPDIR", QFile::encodeName(top.filePath("tmp")));
        QString problem;
        const QString folder = ::privateRuntimeFolder(&problem);
        qunsetenv("TMPDIR");
        QFETCH(QString, chosen);
        QCOMPARE(folder, chosen.isEmpty() ? QString() : top.filePath(chosen));
        QCOMPARE(problem.isNull(), !chosen.isEmpty());
        // Nothing is made at the top of the temporary folder but the private folder.
        const QStringList atTop =
            QDir(top.filePath("tmp")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries);
        QVERIFY(atTop.isEmpty() || atTop == QStringList{QFileInfo(kalo).fileName()});
    }

    void csvExport_data() {
        QTest::addColumn<QString>("target"); // in a folder of its own
        QTest::addColumn<int>("fault");      // 1: cancelled after a slice, 2: the disk fills up
        QTest::addColumn<QString>("error");  // empty: written
        QTest::newRow("commas, quotes and a line break read back as written") << "a.csv" << 0 << "";
        QTest::newRow("a folder that does not exist: its reason, and no file")
            << "none/a.csv" << 0 << "No such file or directory";
        QTest::newRow("cancelled in mid-write: no file") << "a.csv" << 1 << "Cancelled";
        QTest::newRow("the disk fills up in mid-write: no file")
            << "a.csv" << 2 << "File too large";
    }
    void csvExport() {
        QFETCH(QString, target);
        QFETCH(int, fault);
        QTemporaryDir here;
        const QStringList texts{"Cheese, \"cheddar\"", "two\r\nlines", "cr\u00e8me 1.5"};
        CsvFileWriter writer(here.filePath(target), {"Food"}, fault ? 1e9 : 3,
                             [&](qint64 i) { return QStringList{texts[i % 3]}; });
        if (fault == 1)
            connect(&writer, &CsvFileWriter::progress, &writer, &CsvFileWriter::cancel);
        rlimit previous{};
        getrlimit(RLIMIT_FSIZE, &previous);
        const rlimit full{fault == 2 ? 4096 : previous.rlim_cur, previous.rlim_max};
        std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &full);
        QSignalSpy finished(&writer, &CsvFileWriter::finished);
        writer.start();
        QVERIFY(!finished.isEmpty() || finished.wait(60000));
        setrlimit(RLIMIT_FSIZE, &previous);
        QTEST(finished.at(0).at(1).toString(), "error");
        const QStringList left = QDir(here.path()).entryList(QDir::Files | QDir::Hidden);
        QCOMPARE(left, fault || target.contains('/') ? QStringList() : QStringList{target});
        if (!left.isEmpty()) {
            QCOMPARE(
                fileContents(here.filePath(target)),
                "Food\r\n\"Cheese, \"\"cheddar\"\"\"\r\n\"two\r\nlines\"\r\ncr\xC3\xA8me 1.5\r\n"_ba);
            QFile file(here.filePath(target));
            CsvReader csv(&file, target);
            QVERIFY(file.open(QIODevice::ReadOnly) && csv.readHeader());
            for (const QString &text : texts)
                QVERIFY(csv.next() && csv.text(0) == text);
        }
    }

    void exportFileName_data() {
        QTest::addColumn<QStringList>("parts"); // subject, detail, the name suggested
        QTest::newRow("a slash and a line break")
            << QStringList{"Search", "a/b\nc ", "Search - a-b c.pdf"};
        QTest::newRow("a long description is cut within a file name's 255 bytes")
            << QStringList{QString(300, u'\u00e8'), "", QString(60, u'\u00e8') + ".pdf"};
    }
    void exportFileName() {
        QFETCH(QStringList, parts);
        QCOMPARE(::exportFileName(parts[0], parts[1], "pdf"), parts[2]);
    }
};

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
