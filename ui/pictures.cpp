// The program's pictures: files below the installation directory, read by their content.
#include "ui/pictures.h"

#include "platform/installdir.h"

#include <QFile>
#include <QPixmap>

QIcon picture(const QString &name) {
    QFile file(installationDirectory() + QStringLiteral("pics/kalo/graphics/") + name);
    QPixmap pixmap;
    if (!file.open(QIODevice::ReadOnly) || !pixmap.loadFromData(file.readAll()))
        return QIcon();
    return QIcon(pixmap);
}
