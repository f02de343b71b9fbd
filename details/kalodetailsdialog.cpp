// The modal details dialog: a food's nutrient report with copy, bookmark, serving and view tools.
#include "details/kalodetailsdialog.h"

#include <QResizeEvent>

KALODetailsDialog::KALODetailsDialog(QWidget *parent)
    : QDialog(parent)
{
    setModal(true);
}

KALODetailsDialog::~KALODetailsDialog() = default;

void KALODetailsDialog::setDetails(const QString &id, const QString &desc, const QString &basic,
                                   const QString &detailed, const QStringList &weightNames,
                                   QList<double> weights, int weightIndex)
{
    shownId = id;
    shownDesc = desc;
    basicText = basic;
    detailedText = detailed;
    Q_UNUSED(weightNames);
    menuWeights = weights;
    Q_UNUSED(weightIndex);
}

void KALODetailsDialog::setBasicView(bool basic)
{
    showBasic = basic;
}

void KALODetailsDialog::resizeEvent(QResizeEvent *event)
{
    Q_UNUSED(event);
}

void KALODetailsDialog::copy() {}
void KALODetailsDialog::addBookmark() {}
void KALODetailsDialog::selectWeight() {}
void KALODetailsDialog::changeView() {}
void KALODetailsDialog::timeout() {}
