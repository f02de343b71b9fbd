// The food groups of USDA SR24, which the Debian jar does not carry.
#include "tools/sr24groups.h"

extern const char sr24GroupExceptionsTsv[];

QList<SrGroup> sr24Groups() {
    static const char *const groups[][2] = {
        {"0100", "Dairy and Egg Products"},
        {"0200", "Spices and Herbs"},
        {"0300", "Baby Foods"},
        {"0400", "Fats and Oils"},
        {"0500", "Poultry Products"},
        {"0600", "Soups, Sauces, and Gravies"},
        {"0700", "Sausages and Luncheon Meats"},
        {"0800", "Breakfast Cereals"},
        {"0900", "Fruits and Fruit Juices"},
        {"1000", "Pork Products"},
        {"1100", "Vegetables and Vegetable Products"},
        {"1200", "Nut and Seed Products"},
        {"1300", "Beef Products"},
        {"1400", "Beverages"},
        {"1500", "Finfish and Shellfish Products"},
        {"1600", "Legumes and Legume Products"},
        {"1700", "Lamb, Veal, and Game Products"},
        {"1800", "Baked Products"},
        {"1900", "Sweets"},
        {"2000", "Cereal Grains and Pasta"},
        {"2100", "Fast Foods"},
        {"2200", "Meals, Entrees, and Sidedishes"},
        {"2500", "Snacks"},
        {"3500", "American Indian/Alaska Native Foods"},
        {"3600", "Restaurant Foods"},
    };
    QList<SrGroup> list;
    for (const auto &group : groups)
        list.append({QLatin1String(group[0]), QLatin1String(group[1])});
    return list;
}

const QHash<int, QString> &sr24GroupExceptions() {
    static const QHash<int, QString> table = [] {
        QHash<int, QString> parsed;
        const QList<QByteArray> lines = QByteArray(sr24GroupExceptionsTsv).split('\n');
        for (const QByteArray &line : lines) {
            if (line.isEmpty() || line.startsWith('#'))
                continue;
            const QList<QByteArray> fields = line.split('\t');
            bool ok = false;
            const int number = fields.value(0).toInt(&ok);
            // The table is part of the program; a broken line is a build mistake, caught by tests.
            if (ok && fields.size() == 3)
                parsed.insert(number, QString::fromLatin1(fields[1]));
        }
        return parsed;
    }();
    return table;
}

QString sr24GroupOf(int number) {
    const QString listed = sr24GroupExceptions().value(number);
    if (!listed.isEmpty())
        return listed;
    const int prefix = number / 1000;
    switch (prefix) {
    case 23:
        return QStringLiteral("1300");
    case 27:
        return QStringLiteral("0600");
    case 31:
        return QStringLiteral("1100");
    case 48:
        return QStringLiteral("2000");
    case 80:
    case 83:
    case 90:
    case 93:
        return QStringLiteral("1500");
    default:
        return QString::asprintf("%02d00", prefix);
    }
}
