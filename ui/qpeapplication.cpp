// The application object: QApplication with the handheld environment's few extras.
#include "ui/qpeapplication.h"

#include "ui/pictures.h"

#include "platform/installdir.h"

#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QScreen>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>

#include <cerrno>
#include <clocale>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

const int terminationSignals[] = {SIGTERM, SIGHUP, SIGINT};
// The self-pipe: a signal handler may only write a byte, which the event loop then reads.
int signalPipe[2] = {-1, -1};

void onTerminationSignal(int signal) {
    const int savedErrno = errno;
    const char byte = 1;
    const ssize_t written = ::write(signalPipe[1], &byte, 1);
    (void)written; // a full pipe already holds a pending byte
    // A second one ends a program that is stuck at once, as if nothing had been installed.
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    sigaction(signal, &action, nullptr);
    errno = savedErrno;
}

// The icon installed with the program into the hicolor theme beside its data (share/icons beside
// share/kalo), read from there: a theme look-up parses the whole theme index first, which costs
// several milliseconds of every start. The window icon takes the sizes up to 64 pixels: every one
// is read and sent to the display when the window is made, and the desktop finds the larger ones
// in the theme by the program's desktop file name.
QIcon installedIcon() {
    QStringList files;
    const QDir theme(installationDirectory() + QStringLiteral("../icons/hicolor"));
    const QStringList sizes = theme.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &size : sizes) {
        const QString file = theme.filePath(size + QStringLiteral("/apps/kalo.png"));
        if (size.section(QLatin1Char('x'), 0, 0).toInt() <= 64 && QFileInfo::exists(file))
            files << file;
    }
    return pictureOfFiles(files);
}

} // namespace

QPEApplication::QPEApplication(int &argc, char **argv, Type)
    : QApplication(argc, argv) {
    // QApplication takes the process locale from the environment; the program's number parsing
    // and formatting follow the C library's rules, so numbers stay in the C locale.
    setlocale(LC_NUMERIC, "C");
    setApplicationName(QStringLiteral("KALO"));
    setDesktopFileName(QStringLiteral(KALO_APP_ID));
    // The icon installed into the desktop's icon theme with the program, when it is there. It is
    // read and given to the windows once a window has first painted (eventFilter): read and sent
    // to the display before that, it would hold back the first screen the user waits for.
    icon = installedIcon();
    if (icon.isNull())
        icon = QIcon::fromTheme(QStringLiteral("kalo"));
    installEventFilter(this);
}

bool QPEApplication::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::Paint) {
        removeEventFilter(this);
        // A moment after the first screen is on the display, after what the paint itself set off.
        QTimer::singleShot(50, this, [this] { setWindowIcon(icon); });
    }
    return QApplication::eventFilter(watched, event);
}

void QPEApplication::endOnTerminationSignals() {
    if (signalPipe[0] >= 0 || ::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return; // the signals keep their default action
    auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &QPEApplication::terminationSignalled);
    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : terminationSignals)
        sigaction(signal, &action, nullptr);
}

QPEApplication::~QPEApplication() {
    if (signalPipe[0] < 0)
        return;
    for (const int signal : terminationSignals)
        std::signal(signal, SIG_DFL);
    ::close(signalPipe[0]);
    ::close(signalPipe[1]);
    signalPipe[0] = signalPipe[1] = -1;
}

void QPEApplication::terminationSignalled() {
    char bytes[16];
    while (::read(signalPipe[0], bytes, sizeof bytes) > 0) {
    }
    terminationPending = true;
    // Ends every running loop, a modal dialog's included, so the main loop returns.
    QCoreApplication::exit(0);
}

int QPEApplication::exec() {
    return terminationPending ? 0 : QApplication::exec();
}

QString QPEApplication::qpeDir() {
    return installationDirectory();
}

void QPEApplication::showMainWidget(QWidget *widget, bool noMaximize) {
    QScreen *screen = primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
    const bool handheld = area.width() <= 480 || area.height() <= 480;
    if (handheld && !noMaximize) {
        widget->setGeometry(area);
        widget->showMaximized();
        return;
    }
    // A desktop screen: a portrait window like the handheld's, large enough to read a report.
    const QSize size(qMin(560, area.width() * 9 / 10), qMin(720, area.height() * 9 / 10));
    widget->resize(size);
    widget->move(area.center() - QPoint(size.width() / 2, size.height() / 2));
}
