#include "DemoMapCity.h"

#include "foundation/fb/FbQuery.h"
#include "foundation/fb/FbTransaction.h"

#include <QHash>

QPoint DemoMapCity::extent() const
{
    QPoint largest;
    for (const Point& p : points)
        largest = QPoint(std::max(largest.x(), p.at.x()), std::max(largest.y(), p.at.y()));
    return largest;
}

QString DemoMapCity::houseStreet(const QString& label)
{
    if (!label.startsWith(u'['))
        return {};
    const qsizetype close = label.indexOf(QStringLiteral("]{"));
    return close < 0 ? QString() : label.mid(1, close - 1);
}

DemoMapCity DemoMapCity::read(FbConnection& connection)
{
    DemoMapCity city;
    FbTransaction transaction(connection, QStringLiteral("DEMOMAP"));
    FbQuery query(transaction);

    const FbRows& city_rows = query.exec(QStringLiteral(
        "SELECT SET_TARIF_NAME FROM SET_TARIFI WHERE SET_TARIF_NAME STARTING WITH 'MY_CITY='"));
    if (!city_rows.isEmpty())
        city.cityName = city_rows.rows[0][0].toString().mid(8).trimmed();

    QHash<int, qsizetype> byNumber;
    QHash<QString, qsizetype> byName;
    const FbRows& streets = query.exec(QStringLiteral(
        "SELECT SPISOK_VUL_NOMER, SPISOK_VUL_VULICA FROM VULICA_LUCK WHERE SPISOK_VUL_VULICA IS NOT NULL "
        "ORDER BY SPISOK_VUL_NOMER"));
    for (const auto& row : streets.rows) {
        Street street{row[0].toInt(), row[1].toString(), {}};
        byNumber.insert(street.number, city.streets.size());
        byName.insert(street.name, city.streets.size());
        city.streets.push_back(street);
    }

    const FbRows& points = query.exec(QStringLiteral(
        "SELECT KOORD_KART_MISTA_PIDPIS, KOORD_KART_MISTA_X, KOORD_KART_MISTA_Y, KOORD_KART_MISTA_PUKT_1, "
        "KOORD_KART_MISTA_PUKT_2, KOORD_KART_MISTA_PUKT_3, KOORD_KART_MISTA_PUKT_4, KOORD_KART_MISTA_PUKT_5, "
        "KOORD_KART_MISTA_STATUS, KOORD_KART_MISTA_RAYON FROM KARTA_MISTA "
        "WHERE (KOORD_KART_MISTA_X > 0) AND (KOORD_KART_MISTA_Y > 0) ORDER BY KOORD_KART_MISTA_NP"));
    for (const auto& row : points.rows) {
        Point point{row[0].toString(), row[8].toString(), row[9].toString(),
                    QPoint(row[1].toInt(), row[2].toInt())};
        QVector<qsizetype> on;
        for (int column = 3; column <= 7; ++column) {
            const auto street = byNumber.constFind(row[column].toInt());
            if (row[column].toInt() != 0 && street != byNumber.constEnd() && !on.contains(*street))
                on.push_back(*street);
        }
        const auto named = byName.constFind(houseStreet(point.label));
        if (named != byName.constEnd() && !on.contains(*named))
            on.push_back(*named);
        for (qsizetype street : on)
            city.streets[street].points.push_back(point.at);
        city.points.push_back(point);
    }
    transaction.commit();
    return city;
}
