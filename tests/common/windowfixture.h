// The main window on a fixture FOODS.db in a temporary installation, for widget tests.
#pragma once

#include "settings/settings.h"
#include "ui/kalowindow.h"

#include <QTemporaryDir>
#include <functional>
#include <memory>

class KALODetailsDialog;
class QComboBox;

class WindowFixture {
public:
    // A temporary installation holding the fixture FOODS.db (with the extra statements run on it),
    // or no database at all; QPEDIR points at it.
    explicit WindowFixture(const QStringList &extraStatements = {}, bool withDatabase = true);
    ~WindowFixture();

    QString foodsPath() const;
    // Builds the window with the settings (on another food database where given) and shows it;
    // stop() destroys it, which saves them.
    KALOWindow &start(Settings settings = Settings(), const QString &databasePath = QString());
    void stop();

    template <typename T> T *child(const char *name) const {
        return window->findChild<T *>(QLatin1String(name));
    }
    void showPage(int index);
    // The column-0 texts of a list, top to bottom, once all its rows are read.
    QStringList rows(const char *list) const;
    // Clicks the row of the food in the list, or makes it current and presses the key. inDialog
    // runs while the details dialog is shown, which is then closed. False when none came up.
    bool openFood(const char *list, const QString &foodId,
                  const std::function<void(KALODetailsDialog *)> &inDialog = {},
                  Qt::Key key = Qt::Key_unknown);

    // Chooses the combo's entry with the keyboard, as a user does: one activation of that entry.
    static void activate(QComboBox *combo, const QString &text);
    // Types the text into the search line and presses Return.
    void search(const QString &text);

    QTemporaryDir dir;
    std::unique_ptr<KALOWindow> window;
};

// main() for a widget test: the program's application object with its icon installed, on a
// handheld-sized (240 by 320) offscreen screen unless the caller chose a platform of their own.
int runWidgetTest(QObject *test, int argc, char **argv);
#define KALO_WIDGET_TEST_MAIN(TestClass)                                                           \
    int main(int argc, char **argv) {                                                              \
        TestClass test;                                                                            \
        return runWidgetTest(&test, argc, argv);                                                   \
    }
