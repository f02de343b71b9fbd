// The user's persisted choices: default view, custom weight, bookmarks and search history.
#include "app/settings.h"

#include "platform/config.h"

Settings settings;

namespace {
const QChar listSeparator('|');
}

void loadSettings() {
    Config config(QStringLiteral("KALO"), Config::User);
    config.setGroup(QStringLiteral("KALO"));
    settings.basicView = config.readBoolEntry(QStringLiteral("BasicView"), true);
    settings.customWeight =
        config.readEntry(QStringLiteral("CustomWeight"), QStringLiteral("100.00")).toDouble();
    settings.bookmarkIds = config.readListEntry(QStringLiteral("BID"), listSeparator);
    settings.bookmarkDescs = config.readListEntry(QStringLiteral("BDesc"), listSeparator);
    settings.searchHistory = config.readListEntry(QStringLiteral("SItems"), listSeparator);
}

void saveSettings() {
    Config config(QStringLiteral("KALO"), Config::User);
    config.setGroup(QStringLiteral("KALO"));
    config.writeEntry(QStringLiteral("BasicView"), settings.basicView ? 1 : 0);
    config.writeEntry(QStringLiteral("CustomWeight"),
                      QString::number(settings.customWeight, 'g', 6));
    config.writeEntry(QStringLiteral("BID"), settings.bookmarkIds, listSeparator);
    config.writeEntry(QStringLiteral("BDesc"), settings.bookmarkDescs, listSeparator);
    config.writeEntry(QStringLiteral("SItems"), settings.searchHistory, listSeparator);
}
