// A small per-user configuration store in the handheld's file format.
#include "platform/config.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

QString Config::userFilePath(const QString &name) {
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return dir + '/' + name + QStringLiteral(".conf");
}

Config::Config(const QString &name, Domain domain)
    : path(domain == User ? userFilePath(name) : name) {
    read();
}

Config::~Config() {
    if (changed)
        write();
}

void Config::read() {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > maxFileSize)
        return;
    // The size found, not the largest size allowed: a buffer of maxFileSize for a file of a few
    // hundred bytes costs 16 MiB at every read.
    QString text = QString::fromUtf8(file.read(file.size()));
    // An editor may have put a byte order mark before the first group.
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    Group *current = nullptr;
    const auto lines = QStringView(text).split('\n');
    for (QStringView line : lines) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        if (line.startsWith('[') && line.endsWith(']')) {
            const QString name = line.mid(1, line.size() - 2).toString();
            current = nullptr;
            for (Group &g : groups)
                if (g.name == name)
                    current = &g;
            if (!current) {
                groups.append(Group{name, {}});
                current = &groups.last();
            }
            continue;
        }
        const qsizetype eq = line.indexOf('=');
        if (!current || eq < 0)
            continue;
        const QString key = line.left(eq).trimmed().toString();
        const QString value = line.mid(eq + 1).trimmed().toString();
        if (key.isEmpty())
            continue;
        bool replaced = false;
        for (auto &entry : current->entries) {
            if (entry.first == key) {
                entry.second = value; // a later line replaces an earlier one
                replaced = true;
            }
        }
        if (!replaced)
            current->entries.append({key, value});
    }
}

void Config::setGroup(const QString &name) {
    group = name;
}

const Config::Group *Config::findGroup(const QString &name) const {
    for (const Group &g : groups)
        if (g.name == name)
            return &g;
    return nullptr;
}

Config::Group &Config::currentGroup() {
    for (Group &g : groups)
        if (g.name == group)
            return g;
    groups.append(Group{group, {}});
    return groups.last();
}

const QString *Config::find(const QString &key) const {
    const Group *g = findGroup(group);
    if (!g)
        return nullptr;
    for (const auto &entry : g->entries)
        if (entry.first == key)
            return &entry.second;
    return nullptr;
}

QString Config::readEntry(const QString &key, const QString &deflt) const {
    const QString *value = find(key);
    return value ? *value : deflt;
}

bool Config::readBoolEntry(const QString &key, bool deflt) const {
    const QString *value = find(key);
    return value ? value->toInt() != 0 : deflt;
}

QStringList Config::readListEntry(const QString &key, QChar sep) const {
    const QString *value = find(key);
    if (!value)
        return {};
    return value->split(sep, Qt::SkipEmptyParts);
}

void Config::writeEntry(const QString &key, const QString &value) {
    // A line break inside a value would end the line and corrupt the file: the format has no
    // escapes, so line breaks are stored as blanks.
    QString clean = value;
    clean.replace('\r', ' ').replace('\n', ' ');
    Group &g = currentGroup();
    for (auto &entry : g.entries) {
        if (entry.first == key) {
            if (entry.second != clean) {
                entry.second = clean;
                changed = true;
            }
            return;
        }
    }
    g.entries.append({key, clean});
    changed = true;
}

void Config::writeEntry(const QString &key, const char *value) {
    writeEntry(key, QString::fromUtf8(value));
}

void Config::writeEntry(const QString &key, int value) {
    writeEntry(key, QString::number(value));
}

void Config::writeEntry(const QString &key, bool value) {
    writeEntry(key, value ? 1 : 0);
}

void Config::writeEntry(const QString &key, const QStringList &list, QChar sep) {
    writeEntry(key, list.join(sep));
}

bool Config::write() {
    QString text;
    for (const Group &g : groups) {
        text += '[' + g.name + QStringLiteral("]\n");
        for (const auto &entry : g.entries)
            text += entry.first + QStringLiteral(" = ") + entry.second + '\n';
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    // Unbuffered: a buffered write that fails only when commit() flushes it (a full disk) is not
    // noticed by QSaveFile, which would then put the truncated file in place of the old one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    const QByteArray bytes = text.toUtf8();
    if (file.write(bytes) != bytes.size() || file.error() != QFileDevice::NoError) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit())
        return false;
    changed = false;
    return true;
}
