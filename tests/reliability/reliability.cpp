// Shared by the reliability tests: copies of the real food database, file digests, the main
// window driven as a user drives it, and a reference search that binds its values.
#include "tests/reliability/reliability.h"

#include "details/kalodetailsdialog.h"
#include "finding/foodlistitem.h"
#include "tests/common/fixturedb.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCryptographicHash>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QTabBar>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>

#include <sqlite3.h>

QByteArray fileDigest(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&file);
    return hash.result().toHex();
}

QString copyRealDatabase(const QString &dir) {
    const QString real = realFoodsDatabase();
    if (real.isEmpty())
        return QString();
    const QString path = prepareInstallDir(dir, false);
    QFile::remove(path);
    if (!QFile::copy(real, path))
        return QString();
    QFile(path).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return path;
}

QSet<QString> listedIds(const QTreeWidget *list) {
    QSet<QString> ids;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        ids.insert(static_cast<const FoodListItem *>(list->topLevelItem(i))->foodId());
    return ids;
}

WindowSession::WindowSession()
    : boxes(std::make_unique<MessageBoxWatcher>())
    , window(std::make_unique<KALOWindow>()) {
    window->show();
    exposed = QTest::qWaitForWindowExposed(window.get());
}

WindowSession::~WindowSession() {
    window.reset();
    boxes.reset();
}

QTreeWidget *WindowSession::list(const char *name) const {
    return child<QTreeWidget>(name);
}

void WindowSession::goToPage(int index) {
    child<QTabBar>("tabBar")->setCurrentIndex(index);
}

void WindowSession::search(const QString &text, const QString &category) {
    auto *groups = child<QComboBox>("searchCategoryCombo");
    groups->setCurrentIndex(category.isNull() ? 0 : groups->findText(category));
    child<QComboBox>("searchCombo")->setEditText(text);
    QTest::mouseClick(child<QPushButton>("searchButton"), Qt::LeftButton);
}

void WindowSession::browse(const QString &category) {
    auto *combo = child<QComboBox>("categoryCombo");
    const int index = combo->findText(category);
    if (index < 0 || combo->count() < 2)
        return;
    const bool fromBelow = index + 1 < combo->count();
    combo->setCurrentIndex(fromBelow ? index + 1 : index - 1);
    QTest::keyClick(combo, fromBelow ? Qt::Key_Up : Qt::Key_Down);
}

void WindowSession::typeWeight(const QString &text) {
    auto *edit = child<QLineEdit>("weightEdit");
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

WindowSession::Opened WindowSession::open(QTreeWidget *foods, const QString &foodId) {
    Opened opened;
    QTreeWidgetItem *item = nullptr;
    for (int i = 0; i < foods->topLevelItemCount() && !item; ++i) {
        auto *row = static_cast<FoodListItem *>(foods->topLevelItem(i));
        if (row->foodId() == foodId)
            item = row;
    }
    if (!item)
        return opened;
    // Raise the page that holds the list: a click only reaches a list on the page shown.
    auto *stack = child<QStackedWidget>("pageStack");
    for (int i = 0; i < stack->count(); ++i)
        if (stack->widget(i)->isAncestorOf(foods))
            goToPage(i);
    foods->scrollToItem(item);
    whenModalShown([&opened](QWidget *w) {
        auto *dialog = qobject_cast<KALODetailsDialog *>(w);
        if (!dialog)
            return; // an error box: the watcher answers it
        opened.shown = true;
        opened.report =
            dialog->findChild<QTextBrowser *>(QStringLiteral("reportBrowser"))->toPlainText();
        for (QAction *action : dialog->findChild<QMenu *>(QStringLiteral("weightMenu"))->actions())
            opened.servings << action->text();
        dialog->reject();
    });
    QTest::mouseClick(foods->viewport(), Qt::LeftButton, {}, foods->visualItemRect(item).center());
    return opened;
}

bool WindowSession::idle() const {
    for (const char *name : {"categoryCombo", "browseList", "searchButton", "searchCombo",
                             "searchCategoryCombo", "searchList", "topCombo", "topList"}) {
        auto *w = window->findChild<QWidget *>(QLatin1String(name));
        if (!w || !w->isEnabled())
            return false;
    }
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("processing window") && w->isVisible())
            return false;
    return true;
}

ReferenceSearch::ReferenceSearch(const QString &path) {
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) !=
        SQLITE_OK) {
        sqlite3_close(db);
        db = nullptr;
    }
}

ReferenceSearch::~ReferenceSearch() {
    sqlite3_close(db);
}

QStringList ReferenceSearch::column(const QByteArray &sql, const QStringList &values) const {
    QStringList out;
    sqlite3_stmt *stmt = nullptr;
    if (!db || sqlite3_prepare_v2(db, sql.constData(), -1, &stmt, nullptr) != SQLITE_OK)
        return out;
    for (int i = 0; i < values.size(); ++i) {
        const QByteArray utf8 = values.at(i).toUtf8();
        sqlite3_bind_text(stmt, i + 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    }
    while (sqlite3_step(stmt) == SQLITE_ROW)
        out << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    return out;
}

QSet<QString> ReferenceSearch::foods(const QString &text, const QString &group) const {
    static const QRegularExpression separators(QStringLiteral("[,| ()+]"));
    // A NUL cannot stand in a statement; the program leaves it out of the values it places.
    const QStringList words = QString(text).remove(QChar(0)).split(separators, Qt::SkipEmptyParts);
    const bool restricted = !group.isNull() && group != QLatin1String("All Categories");
    const QString code =
        restricted
            ? column("select FdGrp_Cd from FOODS_GROUP where FdGrp_Desc = ?1", {group}).value(0)
            : QString();
    QStringList terms;
    for (const QString &word : words) {
        const QStringList tokens = column("select WID from WORDS_WR where TEXT like ?1", {word});
        terms << (tokens.isEmpty() ? word : tokens.first());
    }
    if (terms.isEmpty()) {
        const QStringList all =
            restricted ? QStringList() : column("select NDB_No from FOODS_WR", {});
        return QSet<QString>(all.begin(), all.end());
    }
    QSet<QString> found;
    for (const QString &term : std::as_const(terms)) {
        const QStringList ids =
            restricted ? column("select NDB_No from FOODS_WR where desc like ?1 and FdGrp_Cd = ?2",
                                {QLatin1Char('%') + term + QLatin1Char('%'), code})
                       : column("select NDB_No from FOODS_WR where desc like ?1",
                                {QLatin1Char('%') + term + QLatin1Char('%')});
        for (const QString &id : ids)
            found.insert(id);
    }
    return found;
}

QSet<QString> ReferenceSearch::groupFoods(const QString &group) const {
    const QStringList ids = column("select NDB_No from FOODS_WR, FOODS_GROUP where "
                                   "FOODS_WR.FdGrp_Cd = FOODS_GROUP.FdGrp_Cd and FdGrp_Desc = ?1",
                                   {group});
    return QSet<QString>(ids.begin(), ids.end());
}

QString ReferenceSearch::storedDescription(const QString &foodId) const {
    return column("select desc from FOODS_WR where NDB_No = ?1", {foodId}).value(0);
}
