#include "citymap/window/MapLabel.h"

namespace MapLabel {

QString cutHouse(const QString& text)
{
    if (!text.contains(QStringLiteral("]{")))
        return text;
    const auto close = text.indexOf(QLatin1Char('}'), text.indexOf(QStringLiteral("]{")));
    return close < 0 ? text : text.left(close + 1);
}

QString house(const QString& street, const QString& number)
{
    return QStringLiteral("[") + street + QStringLiteral("]{") + number + QStringLiteral("}");
}

QString object(const QString& name, const QString& street, const QString& number)
{
    QString label = name + QStringLiteral("  ") + street;
    if (!number.isEmpty())
        label += QLatin1Char(' ') + number;
    return label;
}

QString searchWords(const QString& label)
{
    const QString cut = cutHouse(label);
    const auto split = cut.indexOf(QStringLiteral("]{"));
    if (split < 0)
        return cut;
    const auto open = cut.indexOf(QLatin1Char('['));
    const QString street = open >= 0 && open < split ? cut.mid(open + 1, split - open - 1) : cut.left(split);
    const QString number = cut.mid(split + 2, cut.size() - split - 3);
    return street + QLatin1Char(' ') + number;
}

} // namespace MapLabel
