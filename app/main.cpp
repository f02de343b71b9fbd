// Program entry: the application object, the settings, the main window and the event loop.
#include "app/kalowindow.h"
#include "app/settings.h"
#include "platform/qpeapplication.h"

int main(int argc, char **argv)
{
    QPEApplication app(argc, argv, QPEApplication::GuiClient);
    loadSettings();
    int result = 0;
    {
        KALOWindow window(nullptr, Qt::Window);
        app.showMainWidget(&window, false);
        window.show();
        result = app.exec();
    } // the window's destructor captures the options and saves the settings
    return result;
}
