// Tests of installationDirectory: QPEDIR first, otherwise the data directory beside the program.
#include "platform/installdir.h"

#include <QCoreApplication>
#include <QDir>
#include <QtTest>

class TestInstallDir : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { qunsetenv("QPEDIR"); }
    void fromEnvironment_data();
    void fromEnvironment();
    void besideTheProgram();
};

void TestInstallDir::fromEnvironment_data() {
    QTest::addColumn<QString>("qpedir");
    QTest::addColumn<QString>("expected");
    QTest::newRow("without a final slash")
        << QStringLiteral("/opt/qpe") << QStringLiteral("/opt/qpe/");
    QTest::newRow("with a final slash")
        << QStringLiteral("/opt/qpe/") << QStringLiteral("/opt/qpe/");
}

void TestInstallDir::fromEnvironment() {
    QFETCH(QString, qpedir);
    QFETCH(QString, expected);
    qputenv("QPEDIR", qpedir.toUtf8());
    QCOMPARE(installationDirectory(), expected);
    // The program's database path is built by appending "/pics/kalo/FOODS.db".
    QCOMPARE(QDir::cleanPath(installationDirectory() + QStringLiteral("/pics/kalo/FOODS.db")),
             QDir::cleanPath(qpedir + QStringLiteral("/pics/kalo/FOODS.db")));
}

void TestInstallDir::besideTheProgram() {
    qunsetenv("QPEDIR");
    const QString expected =
        QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/kalo")) +
        '/';
    QCOMPARE(installationDirectory(), expected);
    qputenv("QPEDIR", "");
    QCOMPARE(installationDirectory(), expected); // an empty QPEDIR counts as unset
}

QTEST_GUILESS_MAIN(TestInstallDir)
#include "tst_installdir.moc"
