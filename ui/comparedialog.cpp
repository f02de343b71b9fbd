// The Compare dialog: two foods side by side in one table.
#include "ui/comparedialog.h"

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
}

void CompareDialog::setFoods(const FoodReport &first, const FoodReport &second,
                             ReportView shownView) {
    firstFood = first;
    secondFood = second;
    view = shownView;
    showTable();
}

void CompareDialog::showTable() {
    compareBrowser->setHtml(compareHtml(firstFood, secondFood,
                                        compareRows(firstFood, secondFood, view),
                                        reportColours(compareBrowser->palette())));
}

void CompareDialog::changeEvent(QEvent *event) {
    if (event->type() == QEvent::PaletteChange && !firstFood.id.isEmpty())
        showTable();
    QDialog::changeEvent(event);
}

void CompareDialog::compare(const PageContext &context, const Settings &settings,
                            const QString &firstId, const QString &secondId, QWidget *parent,
                            const QStringList &missingColumns) {
    const double weight = normalisedWeight(settings.customWeight);
    const FoodReport first =
        loadFoodReport(context.db, firstId, context.words, weight, missingColumns);
    if (context.status.reportError(context.db))
        return;
    const FoodReport second =
        loadFoodReport(context.db, secondId, context.words, weight, missingColumns);
    if (context.status.reportError(context.db))
        return;
    CompareDialog dialog(parent);
    dialog.setFoods(first, second, KALODetailsDialog::defaultView(settings));
    dialog.exec();
}
