// The application object: QApplication with the handheld environment's few extras.
#include "ui/qpeapplication.h"

#include "platform/installdir.h"

#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QScreen>
#include <QWidget>
#include <clocale>

namespace {

// The icon installed with the program into the hicolor theme beside its data (share/icons beside
// share/kalo), read from there: a theme look-up parses the whole theme index first, which costs
// several milliseconds of every start.
QIcon installedIcon() {
    QIcon icon;
    const QDir theme(installationDirectory() + QStringLiteral("../icons/hicolor"));
    const QStringList sizes = theme.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &size : sizes) {
        const QString file = theme.filePath(size + QStringLiteral("/apps/kalo.png"));
        if (QFileInfo::exists(file))
            icon.addFile(file);
    }
    return icon;
}

} // namespace

QPEApplication::QPEApplication(int &argc, char **argv, Type)
    : QApplication(argc, argv) {
    // QApplication takes the process locale from the environment; the program's number parsing
    // and formatting follow the C library's rules, so numbers stay in the C locale.
    setlocale(LC_NUMERIC, "C");
    setApplicationName(QStringLiteral("KALO"));
    setDesktopFileName(QStringLiteral(KALO_APP_ID));
    // The icon installed into the desktop's icon theme with the program, when it is there.
    const QIcon icon = installedIcon();
    setWindowIcon(icon.isNull() ? QIcon::fromTheme(QStringLiteral("kalo")) : icon);
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
