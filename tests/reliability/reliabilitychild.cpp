// A helper process for the reliability tests: work that must run in a process of its own (to be
// killed, to run under another locale, or with fewer rights). Prints its findings as "key=value"
// lines on standard output.
//   save-loop FIRST COUNT  saves settings versions FIRST, FIRST+1, ... (COUNT of them, 0: forever)
//   weight TEXT...         types each text into the weight field and reads the weight back
//   window [unprivileged]  starts the main window, visits every page and reports what it showed;
//                          as root, "unprivileged" first becomes the user nobody
#include "app/kalowindow.h"
#include "app/settings.h"
#include "tests/common/modal.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QTabBar>
#include <QTest>
#include <QTreeWidget>

#include <cstdio>
#include <cstdlib>
#include <grp.h>
#include <unistd.h>

namespace {

void print(const QString &key, const QString &value) {
    std::printf("%s=%s\n", key.toUtf8().constData(), value.toUtf8().constData());
    std::fflush(stdout);
}

// Version v of the settings: every list item names its version, so a reader can tell a
// complete file of one version from a mixture or a cut-off one.
void fillVersion(int v) {
    settings.basicView = v % 2 == 0;
    settings.customWeight = v + 1;
    settings.bookmarkIds.clear();
    settings.bookmarkDescs.clear();
    settings.searchHistory.clear();
    const QString padding(400, QLatin1Char('x'));
    for (int k = 0; k < 50; ++k) {
        settings.bookmarkIds << QStringLiteral("%1-%2").arg(v).arg(k);
        settings.bookmarkDescs << QStringLiteral("v%1 food %2 %3").arg(v).arg(k).arg(padding);
    }
    for (int k = 0; k < 400; ++k)
        settings.searchHistory << QStringLiteral("v%1 text %2 %3").arg(v).arg(k).arg(padding);
}

int saveLoop(int first, int count) {
    print(QStringLiteral("ready"), QString::number(first));
    for (int v = first; count == 0 || v < first + count; ++v) {
        fillVersion(v);
        saveSettings();
        print(QStringLiteral("saved"), QString::number(v));
    }
    return 0;
}

int typeWeights(KALOWindow &window, const QStringList &texts) {
    auto *tabs = window.findChild<QTabBar *>(QStringLiteral("tabBar"));
    auto *edit = window.findChild<QLineEdit *>(QStringLiteral("weightEdit"));
    print(QStringLiteral("locale"), QLocale::system().name());
    print(QStringLiteral("strtod"), QString::number(std::strtod("12.5", nullptr)));
    for (const QString &text : texts) {
        tabs->setCurrentIndex(4);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
        print(QStringLiteral("field"), edit->text());
        tabs->setCurrentIndex(0);
        print(QStringLiteral("weight"), QString::number(settings.customWeight, 'g', 17));
    }
    return 0;
}

int visitPages(KALOWindow &window, MessageBoxWatcher &boxes) {
    print(QStringLiteral("startBoxes"), QString::number(boxes.count()));
    print(QStringLiteral("browseRows"),
          QString::number(
              window.findChild<QTreeWidget *>(QStringLiteral("browseList"))->topLevelItemCount()));
    auto *tabs = window.findChild<QTabBar *>(QStringLiteral("tabBar"));
    for (int page : {1, 2, 3, 4, 0})
        tabs->setCurrentIndex(page);
    print(QStringLiteral("topRows"),
          QString::number(
              window.findChild<QTreeWidget *>(QStringLiteral("topList"))->topLevelItemCount()));
    print(QStringLiteral("boxes"), QString::number(boxes.count()));
    for (const QString &text : boxes.texts)
        print(QStringLiteral("boxText"), text);
    return 0;
}

bool becomeNobody() {
    if (geteuid() != 0)
        return true;
    const gid_t group = 65534;
    return setgroups(1, &group) == 0 && setgid(65534) == 0 && setuid(65534) == 0;
}

} // namespace

int main(int argc, char **argv) {
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (mode == QLatin1String("save-loop") && argc == 4) {
        QCoreApplication app(argc, argv);
        return saveLoop(atoi(argv[2]), atoi(argv[3]));
    }
    if (mode == QLatin1String("window") && argc > 2 && !becomeNobody()) {
        print(QStringLiteral("error"), QStringLiteral("cannot become nobody"));
        return 2;
    }
    if (mode != QLatin1String("weight") && mode != QLatin1String("window")) {
        std::fprintf(stderr, "usage: save-loop FIRST COUNT | weight TEXT... | window\n");
        return 2;
    }
    QApplication app(argc, argv);
    print(QStringLiteral("uid"), QString::number(geteuid()));
    loadSettings();
    MessageBoxWatcher boxes;
    KALOWindow window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 3;
    QStringList rest;
    for (int i = 2; i < argc; ++i)
        rest << QString::fromLocal8Bit(argv[i]);
    return mode == QLatin1String("weight") ? typeWeights(window, rest) : visitPages(window, boxes);
}
