// Program entry: the application object, the settings, the main window and the event loop.
#include "settings/settings.h"
#include "ui/kalowindow.h"
#include "ui/qpeapplication.h"

#include <QEvent>
#include <QTimer>

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

} // namespace

int main(int argc, char **argv) {
    QPEApplication app(argc, argv, QPEApplication::GuiClient);
    Settings settings = loadSettings();
    int result = 0;
    {
        KALOWindow window(std::move(settings), nullptr, Qt::Window);
        QuitAfterFirstPaint quitAfterPaint;
        if (qEnvironmentVariableIsSet("KALO_QUIT_AFTER_PAINT"))
            window.installEventFilter(&quitAfterPaint);
        app.showMainWidget(&window, false);
        window.show();
        result = app.exec();
    } // the window's destructor captures the options and saves the settings
    return result;
}
