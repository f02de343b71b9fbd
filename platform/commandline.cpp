// The program's command line: its own options, Qt's options passed on, and the texts it prints.
#include "platform/commandline.h"

#include <QFileInfo>
#include <QStringList>

namespace {

// Qt's options (QGuiApplication, QApplication and the X11 platform): those that take the next
// argument as their value, those that stand alone, and those written with "=value".
const char *const qtOptionsWithValue[] = {
    "platform",
    "platformpluginpath",
    "platformtheme",
    "plugin",
    "qwindowgeometry",
    "geometry",
    "qwindowicon",
    "icon",
    "qwindowtitle",
    "title",
    "session",
    "display",
    "name",
    "style",
    "stylesheet",
    "visual",
};
const char *const qtFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "testability", "sync"};
const char *const qtOptionsWithEquals[] = {"style=", "stylesheet=", "qmljsdebugger="};

template <size_t N> bool isOneOf(const QString &name, const char *const (&names)[N]) {
    for (const char *candidate : names)
        if (name == QLatin1String(candidate))
            return true;
    return false;
}

template <size_t N> bool startsWithOneOf(const QString &name, const char *const (&names)[N]) {
    for (const char *candidate : names)
        if (name.startsWith(QLatin1String(candidate)))
            return true;
    return false;
}

} // namespace

CommandLine parseCommandLine(int argc, char **argv) {
    CommandLine line;
    bool help = false;
    bool version = false;
    const auto fail = [&line](const QString &error) {
        if (line.error.isNull())
            line.error = error;
    };
    if (argc > 0)
        line.applicationArguments.push_back(argv[0]);
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            help = true;
        } else if (arg == QLatin1String("--version") || arg == QLatin1String("-v")) {
            version = true;
        } else if (arg == QLatin1String("--database") ||
                   arg.startsWith(QLatin1String("--database="))) {
            const qsizetype equals = arg.indexOf(QLatin1Char('='));
            QString file = arg.mid(equals + 1);
            if (equals < 0)
                file = i + 1 < argc ? QString::fromLocal8Bit(argv[++i]) : QString();
            if (file.isEmpty())
                fail(QStringLiteral("--database needs a file name"));
            else
                line.databasePath = QFileInfo(file).absoluteFilePath();
        } else if (arg.startsWith(QLatin1Char('-')) && arg.size() > 1) {
            // Qt takes its options with one dash or two.
            const QString name = arg.mid(arg.startsWith(QLatin1String("--")) ? 2 : 1);
            if (isOneOf(name, qtOptionsWithValue)) {
                if (i + 1 >= argc) {
                    fail(arg + QStringLiteral(" needs a value"));
                    continue;
                }
                line.applicationArguments.push_back(argv[i]);
                line.applicationArguments.push_back(argv[++i]);
            } else if (isOneOf(name, qtFlags) || startsWithOneOf(name, qtOptionsWithEquals)) {
                line.applicationArguments.push_back(argv[i]);
            } else {
                fail(QStringLiteral("unknown option ") + arg);
            }
        } else {
            fail(QStringLiteral("unexpected argument ") + arg);
        }
    }
    line.applicationArguments.push_back(nullptr);
    if (!line.error.isNull())
        line.action = CommandLine::UsageError;
    else if (help)
        line.action = CommandLine::Help;
    else if (version)
        line.action = CommandLine::Version;
    return line;
}

QString usageText() {
    return QStringLiteral(
        "Usage: kalo [--database FILE] [Qt option ...]\n"
        "       kalo --help | --version\n"
        "\n"
        "Browses the foods of the USDA Nutrient Database for Standard Reference offline.\n"
        "\n"
        "Options:\n"
        "  --database FILE  Open FILE as the food database.\n"
        "  -h, --help       Print this text and exit.\n"
        "  -v, --version    Print the versions of the program, Qt and SQLite and the data of the\n"
        "                   food database, and exit.\n"
        "\n"
        "Without --database the food database is $XDG_DATA_HOME/kalo/FOODS.db (by default\n"
        "~/.local/share/kalo/FOODS.db) when it exists, otherwise the installed FOODS.db.\n"
        "Qt's options are accepted too, such as -platform NAME and -style NAME.\n");
}

QString versionText(const QString &programVersion, const QString &sqliteVersion,
                    const QString &foodData) {
    return QStringLiteral("kalo %1\nQt %2 (built with %3)\nSQLite %4\nFood data: %5\n")
        .arg(programVersion, QString::fromLatin1(qVersion()), QStringLiteral(QT_VERSION_STR),
             sqliteVersion, foodData);
}
