// Tests of cStrtod: strtod's rules, and the C locale whatever the process locale is.
#include "platform/cnumber.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <clocale>
#include <cmath>
#include <cstdlib>

class TestCNumber : public QObject {
    Q_OBJECT

private slots:
    void strtodRules_data();
    void strtodRules();
    void decimalPointUnderACommaLocale();
};

void TestCNumber::strtodRules_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");

    QTest::newRow("a decimal") << QStringLiteral("12.5") << 12.5;
    QTest::newRow("leading blanks") << QStringLiteral("  \t7.25") << 7.25;
    QTest::newRow("trailing text is ignored") << QStringLiteral("12abc") << 12.0;
    QTest::newRow("a comma ends the number") << QStringLiteral("12,5") << 12.0;
    QTest::newRow("no number") << QStringLiteral("abc") << 0.0;
    QTest::newRow("empty") << QString() << 0.0;
    QTest::newRow("an exponent") << QStringLiteral("1.5e3") << 1500.0;
    QTest::newRow("negative") << QStringLiteral("-0.125") << -0.125;
    QTest::newRow("a leading point") << QStringLiteral(".5") << 0.5;
}

void TestCNumber::strtodRules() {
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(cStrtod(text), expected);
}

void TestCNumber::decimalPointUnderACommaLocale() {
    // Build a German locale in a temporary directory so the test does not depend on the locales
    // installed on the machine.
    const QString localedef = QStandardPaths::findExecutable(QStringLiteral("localedef"));
    if (localedef.isEmpty())
        QSKIP("localedef is not available");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString target = dir.filePath(QStringLiteral("de_DE.UTF-8"));
    QProcess process;
    process.start(localedef, {QStringLiteral("-i"), QStringLiteral("de_DE"), QStringLiteral("-f"),
                              QStringLiteral("UTF-8"), target});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        QSKIP("cannot build the de_DE locale");
    qputenv("LOCPATH", dir.path().toUtf8());
    const char *set = std::setlocale(LC_ALL, "de_DE.UTF-8");
    if (!set)
        QSKIP("cannot switch to the de_DE locale");
    const double plain = std::strtod("12.5", nullptr);
    const double ours = cStrtod(QStringLiteral("12.5"));
    const double comma = cStrtod(QStringLiteral("12,5"));
    std::setlocale(LC_ALL, "C");
    qunsetenv("LOCPATH");
    QCOMPARE(plain, 12.0); // the locale is in effect...
    QCOMPARE(ours, 12.5);  // ...and cStrtod does not follow it
    QCOMPARE(comma, 12.0);
}

QTEST_GUILESS_MAIN(TestCNumber)
#include "tst_cnumber.moc"
