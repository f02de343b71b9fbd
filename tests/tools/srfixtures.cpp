// Small USDA inputs for the builder's tests: SR ASCII files and an SR24-style jar.
#include "tests/tools/srfixtures.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <zip.h>

namespace {

QByteArray crlf(const QList<QByteArray> &lines) {
    QByteArray out;
    for (const QByteArray &line : lines)
        out += line + "\r\n";
    return out;
}

} // namespace

QList<QPair<QString, QByteArray>> asciiFixtureFiles() {
    const QByteArray groups = crlf({
        "~0100~^~Dairy and Egg Products~",
        "~0400~^~Fats and Oils~",
        "~1100~^~Vegetables and Vegetable Products~",
    });
    // Release 28 records have 14 fields; the carrot has the shorter record of early releases.
    const QByteArray foods = crlf({
        "~01009~^~0100~^~Cheese, cheddar~^~CHEESE,CHEDDAR~^~~^~~^~Y~^~~^0^~~^6.38^4.27^8.79^3.87",
        "~01001~^~0100~^~Butter, salted~^~BUTTER,WITH SALT~^~~^~~^~Y~^~~^0^~~^6.38^4.27^8.79^3.87",
        "~04053~^~0400~^~Oil, olive, salad or cooking~^~OIL,OLIVE~^~~^~~^~Y~^~~^0^~~^^^8.84^",
        "~11124~^~1100~^~Carrots, raw~^~CARROTS,RAW~^~~^~~^~Y~^~Crowns~^11",
        "~11999~^~1100~^~Cr\xe8me br\xfbl\xe9"
        "e, \x93"
        "caf\xe9\x94 style~^~CREME~^~~^~~^~~^~~^0^~~",
        "~11998~^~1100~^~Turnip, no data~^~TURNIP~^~~^~~^~~^~~^0^~~",
    });
    QByteArray nutrients = crlf({
        "~01009~^~208~^403.00^0^^~4~^~NC~^~~^~~^^^^^^^~~^~~^~~",
        "~01009~^~203~^24.90^15^0.252^~1~^~~^~~^~~^^^^^^^~~^~~^~~",
        "~01009~^~606~^21.092^0^^~4~^~~^~~^~~^^^^^^^~~^~~^~~",
        "~01009~^~323~^0.29^0^^~4~^~~^~~^~~^^^^^^^~~^~~^~~",
        "~01009~^~394~^0.36^0^^~4~^~~^~~^~~^^^^^^^~~^~~^~~",
        "~01009~^~999~^5^0^^~4~^~~^~~^~~^^^^^^^~~^~~^~~",
        "~01001~^~208~^717^0^^~4~",
        "~01001~^~204~^81.11^0^^~4~",
        "~01001~^~394~^1.58^0^^~4~",
        "~04053~^~208~^884^0^^~4~",
        "~11124~^~208~^41^0^^~4~",
        "~11124~^~203~^0.93^9^0.02^~1~",
        "~11999~^~208~^250^0^^~4~",
        "~99998~^~208~^1^0^^~4~",
    });
    nutrients += "\x1a";
    const QByteArray weights = crlf({
        "~01009~^~3~^1^~oz~^28.35^^",
        "~01009~^~2~^1^~cup, melted~^244^^",
        "~01009~^~1~^1^~cup, diced~^132^^",
        "~01001~^~1~^1^~pat (1\" sq, 1/3\" high)~^5^^",
        "~11124~^~2~^1^~large (7-1/4\" to 8-1/2\" long)~^72^^",
        "~11124~^~1~^.5^~cup, chopped~^64^^",
        "~11999~^~1~^0.333^~cup~^80^^",
        "~99998~^~1~^1^~cup~^1^^",
    });
    return {
        {QStringLiteral("FD_GROUP.txt"), groups},
        {QStringLiteral("FOOD_DES.txt"), foods},
        {QStringLiteral("NUT_DATA.txt"), nutrients},
        {QStringLiteral("WEIGHT.txt"), weights},
    };
}

