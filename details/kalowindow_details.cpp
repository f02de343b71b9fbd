// The main window's details operations: loading a food and building its report.
#include "app/kalowindow.h"

#include "details/kalodetailsdialog.h"
#include "platform/cnumber.h"

double KALOWindow::parseValue(const QString &text)
{
    if (text.isEmpty())
        return 0.0;
    return cStrtod(text);
}

void KALOWindow::itemClicked(QTreeWidgetItem *item)
{
    Q_UNUSED(item);
}

void KALOWindow::updateCachedArray(int weightIndex)
{
    Q_UNUSED(weightIndex);
}
