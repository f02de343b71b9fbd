// kalo_bench_start: whole-process start of the program beside the bare Qt 6 window, on the X
// server of DISPLAY: wall time from exec to exit after the first paint, and peak RSS.
#include "bench/benchtable.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

constexpr double startRatioGoal = 1.25;
constexpr double memoryRatioGoal = 1.2;
constexpr unsigned timeoutSeconds = 30;

volatile pid_t runningChild = 0;

void onAlarm(int) {
    if (runningChild > 0)
        ::kill(runningChild, SIGKILL);
}

[[noreturn]] void fail(const QString &text) {
    std::fprintf(stderr, "kalo_bench_start: %s\n", qPrintable(text));
    std::exit(1);
}

double nowMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

struct Run {
    double ms = 0.0;
    double mib = 0.0;
};

// Runs the program once with the environment given; its output goes to /dev/null.
Run runOnce(const QByteArray &program, const std::vector<QByteArray> &environment) {
    std::vector<char *> envp;
    for (const QByteArray &entry : environment)
        envp.push_back(const_cast<char *>(entry.constData()));
    envp.push_back(nullptr);
    char *const argv[] = {const_cast<char *>(program.constData()), nullptr};

    const double started = nowMs();
    const pid_t pid = ::fork();
    if (pid < 0)
        fail(QStringLiteral("fork failed"));
    if (pid == 0) {
        const int null = ::open("/dev/null", O_RDWR);
        ::dup2(null, STDOUT_FILENO);
        ::dup2(null, STDERR_FILENO);
        ::execve(program.constData(), argv, envp.data());
        ::_exit(127);
    }
    runningChild = pid;
    ::alarm(timeoutSeconds);
    int status = 0;
    rusage usage{};
    while (::wait4(pid, &status, 0, &usage) < 0) {
        if (errno != EINTR)
            fail(QStringLiteral("wait4 failed"));
    }
    const double ended = nowMs();
    ::alarm(0);
    runningChild = 0;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        fail(QStringLiteral("%1 did not end normally after its first paint (status %2); is an "
                            "X server running on DISPLAY?")
                 .arg(QString::fromLocal8Bit(program))
                 .arg(status));
    return {ended - started, double(usage.ru_maxrss) / 1024.0};
}

