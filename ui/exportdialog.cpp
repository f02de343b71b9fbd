// The file dialog an export asks where to write with.
#include "ui/exportdialog.h"

#include "platform/exportfilename.h"

#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>
#include <QStringList>

ExportChoice askExportPath(QWidget *parent, const QString &subject, const QString &detail,
                           const QList<ExportFilter> &filters) {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    QStringList names;
    for (const ExportFilter &filter : filters)
        names << QStringLiteral("%1 (*.%2)").arg(filter.name, filter.suffix);
    QFileDialog dialog(parent, QStringLiteral("Export"), folder);
    dialog.setObjectName(QStringLiteral("exportDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(names);
    const auto suggest = [&](int index) {
        const ExportFilter &filter = filters.value(index);
        dialog.setDefaultSuffix(filter.suffix);
        dialog.selectFile(exportFileName(subject, detail, filter.suffix));
    };
    suggest(0);
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&](const QString &name) { suggest(int(names.indexOf(name))); });
    ExportChoice choice;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return choice;
    choice.path = dialog.selectedFiles().constFirst();
    choice.filter = qMax(0, int(names.indexOf(dialog.selectedNameFilter())));
    return choice;
}
