// The program's pictures: files below the installation directory, read by their content.
#include "ui/pictures.h"

#include "platform/installdir.h"

#include <QFile>
#include <QPixmap>

namespace {

QPixmap readPicture(const QString &path) {
    QFile file(path);
    QPixmap pixmap;
    if (file.open(QIODevice::ReadOnly))
        pixmap.loadFromData(file.readAll());
    return pixmap;
}

} // namespace

QIcon picture(const QString &name) {
    const QString path = installationDirectory() + QStringLiteral("pics/kalo/graphics/") + name;
    QIcon icon;
    // Beside "name.png_" a picture drawn at twice the size, "name@2x.png_", keeps the icon sharp
    // on a screen of device pixel ratio 2; the icon picks the one that fits.
    QStringList files{path};
    if (path.endsWith(QLatin1String(".png_")))
        files << QString(path).insert(path.size() - 5, QLatin1String("@2x"));
    for (const QString &file : files) {
        const QPixmap pixmap = readPicture(file);
        if (!pixmap.isNull())
            icon.addPixmap(pixmap);
    }
    return icon;
}
