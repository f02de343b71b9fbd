// The application object: QApplication with the handheld environment's few extras.
#pragma once

#include <QApplication>
#include <QIcon>

class QWidget;

class QPEApplication : public QApplication {
    Q_OBJECT
public:
    enum Type { GuiClient };

    QPEApplication(int &argc, char **argv, Type type = GuiClient);
    ~QPEApplication() override;

    // From now on SIGTERM, SIGHUP and SIGINT end the event loop with status 0, through the event
    // loop itself, so that the main window is destroyed, and saves the settings, as when it is
    // closed. A second signal ends the process at once.
    void endOnTerminationSignals();

    // The installation directory, ending in '/' (see installationDirectory()).
    static QString qpeDir();

    // Shows the main window: filling the screen on a handheld-sized screen (either side at most
    // 480 px), otherwise at a comfortable size in the middle of the screen.
    void showMainWidget(QWidget *widget, bool noMaximize = false);

    // Runs the event loop; returns 0 at once when a termination signal came while the main window
    // was being built (its event processing could not end a loop not yet running).
    int exec();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void terminationSignalled();

    bool terminationPending = false;
    QIcon icon; // the windows' icon, theirs once the first has painted
};
