// kalo_bare_window: the start-up baseline, a bare Qt 6 window with the widgets of the program's
// first page (a tab bar, a combo box, a tree view) at the program's window size.
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QMainWindow>
#include <QScreen>
#include <QTabBar>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// The same hook as the program's: with KALO_QUIT_AFTER_PAINT set, quit once the first paint of
// the window has been flushed.
class QuitAfterFirstPaint : public QObject {
public:
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
    QApplication app(argc, argv);
    QMainWindow window;
    auto *central = new QWidget(&window);
    auto *tabs = new QTabBar(central);
    for (const char *name : {"Browse", "Search", "Top Foods", "Bookmarks", "Options"})
        tabs->addTab(QLatin1String(name));
    auto *combo = new QComboBox(central);
    auto *tree = new QTreeWidget(central);
    tree->setHeaderLabels({QStringLiteral("Description ")});
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tabs);
    layout->addWidget(combo);
    layout->addWidget(tree, 10);
    window.setCentralWidget(central);

    // The size and place the program takes on a desktop screen.
    const QRect area = app.primaryScreen()->availableGeometry();
    const QSize size(qMin(560, area.width() * 9 / 10), qMin(720, area.height() * 9 / 10));
    window.resize(size);
    window.move(area.center() - QPoint(size.width() / 2, size.height() / 2));

    QuitAfterFirstPaint quitAfterPaint;
    if (qEnvironmentVariableIsSet("KALO_QUIT_AFTER_PAINT"))
        window.installEventFilter(&quitAfterPaint);
    window.show();
    return app.exec();
}
