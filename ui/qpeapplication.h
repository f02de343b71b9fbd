// The application object: QApplication with the handheld environment's few extras.
#pragma once

#include <QApplication>

class QWidget;

class QPEApplication : public QApplication {
    Q_OBJECT
public:
    enum Type { GuiClient };

    QPEApplication(int &argc, char **argv, Type type = GuiClient);

    // The installation directory, ending in '/' (see installationDirectory()).
    static QString qpeDir();

    // Shows the main window: filling the screen on a handheld-sized screen (either side at most
    // 480 px), otherwise at a comfortable size in the middle of the screen.
    void showMainWidget(QWidget *widget, bool noMaximize = false);
};
