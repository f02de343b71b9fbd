// Fuzzes the settings file reader: any file must load, and what the program writes back must
// read back as the same settings and be written again byte for byte (no drift, no damage).
// Input: the bytes of KALO.conf.
#include "fuzz/fuzz_common.h"
#include "platform/config.h"
#include "settings/settings.h"

#include <QDir>
#include <QFile>

#include <cmath>
#include <cstdlib>
#include <unistd.h>

namespace {

QString configPath;
QString scratchPath;

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        fuzzFail("cannot write the scratch file", path);
}

QByteArray readFile(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A list as the file keeps it: line breaks become blanks, and since a value is read trimmed and
// nothing is escaped, blanks at either end of the joined value (and the items left empty by
// that) are lost.
QStringList afterWrite(const QStringList &list) {
    QString joined = list.join(QLatin1Char('|'));
    joined.replace(QLatin1Char('\r'), QLatin1Char(' '))
        .replace(QLatin1Char('\n'), QLatin1Char(' '));
    return joined.trimmed().split(QLatin1Char('|'), Qt::SkipEmptyParts);
}

bool sameWeight(double a, double b) {
    return (std::isnan(a) && std::isnan(b)) || a == b;
}

QString describe(const Settings &s) {
    return QStringLiteral("BasicView %1 CustomWeight %2\nBID %3\nBDesc %4\nSItems %5")
        .arg(s.basicView)
        .arg(s.customWeight)
        .arg(s.bookmarkIds.join(QLatin1Char('|')), s.bookmarkDescs.join(QLatin1Char('|')),
             s.searchHistory.join(QLatin1Char('|')));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    // In memory where there is such a file system: the store syncs every file it writes.
    char dir[] = "/dev/shm/kalo-fuzz-config-XXXXXX";
    char fallback[] = "/tmp/kalo-fuzz-config-XXXXXX";
    const char *made = mkdtemp(dir);
    if (!made)
        made = mkdtemp(fallback);
    if (!made)
        std::abort();
    static QString scratch;
    scratch = QString::fromUtf8(made);
    std::atexit([] { QDir(scratch).removeRecursively(); });
    // The settings live in $XDG_CONFIG_HOME/KALO.conf.
    setenv("XDG_CONFIG_HOME", made, 1);
    configPath = Config::userFilePath(QStringLiteral("KALO"));
    scratchPath = QString::fromUtf8(made) + QStringLiteral("/scratch.conf");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray input = fuzzBytes(data, size);

    // The store alone: read, change one entry, write; reading and writing that again with the
    // same change gives the same bytes.
    writeFile(scratchPath, input);
    {
        Config config(scratchPath, Config::File);
        config.setGroup(QStringLiteral("KALO"));
        (void)config.readListEntry(QStringLiteral("SItems"), QLatin1Char('|'));
        (void)config.readBoolEntry(QStringLiteral("BasicView"), true);
        config.writeEntry(QStringLiteral("Fuzz"), QStringLiteral("one"));
        FUZZ_CHECK(config.write(), QString());
    }
    const QByteArray once = readFile(scratchPath);
    {
        Config config(scratchPath, Config::File);
        config.setGroup(QStringLiteral("KALO"));
        FUZZ_CHECK(config.readEntry(QStringLiteral("Fuzz")) == QLatin1String("one"),
                   QString::fromUtf8(once));
        config.writeEntry(QStringLiteral("Fuzz"), QStringLiteral("two"));
        config.writeEntry(QStringLiteral("Fuzz"), QStringLiteral("one"));
        config.write();
    }
    FUZZ_CHECK(readFile(scratchPath) == once, QString::fromUtf8(once));

    // The program's settings: load, save, load again gives the same settings (as far as the
    // format keeps them); from the second save on the file no longer changes.
    writeFile(configPath, input);
    const Settings first = loadSettings();
    saveSettings(first);
    const QByteArray saved = readFile(configPath);
    const Settings second = loadSettings();
    FUZZ_CHECK(second.basicView == first.basicView,
               describe(first) + QLatin1Char('\n') + describe(second));
    FUZZ_CHECK(
        sameWeight(second.customWeight, QString::number(first.customWeight, 'g', 6).toDouble()),
        describe(first) + QLatin1Char('\n') + describe(second));
    FUZZ_CHECK(second.bookmarkIds == afterWrite(first.bookmarkIds), describe(second));
    FUZZ_CHECK(second.bookmarkDescs == afterWrite(first.bookmarkDescs), describe(second));
    FUZZ_CHECK(second.searchHistory == afterWrite(first.searchHistory), describe(second));
    saveSettings(second);
    const QByteArray again = readFile(configPath);
    saveSettings(loadSettings());
    FUZZ_CHECK(readFile(configPath) == again, QString::fromUtf8(saved));
    return 0;
}
