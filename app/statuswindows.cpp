// The database error box and the "processing" window shown while a long query runs.
#include "app/kalowindow.h"

void KALOWindow::showDatabaseError(const QString &text)
{
    Q_UNUSED(text);
}

void KALOWindow::showProcessing() {}

void KALOWindow::hideProcessing() {}
