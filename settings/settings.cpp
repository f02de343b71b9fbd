// The user's persisted choices: views, weight, bookmarks, search history, Find by Nutrients.
#include "settings/settings.h"

#include "platform/config.h"
#include "settings/weightrules.h"

namespace {

const QChar listSeparator('|');

QString configName() {
    return QStringLiteral("KALO");
}

QStringList withoutSeparator(QStringList items, QChar replacement) {
    for (QString &item : items)
        item.replace(listSeparator, replacement);
    return items;
}

} // namespace

Settings loadSettings() {
    Config config(configName(), Config::User);
    config.setGroup(QStringLiteral("KALO"));
    Settings settings;
    settings.basicView = config.readBoolEntry(QStringLiteral("BasicView"), true);
    settings.fullView = config.readBoolEntry(QStringLiteral("FullView"), false);
    settings.showDailyValue = config.readBoolEntry(QStringLiteral("DailyValue"), false);
    settings.showRanges = config.readBoolEntry(QStringLiteral("ShowRanges"), false);
    settings.bestMatch = config.readBoolEntry(QStringLiteral("BestMatch"), false);
    settings.matchAllWords = config.readBoolEntry(QStringLiteral("MatchAllWords"), false);
    // Text that is no number reads as 0, which the options capture turns into the default weight.
    settings.customWeight =
        config.readEntry(QStringLiteral("CustomWeight"), QStringLiteral("100.00")).toDouble();
    settings.bookmarkIds = config.readListEntry(QStringLiteral("BID"), listSeparator);
    settings.bookmarkDescs = config.readListEntry(QStringLiteral("BDesc"), listSeparator);
    settings.searchHistory = config.readListEntry(QStringLiteral("SItems"), listSeparator);
    settings.finder = readFinderSettings(config);
    return settings;
}

bool saveSettings(const Settings &settings) {
    Config config(configName(), Config::User);
    config.setGroup(QStringLiteral("KALO"));
    config.writeEntry(QStringLiteral("BasicView"), settings.basicView ? 1 : 0);
    config.writeEntry(QStringLiteral("CustomWeight"),
                      QString::number(settings.customWeight, 'g', 6));
    config.writeEntry(QStringLiteral("BID"), settings.bookmarkIds, listSeparator);
    config.writeEntry(QStringLiteral("BDesc"),
                      withoutSeparator(settings.bookmarkDescs, QLatin1Char('/')), listSeparator);
    config.writeEntry(QStringLiteral("SItems"),
                      withoutSeparator(settings.searchHistory, QLatin1Char(' ')), listSeparator);
    // Choices added since: written after the first five keys, which keep their order.
    config.writeEntry(QStringLiteral("FullView"), settings.fullView ? 1 : 0);
    config.writeEntry(QStringLiteral("DailyValue"), settings.showDailyValue ? 1 : 0);
    config.writeEntry(QStringLiteral("BestMatch"), settings.bestMatch ? 1 : 0);
    config.writeEntry(QStringLiteral("MatchAllWords"), settings.matchAllWords ? 1 : 0);
    config.writeEntry(QStringLiteral("ShowRanges"), settings.showRanges ? 1 : 0);
    writeFinderSettings(config, settings.finder);
    return config.write();
}

bool operator==(const Settings &a, const Settings &b) {
    return a.basicView == b.basicView && a.fullView == b.fullView &&
           a.showDailyValue == b.showDailyValue && a.showRanges == b.showRanges &&
           a.bestMatch == b.bestMatch && a.matchAllWords == b.matchAllWords &&
           a.customWeight == b.customWeight && a.bookmarkIds == b.bookmarkIds &&
           a.bookmarkDescs == b.bookmarkDescs && a.searchHistory == b.searchHistory &&
           a.finder == b.finder;
}

void normaliseOptions(Settings &settings) {
    settings.customWeight = weightFromText(weightText(settings.customWeight));
    settings.basicView = settings.basicView && !settings.fullView;
}
