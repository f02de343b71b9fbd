// The main window: construction, page switching and options.
#include "app/kalowindow.h"

#include "app/settings.h"
#include "details/kalodetailsdialog.h"
#include "platform/qpeapplication.h"

KALOWindow::KALOWindow(QWidget *parent, Qt::WindowFlags flags)
    : QMainWindow(parent, flags)
{
    setWindowTitle(QStringLiteral("KALO"));
    reportValues.fill(0.0, 25);
    db.open(QPEApplication::qpeDir() + QStringLiteral("/pics/kalo/FOODS.db"), false);
    detailsDialog = new KALODetailsDialog(this);
    if (db.hasError())
        showDatabaseError(db.lastError());
    loadWordIndex();
    fillCombos();
    prepareTopCache();
}

KALOWindow::~KALOWindow()
{
    readOptions();
    saveSettings();
}

void KALOWindow::showPage(int index)
{
    Q_UNUSED(index);
}

void KALOWindow::readOptions() {}

QString KALOWindow::aboutText()
{
    return QString();
}