TableRow row(const QString &name, const QList<double> &samples, bool memory) {
    const Summary s = summarize(samples);
    TableRow r;
    r.measurement = name;
    r.runs = s.count;
    if (memory) {
        r.median = mib(s.median);
        r.spread =
            QString::number(s.low, 'f', 1) + QStringLiteral("–") + QString::number(s.high, 'f', 1);
    } else {
        r.median = ms(s.median);
        r.spread = msSpread(s);
    }
    return r;
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Starts kalo and the bare Qt 6 window in turn, each quitting after its first paint "
        "(KALO_QUIT_AFTER_PAINT), and prints Markdown table rows of their wall time and peak "
        "memory."));
    parser.addHelpOption();
    const QCommandLineOption runsOption(QStringLiteral("runs"),
                                        QStringLiteral("Timed starts of each program."),
                                        QStringLiteral("n"), QStringLiteral("21"));
    const QCommandLineOption kaloOption(
        QStringLiteral("kalo"),
        QStringLiteral("The program to start, with its installation data beside it (the build "
                       "tree's kalo, on a copy of the build tree's data, by default)."),
        QStringLiteral("file"));
    const QCommandLineOption bareOption(QStringLiteral("bare"),
                                        QStringLiteral("The baseline window program."),
                                        QStringLiteral("file"));
    const QCommandLineOption dataOption(
        QStringLiteral("data"),
        QStringLiteral("Installation data to start the program on (a copy is used)."),
        QStringLiteral("dir"));
    const QCommandLineOption platformOption(QStringLiteral("platform"),
                                            QStringLiteral("Qt platform plugin (xcb)."),
                                            QStringLiteral("name"), QStringLiteral("xcb"));
    parser.addOptions({runsOption, kaloOption, bareOption, dataOption, platformOption});
    parser.process(app);

    const int runs = qMax(1, parser.value(runsOption).toInt());
    const QString binDir = QCoreApplication::applicationDirPath();
    const QString kalo =
        parser.isSet(kaloOption) ? parser.value(kaloOption) : binDir + QStringLiteral("/kalo");
    const QString bare = parser.isSet(bareOption) ? parser.value(bareOption)
                                                  : binDir + QStringLiteral("/kalo_bare_window");
    // An installed program finds its own data; the build tree's runs on a copy of its data.
    QString dataDir = parser.value(dataOption);
    if (dataDir.isEmpty() && !parser.isSet(kaloOption))
        dataDir = binDir + QStringLiteral("/../share/kalo");
    for (const QString &program : {kalo, bare})
        if (!QFileInfo(program).isExecutable())
            fail(QStringLiteral("no program %1").arg(program));
    if (!dataDir.isEmpty() && !QFileInfo::exists(dataDir + QStringLiteral("/pics/kalo/FOODS.db")))
        fail(QStringLiteral("no FOODS.db below %1").arg(dataDir));
    if (parser.value(platformOption) == QLatin1String("xcb") &&
        qEnvironmentVariableIsEmpty("DISPLAY"))
        fail(QStringLiteral("DISPLAY is not set"));

    // Both programs get a home of their own, so no real settings are read or written.
    QTemporaryDir scratch;
    const QString home = scratch.path() + QStringLiteral("/home");
    const QString runtime = scratch.path() + QStringLiteral("/runtime");
    const QString install = scratch.path() + QStringLiteral("/kalo");
    QDir().mkpath(home);
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (!dataDir.isEmpty()) {
        QDir().mkpath(install + QStringLiteral("/pics/kalo/graphics"));
        if (!QFile::copy(dataDir + QStringLiteral("/pics/kalo/FOODS.db"),
                         install + QStringLiteral("/pics/kalo/FOODS.db")))
            fail(QStringLiteral("cannot copy FOODS.db"));
        const QString graphics = dataDir + QStringLiteral("/pics/kalo/graphics");
        for (const QString &name : QDir(graphics).entryList(QDir::Files))
            QFile::copy(graphics + QLatin1Char('/') + name,
                        install + QStringLiteral("/pics/kalo/graphics/") + name);
    }

    std::vector<QByteArray> environment;
    const QList<QByteArray> replaced{"HOME=",   "XDG_CONFIG_HOME=", "XDG_RUNTIME_DIR=",
                                     "QPEDIR=", "QT_QPA_PLATFORM=", "KALO_QUIT_AFTER_PAINT="};
    for (char **entry = environ; *entry; ++entry) {
        const QByteArray text(*entry);
        bool skip = false;
        for (const QByteArray &prefix : replaced)
            skip = skip || text.startsWith(prefix);
        if (!skip)
            environment.push_back(text);
    }
    environment.push_back("HOME=" + QFile::encodeName(home));
    environment.push_back("XDG_CONFIG_HOME=" +
                          QFile::encodeName(home + QStringLiteral("/.config")));
    environment.push_back("XDG_RUNTIME_DIR=" + QFile::encodeName(runtime));
    if (!dataDir.isEmpty())
        environment.push_back("QPEDIR=" + QFile::encodeName(install));
    environment.push_back("QT_QPA_PLATFORM=" + parser.value(platformOption).toLocal8Bit());
    environment.push_back("KALO_QUIT_AFTER_PAINT=1");

    std::signal(SIGALRM, onAlarm);
    const QByteArray kaloPath = QFile::encodeName(kalo);
    const QByteArray barePath = QFile::encodeName(bare);
    QList<double> kaloMs, bareMs, kaloMib, bareMib;
    // Two starts of each warm the file cache; then the two alternate, so that a change of load
    // on the machine falls on both alike.
    for (int i = -2; i < runs; ++i) {
        const Run b = runOnce(barePath, environment);
        const Run k = runOnce(kaloPath, environment);
        if (i < 0)
            continue;
        bareMs << b.ms;
        bareMib << b.mib;
        kaloMs << k.ms;
        kaloMib << k.mib;
    }

    const QString where = parser.value(platformOption) == QLatin1String("xcb")
                              ? QStringLiteral("Xvfb")
                              : parser.value(platformOption);
    const double startRatio = summarize(kaloMs).median / summarize(bareMs).median;
    const double memoryRatio = summarize(kaloMib).median / summarize(bareMib).median;

    TableRow r =
        row(QStringLiteral("Bare Qt 6 window: exec to painted, whole process (%1)").arg(where),
            bareMs, false);
    std::printf("%s\n", qPrintable(tableLine(r)));
    r = row(QStringLiteral("kalo: exec to painted, whole process (%1)").arg(where), kaloMs, false);
    r.goal = QStringLiteral("≤ %1 × bare: %2 ×").arg(startRatioGoal).arg(startRatio, 0, 'f', 2);
    r.met = startRatio <= startRatioGoal ? QStringLiteral("yes") : QStringLiteral("no");
    std::printf("%s\n", qPrintable(tableLine(r)));
    r = row(QStringLiteral("Bare Qt 6 window: peak RSS"), bareMib, true);
    std::printf("%s\n", qPrintable(tableLine(r)));
    r = row(QStringLiteral("kalo: peak RSS"), kaloMib, true);
    r.goal = QStringLiteral("≤ %1 × bare: %2 ×").arg(memoryRatioGoal).arg(memoryRatio, 0, 'f', 2);
    r.met = memoryRatio <= memoryRatioGoal ? QStringLiteral("yes") : QStringLiteral("no");
    std::printf("%s\n", qPrintable(tableLine(r)));
    return 0;
}
