// Shared by the reliability tests: copies of the real food database, file digests, the main
// window driven as a user drives it, and a reference search that binds its values.
#pragma once

#include "app/kalowindow.h"
#include "tests/common/modal.h"

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QStringList>
#include <memory>

class QTreeWidget;
struct sqlite3;

// SHA-256 of the file's bytes; empty when it cannot be read.
QByteArray fileDigest(const QString &path);

// Copies the FOODS.db built from the USDA data into <dir>/pics/kalo/FOODS.db (writable) and
// points QPEDIR at dir. Empty when the build made no such database.
QString copyRealDatabase(const QString &dir);

// Without the real database a test is skipped, except in CI (the CI variable set), where it
// fails: there the database must have been built.
#define KALO_REQUIRE_REAL_DATABASE(path)                                                           \
    do {                                                                                           \
        if ((path).isEmpty()) {                                                                    \
            if (qEnvironmentVariableIsSet("CI"))                                                   \
                QFAIL("The food database was not built (pics/kalo/FOODS.db in the build tree)");   \
            QSKIP("The food database was not built; build the ALL target first");                  \
        }                                                                                          \
    } while (false)

// The food numbers a list shows, in no particular order.
QSet<QString> listedIds(const QTreeWidget *list);

// The main window with every message box answered and counted, shown on the offscreen screen.
class WindowSession {
public:
    WindowSession();
    ~WindowSession();

    template <typename T> T *child(const char *name) const {
        return window->findChild<T *>(QLatin1String(name));
    }
    QTreeWidget *list(const char *name) const;

    // Chooses the tab, as a click on it does.
    void goToPage(int index);
    // Puts the text into the search line as it is (a paste), chooses the group ("All
    // Categories" when null) and clicks "Search:".
    void search(const QString &text, const QString &category = QString());
    // Chooses the group in the Browse page's combo box with the keyboard.
    void browse(const QString &category);
    // Types into the weight field key by key (its validator sees every key), replacing its text.
    void typeWeight(const QString &text);
    // Opens the food's row of the list in the details dialog and returns the report's plain text
    // and the serving names and weights the dialog offers; empty when the row or dialog is
    // missing.
    struct Opened {
        bool shown = false;
        QString report;
        QStringList servings;
    };
    Opened open(QTreeWidget *list, const QString &foodId);

    // No finding widget left disabled and the processing window hidden.
    bool idle() const;

    std::unique_ptr<MessageBoxWatcher> boxes;
    std::unique_ptr<KALOWindow> window;
    bool exposed = false; // the window was shown on the screen
};

// Word search as the program's rules define it, run on a connection of its own with every value
// bound or quoted by the library itself: the words are split at the separators, each dictionary
// word becomes its token, and a food matches when its stored description contains any term
// (LIKE, with "%" and "_" as wildcards). NUL characters are left out.
class ReferenceSearch {
public:
    explicit ReferenceSearch(const QString &path);
    ~ReferenceSearch();
    bool isOpen() const { return db != nullptr; }

    // The food numbers the search should list, for "All Categories" (null group) or one group.
    QSet<QString> foods(const QString &text, const QString &group = QString()) const;
    // The foods of one group, by its name.
    QSet<QString> groupFoods(const QString &group) const;
    // Stored descriptions by food number.
    QString storedDescription(const QString &foodId) const;

private:
    QStringList column(const QByteArray &sql, const QStringList &values) const;
    sqlite3 *db = nullptr;
};
