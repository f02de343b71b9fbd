// The builder's test inputs (the folders sr/, jar/ and fdc/ beside this file) and a compact way to
// read back what it wrote.
#include "tests/tools/toolsfixture.h"

#include "db/sqlitedb.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <zip.h>

QString fixturePath(const QString &name) {
    return QStringLiteral(KALO_TOOLS_FIXTURES "/") + name;
}

bool copyFixture(const QString &name, const QString &to) {
    QDir().mkpath(to);
    const QDir from(fixturePath(name));
    for (const QString &file : from.entryList(QDir::Files)) {
        QFile::remove(QDir(to).filePath(file));
        if (!QFile::copy(from.filePath(file), QDir(to).filePath(file)))
            return false;
    }
    return true;
}

bool changeFile(const QString &path, const QByteArray &prefix, const QByteArray &line) {
    QFile file(path);
    if (line.isEmpty() || line.startsWith('=')) {
        return file.remove() &&
               (line.isEmpty() || QFile::copy(QFileInfo(path).dir().filePath(line.mid(1)), path));
    }
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QList<QByteArray> lines = file.readAll().split('\n');
    file.close();
    const QByteArray end = lines.constFirst().endsWith('\r') ? "\r" : "";
    qsizetype at = lines.size() - 1; // after the last line end
    if (!prefix.isEmpty()) {
        for (at = 0; at < lines.size() && !lines[at].startsWith(prefix); ++at) {
        }
        if (at == lines.size())
            return false;
        lines.removeAt(at);
    }
    lines.insert(at, line + end);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(lines.join('\n')) >= 0;
}

bool zipFolder(const QString &folder, const QString &jar) {
    int error = 0;
    zip_t *archive =
        zip_open(QFile::encodeName(jar).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive)
        return false;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QByteArray name = QDir(folder).relativeFilePath(path).toUtf8();
        zip_source_t *source = zip_source_file(archive, QFile::encodeName(path).constData(), 0, -1);
        if (!source || zip_file_add(archive, name.constData(), source, ZIP_FL_ENC_UTF_8) < 0) {
            zip_source_free(source);
            zip_discard(archive);
            return false;
        }
    }
    return zip_close(archive) == 0;
}

QString queryText(const QString &database, const QString &sql) {
    SQLiteDB db;
    if (!db.open(database, false))
        return db.lastError();
    const ResultRows rows = db.exec(sql, false);
    if (db.hasError())
        return db.lastError();
    QStringList lines;
    for (int i = 0; i < rows.rowCount(); ++i) {
        QStringList fields;
        for (int j = 0; j < rows.columnCount(); ++j)
            fields << rows.value(i, j);
        lines << fields.join(QLatin1Char('|'));
    }
    return lines.join(QLatin1Char('\n'));
}
