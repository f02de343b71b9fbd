// The Compare dialog: two foods side by side in one table.
#include "ui/comparedialog.h"

#include "db/foodsdatabase.h"
#include "details/comparison.h"
#include "settings/settings.h"
#include "settings/weightrules.h"
#include "ui/kalodetailsdialog.h"
#include "ui/pagecontext.h"
#include "ui/reportcolours.h"
#include "ui/statuswindows.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <memory>

CompareDialog::CompareDialog(QWidget *parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("compareDialog"));
    setWindowTitle(QStringLiteral("Compare"));
    setModal(true);
    compareBrowser = new QTextBrowser(this);
    compareBrowser->setObjectName(QStringLiteral("compareBrowser"));
    compareBrowser->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Long descriptions and names wrap, within a word where a narrow screen needs it.
    compareBrowser->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    // A handheld has no Escape key: a button closes it too.
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 4);
    layout->addWidget(compareBrowser, 10);
    layout->addWidget(buttons, 0);
    if (parent)
        resize(parent->size());
    // The browser gets its size now, so the table is laid out once, at the width it is shown in.
    layout->activate();
}

void CompareDialog::setFoods(const FoodReport &first, const FoodReport &second, ReportView asked) {
    firstFood = first;
    secondFood = second;
    view = asked;
    showTable();
}

void CompareDialog::showTable() {
    // A table longer than a screen is laid out once when the scroll bar is there from the start.
    compareBrowser->setVerticalScrollBarPolicy(view == ReportView::Basic ? Qt::ScrollBarAsNeeded
                                                                         : Qt::ScrollBarAlwaysOn);
    compareBrowser->setHtml(compareHtml(firstFood, secondFood,
                                        compareRows(firstFood, secondFood, view),
                                        reportColours(compareBrowser->palette())));
}

void CompareDialog::changeEvent(QEvent *event) {
    if (event->type() == QEvent::PaletteChange && !firstFood.id.isEmpty())
        showTable();
    QDialog::changeEvent(event);
}

void CompareDialog::compare(const PageContext &context, const QString &firstId,
                            const QString &secondId, QWidget *parent) {
    const Settings &settings = context.settings;
    const double weight = normalisedWeight(settings.customWeight);
    const FoodReport first = loadFoodReport(context.foods, firstId, weight);
    if (context.status.reportError(context.foods.connection()))
        return;
    const FoodReport second = loadFoodReport(context.foods, secondId, weight);
    if (context.status.reportError(context.foods.connection()))
        return;
    // One dialog per window, made at the first comparison and kept, as the details dialog is:
    // making a new window every time costs more than all the rest of opening it.
    std::unique_ptr<CompareDialog> ownDialog;
    CompareDialog *dialog =
        parent ? parent->findChild<CompareDialog *>(QString(), Qt::FindDirectChildrenOnly)
               : nullptr;
    if (!dialog) {
        dialog = new CompareDialog(parent);
        if (!parent)
            ownDialog.reset(dialog);
    } else {
        dialog->resize(parent->size());
        dialog->layout()->activate();
    }
    dialog->setFoods(first, second, KALODetailsDialog::defaultView(settings));
    dialog->exec();
    dialog->hide();
}
