// The program's command line: its own options, Qt's options passed on, and the texts it prints.
#pragma once

#include <QString>

#include <vector>

struct CommandLine {
    enum Action { Run, Help, Version, UsageError };
    Action action = Run;
    // --database: the food database to open, as an absolute path; null for the usual places.
    QString databasePath;
    // What was wrong, for UsageError.
    QString error;
    // argv without the program's own options, for the application object: the program name first,
    // Qt's options with their values, and a null pointer after the last. Points into argv.
    std::vector<char *> applicationArguments;
};

// Reads the arguments without an application object, so that --help, --version and mistakes are
// answered without a display. Qt's own options (-platform NAME, -style NAME, -reverse, ... also
// written with two dashes) are passed on; any other argument is a mistake.
CommandLine parseCommandLine(int argc, char **argv);

QString usageText();
// The program's name and version, the versions of Qt and SQLite, and the food data it would open.
QString versionText(const QString &programVersion, const QString &sqliteVersion,
                    const QString &foodData);
