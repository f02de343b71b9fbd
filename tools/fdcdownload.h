// The files of a USDA FoodData Central CSV download: the zip as published, or its unpacked folder.
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>

class QIODevice;
struct zip;

// A zip is read as a stream, one file after the other, and never unpacked to disk: the download's
// folder in it is the one that holds food.csv. File names match in any letter case.
class FdcDownload {
public:
    FdcDownload() = default;
    ~FdcDownload();
    FdcDownload(const FdcDownload &) = delete;
    FdcDownload &operator=(const FdcDownload &) = delete;

    // Opens a folder, or a zip file; false with the error when the path is neither, or when the
    // zip holds food.csv in no folder or in more than one (the message names them).
    bool open(const QString &path);
    QString errorString() const { return error; }

    // The download's file of that name in any letter case, as the download spells it; empty when
    // it has none.
    QString find(const QString &name) const;
    // A file as messages name it: "folder/food.csv", or "download.zip: folder/food.csv".
    QString displayName(const QString &name) const;
    // Opens a file that find() gave, *size set to its bytes (unpacked); null with errorString()
    // set when it cannot be opened.
    std::unique_ptr<QIODevice> openFile(const QString &name, qint64 *size);

private:
    bool fail(const QString &message);

    QString location;
    struct zip *archive = nullptr;
    QString folder;                 // of the zip, "" or ending in '/'
    QHash<QString, qint64> entries; // of the zip: a name in the folder to its index
    QStringList names;              // the files of the folder or of the zip's folder
    QString error;
};
