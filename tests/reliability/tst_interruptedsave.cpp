// Settings are never lost: a process killed at any moment while it saves leaves a KALO.conf that
// reads as one complete version, never an older one than the last completed save, never a mix.
#include "platform/config.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

namespace {

// The version a file holds, or -1 when it is not one complete version (see fillVersion of the
// helper process: 50 bookmarks and 400 history texts, each naming the version).
int completeVersion(const QString &path) {
    Config config(path, Config::File);
    config.setGroup(QStringLiteral("KALO"));
    if (!config.hasKey(QStringLiteral("CustomWeight")))
        return -1;
    const int v = config.readEntry(QStringLiteral("CustomWeight")).toInt() - 1;
    const QStringList ids = config.readListEntry(QStringLiteral("BID"), QLatin1Char('|'));
    const QStringList descs = config.readListEntry(QStringLiteral("BDesc"), QLatin1Char('|'));
    const QStringList history = config.readListEntry(QStringLiteral("SItems"), QLatin1Char('|'));
    if (ids.size() != 50 || descs.size() != 50 || history.size() != 400)
        return -1;
    if (config.readBoolEntry(QStringLiteral("BasicView"), false) != (v % 2 == 0))
        return -1;
    const QString padding(400, QLatin1Char('x'));
    for (int k = 0; k < 50; ++k) {
        if (ids[k] != QStringLiteral("%1-%2").arg(v).arg(k) ||
            descs[k] != QStringLiteral("v%1 food %2 %3").arg(v).arg(k).arg(padding))
            return -1;
    }
    for (int k = 0; k < 400; ++k)
        if (history[k] != QStringLiteral("v%1 text %2 %3").arg(v).arg(k).arg(padding))
            return -1;
    return v;
}

} // namespace

class TestInterruptedSave : public QObject {
    Q_OBJECT

private slots:
    void killedWhileSavingKeepsACompleteFile();
};

void TestInterruptedSave::killedWhileSavingKeepsACompleteFile() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.path());
    const QString path = dir.filePath(QStringLiteral("KALO.conf"));

    auto run = [&env](int first, int count) {
        auto *child = new QProcess;
        child->setProcessEnvironment(env);
        child->start(QStringLiteral(KALO_RELIABILITY_CHILD),
                     {QStringLiteral("save-loop"), QString::number(first), QString::number(count)});
        return child;
    };

    // Version 0, saved whole.
    {
        std::unique_ptr<QProcess> first(run(0, 1));
        QVERIFY(first->waitForFinished(30000));
        QCOMPARE(first->exitCode(), 0);
    }
    QCOMPARE(completeVersion(path), 0);

    // Each round a new process saves versions 1000 r, 1000 r + 1, ... and is killed at a random
    // moment after its first save completed: at most three save durations later, so mostly in
    // the middle of a later save.
    int last = 0;
    int killedLater = 0;
    QRandomGenerator random(20240608);
    for (int round = 1; round <= 40; ++round) {
        std::unique_ptr<QProcess> child(run(round * 1000, 0));
        QElapsedTimer clock;
        QVERIFY(child->waitForReadyRead(30000)); // "ready": the loop starts now
        clock.start();
        while (!child->readAll().contains("saved="))
            QVERIFY(child->waitForReadyRead(30000));
        const qint64 oneSave = qMax<qint64>(1, clock.elapsed());
        QTest::qSleep(int(random.bounded(3 * oneSave + 1)));
        ::kill(pid_t(child->processId()), SIGKILL);
        QVERIFY(child->waitForFinished(30000));
        QCOMPARE(child->exitStatus(), QProcess::CrashExit);

        const int version = completeVersion(path);
        QVERIFY2(version >= 0,
                 qPrintable(QStringLiteral("round %1: the file is damaged").arg(round)));
        // Never older than the last save that completed.
        QVERIFY2(
            version >= round * 1000 && version >= last,
            qPrintable(
                QStringLiteral("round %1: version %2 after %3").arg(round).arg(version).arg(last)));
        if (version > round * 1000)
            ++killedLater;
        last = version;
    }
    // The kills landed at different moments, not all right after the first save.
    QVERIFY2(killedLater >= 3, qPrintable(QString::number(killedLater)));
    // A kill can leave the unfinished new file behind, never more than one per kill.
    const QStringList left =
        QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    QVERIFY2(left.size() <= 41, qPrintable(left.join(QLatin1Char(' '))));
    qInfo("%d of 40 processes completed more than one save before the kill; files left: %s",
          killedLater, qPrintable(left.join(QLatin1Char(' '))));
}

QTEST_GUILESS_MAIN(TestInterruptedSave)
#include "tst_interruptedsave.moc"
