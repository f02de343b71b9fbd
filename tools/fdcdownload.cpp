// The files of a USDA FoodData Central CSV download: the zip as published, or its unpacked folder.
#include "tools/fdcdownload.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>

#include <zip.h>

namespace {

// One file of the zip, unpacked as it is read. Reading past its end makes libzip check the CRC:
// a damaged file is an error, not a short one.
class ZipEntryDevice : public QIODevice {
public:
    explicit ZipEntryDevice(zip_file_t *entry)
        : file(entry) {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    ~ZipEntryDevice() override { zip_fclose(file); }
    bool isSequential() const override { return true; }
    // Only a clean end is the end: after a failure the reader sees the error string.
    bool atEnd() const override { return ended; }

protected:
    qint64 readData(char *data, qint64 maxSize) override {
        const zip_int64_t got = zip_fread(file, data, zip_uint64_t(maxSize));
        if (got < 0) {
            setErrorString(QString::fromUtf8(zip_file_strerror(file)));
            return -1;
        }
        ended = got == 0;
        return got;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    zip_file_t *file;
    bool ended = false;
};

} // namespace

FdcDownload::~FdcDownload() {
    if (archive)
        zip_discard(archive);
}

bool FdcDownload::fail(const QString &message) {
    error = message;
    return false;
}

bool FdcDownload::open(const QString &path) {
    location = path;
    const QFileInfo info(path);
    if (info.isDir()) {
        names = QDir(path).entryList(QDir::Files);
        return true;
    }
    if (!info.isFile())
        return fail(QStringLiteral("%1: no such folder or zip file").arg(path));
    int code = 0;
    archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &code);
    if (!archive) {
        zip_error_t zipError;
        zip_error_init_with_code(&zipError, code);
        const QString why = QString::fromUtf8(zip_error_strerror(&zipError));
        zip_error_fini(&zipError);
        return fail(QStringLiteral("%1: not a readable zip: %2").arg(path, why));
    }
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    QStringList all;
    QStringList folders;
    for (zip_int64_t i = 0; i < count; ++i) {
        const char *raw = zip_get_name(archive, zip_uint64_t(i), ZIP_FL_ENC_GUESS);
        const QString name = raw ? QString::fromUtf8(raw) : QString();
        all.append(name);
        const QString file = name.mid(name.lastIndexOf(QLatin1Char('/')) + 1);
        if (file.compare(QLatin1String("food.csv"), Qt::CaseInsensitive) == 0)
            folders.append(name.left(name.size() - file.size()));
    }
    if (folders.isEmpty())
        return fail(QStringLiteral("%1: no food.csv in the zip").arg(path));
    if (folders.size() > 1) {
        for (QString &name : folders)
            name = name.isEmpty() ? QStringLiteral("(top)") : name;
        folders.sort();
        return fail(QStringLiteral("%1: food.csv in more than one folder of the zip: %2")
                        .arg(path, folders.join(QStringLiteral(", "))));
    }
    folder = folders.constFirst();
    for (qsizetype i = 0; i < all.size(); ++i) {
        const QString &name = all[i];
        if (name.startsWith(folder) && name.size() > folder.size() &&
            name.indexOf(QLatin1Char('/'), folder.size()) < 0) {
            names.append(name.mid(folder.size()));
            entries.insert(names.constLast(), i);
        }
    }
    return true;
}

QString FdcDownload::find(const QString &name) const {
    QString found;
    for (const QString &present : names) {
        if (present.compare(name, Qt::CaseInsensitive) == 0)
            found = present;
    }
    return found;
}

QString FdcDownload::displayName(const QString &name) const {
    if (!archive)
        return QDir(location).filePath(name);
    return QStringLiteral("%1: %2%3").arg(location, folder, name);
}

std::unique_ptr<QIODevice> FdcDownload::openFile(const QString &name, qint64 *size) {
    if (!archive) {
        auto file = std::make_unique<QFile>(QDir(location).filePath(name));
        if (!file->open(QIODevice::ReadOnly)) {
            fail(QStringLiteral("%1: %2").arg(displayName(name), file->errorString()));
            return nullptr;
        }
        *size = file->size();
        return file;
    }
    const auto index = zip_uint64_t(entries.value(name, -1));
    zip_stat_t stat;
    zip_stat_init(&stat);
    zip_file_t *entry = nullptr;
    if (zip_stat_index(archive, index, 0, &stat) == 0)
        entry = zip_fopen_index(archive, index, 0);
    if (!entry) {
        fail(QStringLiteral("%1: %2").arg(displayName(name),
                                          QString::fromUtf8(zip_strerror(archive))));
        return nullptr;
    }
    *size = (stat.valid & ZIP_STAT_SIZE) ? qint64(stat.size) : 0;
    return std::make_unique<ZipEntryDevice>(entry);
}
