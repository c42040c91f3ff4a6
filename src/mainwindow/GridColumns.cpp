#include "mainwindow/GridColumns.h"

namespace GridLayouts {

GridColumns openOrders()
{
    return {{QStringLiteral("ZAMOVL_NUMBER"), QStringLiteral("н/п")},
            {QStringLiteral("ZAMOVL_BEZKOSHTOVN"), QStringLiteral("Ювілейна")},
            {QStringLiteral("ZAMOVL_NOMER_KLIENT"), QStringLiteral("Код клієнта")},
            {QStringLiteral("ZAMOVL_SUMA_ROZRAHUNK"), QStringLiteral("Розрах. сума")},
            {QStringLiteral("ZAMOVL_POCHAT_PUNKT"), QStringLiteral("Початковий пункт")},
            {QStringLiteral("ZAMOVL_PUNKT_PRIZHACH"), QStringLiteral("Кінцевий пункт")},
            {QStringLiteral("ZAMOVL_POZIVNIY"), QStringLiteral("Позивний")},
            {QStringLiteral("ZAMOVL_FIO_TAXI"), QStringLiteral("ФІО водія")},
            {QStringLiteral("ZAMOVL_CHAS_PRIYOM_VODIY"), QStringLiteral("Час водія прийняття")},
            {QStringLiteral("ZAMOVL_PRIYOM_ZAMOVL"), QStringLiteral("Прийняв(ла) замовлення")},
            {QStringLiteral("ZAMOVL_DATA_PRIYOMA"), QStringLiteral("Дата прийняття")},
            {QStringLiteral("ZAMOVL_CHAS_PRIYOMA"), QStringLiteral("Час прийняття")},
            {QStringLiteral("ZAMOVL_ROZDACHA_ZAMOVL"), QStringLiteral("Роздав(ла) замовлення")},
            {QStringLiteral("ZAMOVL_DATA_ZAKR_ZAMOVL"), QStringLiteral("Дата прибуття")},
            {QStringLiteral("ZAMOVL_CHAS_ZAKR_ZAMOVL"), QStringLiteral("Час прибуття")},
            {QStringLiteral("ZAMOVL_PRICHINA_DELETE"), QStringLiteral("Додаткові дані")}};
}

GridColumns drivers()
{
    return {{QStringLiteral("ZAD_AVTO_NOMER_ZAMOVL"), QStringLiteral("Активність")},
            {QStringLiteral("ZAD_AVTO_POZIVNIY"), QStringLiteral("Позивний")},
            {QStringLiteral("ZAD_AVTO_VULICA"), QStringLiteral("Стоянка")},
            {QStringLiteral("ZAD_AVTO_CHAS_ZAMOVL"), QStringLiteral("Номер реєстрації / Час замовлення")},
            {QStringLiteral("ZAD_AVTO_YUVILEYKA"), QStringLiteral("Дата ювілейки")},
            {QStringLiteral("ZAD_AVTO_RIBA"), QStringLiteral("Дата перекриття")},
            {QStringLiteral("ZAD_AVTO_FIO_VODIY"), QStringLiteral("Водій")},
            {QStringLiteral("ZAD_AVTO_MARKA_AVTO"), QStringLiteral("Автомобіль")},
            {QStringLiteral("ZAD_AVTO_KOLIR_AVTO"), QStringLiteral("Колір")},
            {QStringLiteral("ZAD_AVTO_KIL_PASAGHIR"), QStringLiteral("Пасажиромісткість")},
            {QStringLiteral("ZAD_AVTO_KUZOV_AVTO"), QStringLiteral("Тариф")},
            {QStringLiteral("ZAD_AVTO_CHAS_PRIBUTTIA"), QStringLiteral("Час прибуття")}};
}

GridColumns stands()
{
    return {{QStringLiteral("ZAD_AVTO_VULICA"), QStringLiteral("Назва стоянки")}};
}

GridColumns gprsActions()
{
    return {{QStringLiteral("DYA_VODIY_GPRS_POZ"), QStringLiteral("Позивний")},
            {QStringLiteral("DYA_VODIY_GPRS_DYA"), QStringLiteral("Повідомлення")},
            {QStringLiteral("DYA_VODIY_GPRS_DATATIME"), QStringLiteral("Дата і час")},
            {QStringLiteral("DYA_VODIY_GPRS_NZ"), QStringLiteral("Номер замовлення")}};
}

namespace {
// The columns the executed and deleted grids share, from the free-ride flag to the driver.
GridColumns closedOrderColumns(const QString& closingDate, const QString& closingTime)
{
    return {{QStringLiteral("CZ_BEZKOSHTOVN"), QStringLiteral("Ювілейка")},
            {QStringLiteral("CZ_NOMER_KLIENT"), QStringLiteral("Код клієнта")},
            {QStringLiteral("CZ_POCHAT_PUNKT"), QStringLiteral("Початковий пункт")},
            {QStringLiteral("CZ_PUNKT_PRIZHACH"), QStringLiteral("Кінцевий пункт")},
            {QStringLiteral("CZ_SUMA_ROZRAHUNK"), QStringLiteral("Розрахункова сума")},
            {QStringLiteral("CZ_OPLATA_BALANSOM"), QStringLiteral("Оплата балансом")},
            {QStringLiteral("CZ_PRIYOM_ZAMOVL"), QStringLiteral("Прийом")},
            {QStringLiteral("CZ_ROZDACHA_ZAMOVL"), QStringLiteral("Роздача")},
            {QStringLiteral("CZ_DATA_PRIYOMA"), QStringLiteral("Дата прийняття")},
            {QStringLiteral("CZ_CHAS_PRIYOMA"), QStringLiteral("Час прийняття")},
            {QStringLiteral("CZ_CHAS_PRIYOM_VODIY"), QStringLiteral("Час прийняття водієм")},
            {QStringLiteral("CZ_DATA_ZAKR_ZAMOVL"), closingDate},
            {QStringLiteral("CZ_CHAS_ZAKR_ZAMOVL"), closingTime},
            {QStringLiteral("CZ_POZIVNIY"), QStringLiteral("Позивний")},
            {QStringLiteral("CZ_FIO_TAXI"), QStringLiteral("ФІО водія")}};
}
} // namespace

GridColumns executedOrders()
{
    GridColumns columns{{QStringLiteral("CZ_NUMBER"), QStringLiteral("н/п")}};
    columns += closedOrderColumns(QStringLiteral("Дата закриття"), QStringLiteral("Час закриття"));
    columns += GridColumn{QStringLiteral("CZ_PRICHINA_DELETE"), QStringLiteral("Додатково")};
    return columns;
}

GridColumns deletedOrders()
{
    GridColumns columns{{QStringLiteral("CZ_NUMBER"), QStringLiteral("н/п")},
                        {QStringLiteral("CZ_PRICHINA_DELETE"), QStringLiteral("Причина знищення")}};
    columns += closedOrderColumns(QStringLiteral("Дата знищення"), QStringLiteral("Час знищення"));
    return columns;
}

} // namespace GridLayouts
