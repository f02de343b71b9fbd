// The user's persisted choices: default view, custom weight, bookmarks and search history.
#include "settings/settings.h"

#include "platform/config.h"

namespace {

const QChar listSeparator('|');

QString configName() {
    return QStringLiteral("KALO");
}

} // namespace

Settings loadSettings() {
    Config config(configName(), Config::User);
    config.setGroup(QStringLiteral("KALO"));
    Settings settings;
    settings.basicView = config.readBoolEntry(QStringLiteral("BasicView"), true);
    // Text that is no number reads as 0, which the options capture turns into the default weight.
    settings.customWeight =
        config.readEntry(QStringLiteral("CustomWeight"), QStringLiteral("100.00")).toDouble();
    settings.bookmarkIds = config.readListEntry(QStringLiteral("BID"), listSeparator);
    settings.bookmarkDescs = config.readListEntry(QStringLiteral("BDesc"), listSeparator);
    settings.searchHistory = config.readListEntry(QStringLiteral("SItems"), listSeparator);
    return settings;
}

bool saveSettings(const Settings &settings) {
    Config config(configName(), Config::User);
    config.setGroup(QStringLiteral("KALO"));
    config.writeEntry(QStringLiteral("BasicView"), settings.basicView ? 1 : 0);
    config.writeEntry(QStringLiteral("CustomWeight"),
                      QString::number(settings.customWeight, 'g', 6));
    config.writeEntry(QStringLiteral("BID"), settings.bookmarkIds, listSeparator);
    config.writeEntry(QStringLiteral("BDesc"), settings.bookmarkDescs, listSeparator);
    config.writeEntry(QStringLiteral("SItems"), settings.searchHistory, listSeparator);
    return config.write();
}