bool writeAsciiFixture(const QString &folder) {
    QDir().mkpath(folder);
    for (const auto &file : asciiFixtureFiles()) {
        QFile out(QDir(folder).filePath(file.first));
        if (!out.open(QIODevice::WriteOnly) || out.write(file.second) != file.second.size())
            return false;
    }
    return true;
}

QList<QPair<QString, QByteArray>> jarFixtureEntries() {
    const QByteArray index = crlf({
        "01009|Cheese, cheddar",
        "08510|Snacks, granola bar, chewy",
        "23001|Beef, composite of trimmed retail cuts",
        "27001|Soup, bean with pork, canned",
        "04053|Oil, olive, salad or cooking",
        "23999|Beef, ground beef calculator - user selects lean/fat percentage",
    });
    const QByteArray cheddar =
        "<food uid=\"01009\" fcf=\"8.79\" pcf=\"4.27\" name=\"Cheese, cheddar\" ccf=\"3.87\">"
        "<measure amount=\"1.0\" name=\"cup, diced\" grams=\"132.0\"/>"
        "<measure amount=\"1.0\" name=\"cup, melted\" grams=\"244.0\"/>"
        "<measure amount=\"1.0\" name=\"oz\" grams=\"28.35\"/>"
        "<nutrient amount=\"403.0\" name=\"Energy\"/><nutrient amount=\"24.9\" name=\"Protein\"/>"
        "<nutrient amount=\"0.52\" name=\"Sugars\"/><nutrient amount=\"1002.0\" name=\"Vitamin "
        "A\"/>"
        "<nutrient amount=\"21.092\" name=\"Saturated\"/></food>";
    const QByteArray granola =
        "<food uid=\"08510\" name=\"Snacks, granola bar, chewy\">\n"
        "  <measure amount=\"1.0\" name=\"bar (1&quot; x 4&quot;)\" grams=\"28.0\"/>\n"
        "  <nutrient amount=\"424.0\" name=\"Energy\"/>\n</food>\n";
    const QByteArray beef = "<food uid=\"23001\" name=\"Beef\"><nutrient amount=\"19.4\" "
                            "name=\"Protein\"/></food>";
    const QByteArray soup = "<food uid=\"27001\" name=\"Soup\"><measure amount=\"0.5\" "
                            "name=\"cup\" grams=\"126.5\"/><nutrient amount=\"67.0\" "
                            "name=\"Energy\"/></food>";
    const QByteArray oil = "<food uid=\"04053\" name=\"Oil\"><nutrient amount=\"884.0\" "
                           "name=\"Energy\"/><nutrient amount=\"100.0\" name=\"Fat\"/></food>";
    const QByteArray calculator =
        "<food uid=\"23999\" fcf=\"9.0\" pcf=\"4.0\" name=\"Beef, ground beef calculator\"/>";
    return {
        {QStringLiteral("META-INF/MANIFEST.MF"), "Manifest-Version: 1.0\r\n"},
        {QStringLiteral("usda_sr24/foods.index"), index},
        {QStringLiteral("usda_sr24/01009.xml"), cheddar},
        {QStringLiteral("usda_sr24/08510.xml"), granola},
        {QStringLiteral("usda_sr24/23001.xml"), beef},
        {QStringLiteral("usda_sr24/27001.xml"), soup},
        {QStringLiteral("usda_sr24/04053.xml"), oil},
        {QStringLiteral("usda_sr24/23999.xml"), calculator},
    };
}

bool writeZip(const QString &path, const QList<QPair<QString, QByteArray>> &entries) {
    int error = 0;
    zip_t *archive =
        zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive)
        return false;
    for (const auto &entry : entries) {
        // libzip reads the buffers at zip_close; the entries outlive it.
        zip_source_t *source =
            zip_source_buffer(archive, entry.second.constData(), entry.second.size(), 0);
        if (!source ||
            zip_file_add(archive, entry.first.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8) < 0) {
            zip_source_free(source);
            zip_discard(archive);
            return false;
        }
    }
    return zip_close(archive) == 0;
}
