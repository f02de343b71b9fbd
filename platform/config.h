// A small per-user configuration store in the handheld's file format.
#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// The file "<config dir>/<name>.conf" holds groups "[Group]" of "Key = Value" lines, UTF-8, values
// trimmed when read and written as they are (nothing escaped). Booleans are written as 1/0, lists
// as items joined with a separator. Changes are written when the object is destroyed, whole, to a
// new file that then replaces the old one, so an interrupted write leaves the previous file.
// Unreadable files read as empty; write failures are ignored (write() reports them).
class Config {
public:
    enum Domain { File, User };

    // User: the name is a file name in the user's configuration directory. File: a path.
    explicit Config(const QString &name, Domain domain = User);
    ~Config();
    Config(const Config &) = delete;
    Config &operator=(const Config &) = delete;

    void setGroup(const QString &group);

    QString readEntry(const QString &key, const QString &deflt = QString()) const;
    bool readBoolEntry(const QString &key, bool deflt = false) const;
    // Split on the separator; empty items are dropped, so an empty value is an empty list.
    QStringList readListEntry(const QString &key, QChar sep) const;

    void writeEntry(const QString &key, const QString &value);
    void writeEntry(const QString &key, const char *value);
    void writeEntry(const QString &key, int value);
    void writeEntry(const QString &key, bool value);
    void writeEntry(const QString &key, const QStringList &list, QChar sep);

    // Writes pending changes now; false when the file could not be written.
    bool write();

    QString filePath() const { return path; }
    // The file that Config(name, User) reads and writes.
    static QString userFilePath(const QString &name);

    // Files larger than this are not read (treated as empty): a settings file is a few KiB.
    static constexpr qint64 maxFileSize = 16 * 1024 * 1024;

private:
    using Entries = QList<QPair<QString, QString>>;
    struct Group {
        QString name;
        Entries entries;
    };

    void read();
    Group &currentGroup();
    const Group *findGroup(const QString &name) const;
    const QString *find(const QString &key) const;

    QString path;
    QString group;
    QList<Group> groups;
    bool changed = false;
};
