// Program entry: the command line, one running program, the settings, the main window and the
// event loop.
#include "db/foodsdatabase.h"
#include "db/sqlitedb.h"
#include "platform/commandline.h"
#include "platform/config.h"
#include "platform/databaselocation.h"
#include "platform/singleinstance.h"
#include "settings/settings.h"
#include "ui/kalowindow.h"
#include "ui/qpeapplication.h"

#include <QEvent>
#include <QSessionManager>
#include <QTimer>

#include <cstdio>

namespace {

// For start-up measurements (KALO_QUIT_AFTER_PAINT set): ends the event loop as soon as the
// window's first paint has been flushed to the screen.
class QuitAfterFirstPaint : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, QCoreApplication::instance(), &QCoreApplication::quit);
        }
        return false;
    }
};

void print(FILE *stream, const QString &text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
}

} // namespace

int main(int argc, char **argv) {
    // Answered before anything else, without an application object, so without a display.
    CommandLine commandLine = parseCommandLine(argc, argv);
    const QString databasePath =
        commandLine.databasePath.isNull() ? foodsDatabasePath() : commandLine.databasePath;
    switch (commandLine.action) {
    case CommandLine::Help:
        print(stdout, usageText());
        return 0;
    case CommandLine::Version:
        print(stdout, versionText(QStringLiteral(KALO_VERSION), SQLiteDB::version(),
                                  describeFoodsDatabase(databasePath)));
        return 0;
    case CommandLine::UsageError:
        print(stderr, QStringLiteral("kalo: %1\n\n").arg(commandLine.error) + usageText());
        return 2;
    case CommandLine::Run:
        break;
    }

    SingleInstance instance(Config::userFilePath(QStringLiteral("KALO")));
    if (!instance.problem().isNull())
        print(stderr, QStringLiteral("kalo: %1: starting without checking for a running KALO.\n")
                          .arg(instance.problem()));
    if (!instance.isFirst()) {
        if (!instance.activateRunning()) {
            print(stderr, QStringLiteral("kalo: KALO is running already but does not answer.\n"));
            return 1;
        }
        if (!commandLine.databasePath.isNull())
            print(stderr, QStringLiteral("kalo: KALO is running already; its window was brought "
                                         "to the front, with its own database.\n"));
        return 0;
    }

    int applicationArgc = int(commandLine.applicationArguments.size()) - 1;
    QPEApplication app(applicationArgc, commandLine.applicationArguments.data(),
                       QPEApplication::GuiClient);
    app.endOnTerminationSignals();
    instance.listen();
    Settings settings = loadSettings();
    int result = 0;
    {
        KALOWindow window(std::move(settings), nullptr, Qt::Window, databasePath);
        QObject::connect(&instance, &SingleInstance::activationRequested, &window, [&window] {
            window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
            window.show();
            window.raise();
            window.activateWindow();
        });
        // The desktop session ends: it may end the process without closing the window.
        QObject::connect(&app, &QGuiApplication::commitDataRequest, &window,
                         [&window](QSessionManager &) { window.saveSettingsNow(); });
        QuitAfterFirstPaint quitAfterPaint;
        if (qEnvironmentVariableIsSet("KALO_QUIT_AFTER_PAINT"))
            window.installEventFilter(&quitAfterPaint);
        app.showMainWidget(&window, false);
        window.show();
        result = app.exec();
    } // the window's destructor captures the options and saves the settings
    return result;
}
