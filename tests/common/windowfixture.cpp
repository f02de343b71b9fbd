// The main window on a fixture FOODS.db in a temporary installation, for widget tests.
#include "tests/common/windowfixture.h"

#include "tests/common/fixturedb.h"
#include "tests/common/modal.h"
#include "ui/foodlist.h"
#include "ui/kalodetailsdialog.h"
#include "ui/qpeapplication.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTabBar>
#include <QTest>

WindowFixture::WindowFixture(const QStringList &extraStatements, bool withDatabase) {
    QStandardPaths::setTestModeEnabled(true);
    prepareInstallDir(dir.path(), withDatabase, extraStatements);
}

WindowFixture::~WindowFixture() {
    stop();
}

QString WindowFixture::foodsPath() const {
    return dir.path() + QStringLiteral("/pics/kalo/FOODS.db");
}

KALOWindow &WindowFixture::start(Settings settings, const QString &databasePath) {
    stop();
    QTest::ignoreMessage(QtDebugMsg, "resizing");
    window = std::make_unique<KALOWindow>(std::move(settings), nullptr, Qt::Window, databasePath);
    window->resize(240, 320);
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        qWarning("the window was not shown");
    window->buildPages(); // as a moment after the first paint
    return *window;
}

void WindowFixture::stop() {
    window.reset();
}

void WindowFixture::showPage(int index) {
    child<QTabBar>("tabBar")->setCurrentIndex(index);
}

QStringList WindowFixture::rows(const char *list) const {
    QStringList texts;
    auto *view = child<FoodList>(list);
    if (view)
        view->finishFilling();
    for (int i = 0; view && i < view->rowCount(); ++i)
        texts << view->text(i, 0);
    return texts;
}

bool WindowFixture::openFood(const char *list, const QString &foodId,
                             const std::function<void(KALODetailsDialog *)> &inDialog,
                             Qt::Key key) {
    auto *view = child<FoodList>(list);
    if (view)
        view->finishFilling();
    int row = -1;
    for (int i = 0; view && i < view->rowCount() && row < 0; ++i)
        if (view->foodId(i) == foodId)
            row = i;
    if (row < 0)
        return false;
    const QModelIndex index = view->model()->index(row, 0);
    view->scrollTo(index);
    bool shown = false;
    whenModalShown(
        [&](QWidget *w) {
            auto *details = static_cast<KALODetailsDialog *>(w);
            shown = true;
            if (inDialog)
                inDialog(details);
            if (details->isVisible())
                details->reject();
        },
        "KALODetailsDialog");
    view->setFocus();
    view->setCurrentIndex(index);
    if (key != Qt::Key_unknown)
        QTest::keyClick(view, key);
    else
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
    return shown;
}

void WindowFixture::activate(QComboBox *combo, const QString &text) {
    const int index = combo->findText(text);
    if (index < 0 || combo->count() < 2) {
        qWarning("no entry %s", qPrintable(text));
        return;
    }
    const bool fromBelow = index + 1 < combo->count();
    combo->setCurrentIndex(fromBelow ? index + 1 : index - 1);
    QTest::keyClick(combo, fromBelow ? Qt::Key_Up : Qt::Key_Down);
}

void WindowFixture::search(const QString &text) {
    QLineEdit *edit = child<QComboBox>("searchCombo")->lineEdit();
    edit->setFocus(); // where the user clicks to type
    edit->clear();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
}

int runWidgetTest(QObject *test, int argc, char **argv) {
    QTemporaryDir screenDir;
    const QString screenFile = screenDir.path() + QStringLiteral("/screen.json");
    writeFile(screenFile, R"({"screens": [{"name": "handheld", "x": 0, "y": 0, "width": 240,
                       "height": 320, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.isEmpty() || platform == "offscreen")
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + screenFile.toUtf8());
    // The program's application object, which takes its icon from the theme beside the data.
    const QString icons = screenDir.path() + QStringLiteral("/share/icons/hicolor/48x48/apps");
    QDir().mkpath(icons);
    QDir().mkpath(screenDir.path() + QStringLiteral("/share/kalo"));
    QImage icon(48, 48, QImage::Format_RGB32);
    icon.fill(Qt::darkGreen);
    icon.save(icons + QStringLiteral("/kalo.png"));
    qputenv("QPEDIR", QFile::encodeName(screenDir.path() + QStringLiteral("/share/kalo")));
    QPEApplication app(argc, argv);
    return QTest::qExec(test, argc, argv);
}
