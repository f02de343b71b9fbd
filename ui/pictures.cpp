// The program's pictures: files below the installation directory, read by their content.
#include "ui/pictures.h"

#include "platform/installdir.h"

#include <QFile>
#include <QGuiApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>

namespace {

QPixmap readPicture(const QString &path) {
    QFile file(path);
    QPixmap pixmap;
    if (file.open(QIODevice::ReadOnly))
        pixmap.loadFromData(file.readAll());
    return pixmap;
}

// Reads its files when it is first drawn, not when it is made: the pictures of a dialog or a page
// not yet shown cost nothing at start.
class PictureEngine final : public QIconEngine {
public:
    explicit PictureEngine(const QStringList &paths)
        : files(paths) {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode,
               QIcon::State state) override {
        loaded().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override {
        return loaded().pixmap(size, 1.0, mode, state);
    }
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override {
        return loaded().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return loaded().availableSizes(mode, state);
    }
    QString key() const override { return QStringLiteral("KALOPicture"); }
    QIconEngine *clone() const override { return new PictureEngine(*this); }

private:
    const QIcon &loaded() {
        if (!read) {
            read = true;
            for (const QString &file : files) {
                const QPixmap pixmap = readPicture(file);
                if (!pixmap.isNull())
                    icon.addPixmap(pixmap);
            }
        }
        return icon;
    }

    QStringList files;
    QIcon icon;
    bool read = false;
};

} // namespace

QIcon picture(const QString &name) {
    const QString path = installationDirectory() + QStringLiteral("pics/kalo/graphics/") + name;
    // Beside "name.png_" a picture drawn at twice the size, "name@2x.png_", keeps the icon sharp
    // on a screen of device pixel ratio 2; the icon picks the one that fits.
    QStringList files;
    if (QFile::exists(path))
        files << path;
    const QString large = QString(path).insert(path.size() - 5, QLatin1String("@2x"));
    if (path.endsWith(QLatin1String(".png_")) && qGuiApp && qGuiApp->devicePixelRatio() > 1.0 &&
        QFile::exists(large))
        files << large;
    return pictureOfFiles(files);
}

QIcon pictureOfFiles(const QStringList &files) {
    return files.isEmpty() ? QIcon() : QIcon(new PictureEngine(files));
}
