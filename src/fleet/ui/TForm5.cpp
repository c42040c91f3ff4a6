#include "fleet/ui/TForm5.h"

#include "fleet/CarCard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {
QString orNotSet(const QString& text)
{
    return text.isEmpty() ? CarCard::kNotSet : text;
}
} // namespace

TForm5::TForm5(QWidget* parent) : FormShell(QStringLiteral("Карточка автомобіля"), parent)
{
    setWindowFlag(Qt::WindowStaysOnTopHint);
    auto* layout = new QGridLayout(this);
    auto* fields = new QFormLayout;
    const QList<QPair<QString, QString>> captions = {
        {QStringLiteral("Label11"), QStringLiteral("Позивний")},
        {QStringLiteral("Label12"), QStringLiteral("Номер")},
        {QStringLiteral("Label13"), QStringLiteral("Модель")},
        {QStringLiteral("Label14"), QStringLiteral("VIN")},
        {QStringLiteral("Label15"), QStringLiteral("Об'єм двигуна")},
        {QStringLiteral("Label16"), QStringLiteral("Рік")},
        {QStringLiteral("Label17"), QStringLiteral("Колір")},
        {QStringLiteral("Label18"), QStringLiteral("Кузов / тариф")},
        {QStringLiteral("Label19"), QStringLiteral("Місць")},
        {QStringLiteral("Label20"), QStringLiteral("Вантаж")},
        {QStringLiteral("Label29"), QStringLiteral("Водій")},
        {QStringLiteral("Label30"), QStringLiteral("Телефон")},
        {QStringLiteral("Label31"), QStringLiteral("Дата народження")},
        {QStringLiteral("Label34"), QStringLiteral("Остання ювілейна")},
        {QStringLiteral("Label35"), QStringLiteral("Остання відмова")},
        {QStringLiteral("Label45"), QStringLiteral("Активність GPRS")},
        {QStringLiteral("Label46"), QStringLiteral("GPRS")},
    };
    for (const auto& [name, caption] : captions) {
        auto* label = new QLabel(CarCard::kNotSet, this);
        label->setObjectName(name);
        m_fields.insert(name, label);
        fields->addRow(caption, label);
    }
    m_otherCars = new QComboBox(this);
    m_drivers = new QComboBox(this);
    fields->addRow(QStringLiteral("Інший активний автомобіль"), m_otherCars);
    fields->addRow(QStringLiteral("Водії автомобіля"), m_drivers);
    layout->addLayout(fields, 0, 0);

    auto* lists = new QVBoxLayout;
    m_places = new QListWidget(this);
    m_objects = new QListWidget(this);
    m_counter = new QLabel(QStringLiteral("0"), this);
    m_gprsEdit = new QCheckBox(QStringLiteral("Можливість редагування зміни стоянки GPRS водіям"), this);
    lists->addWidget(m_places);
    lists->addWidget(m_objects);
    lists->addWidget(m_counter);
    lists->addWidget(m_gprsEdit);
    layout->addLayout(lists, 0, 1);

    auto* buttons = new QVBoxLayout;
    for (const auto& [name, text] : QList<QPair<QString, QString>>{
             {QStringLiteral("apply"), QStringLiteral("Затвердити  зміну  стоянок")},
             {QStringLiteral("zero"), QStringLiteral("Зїхати на нульову стоянку")},
             {QStringLiteral("first"), QStringLiteral("Виставити першим водієм на вибраній стоянці")},
             {QStringLiteral("driver"), QStringLiteral("Швидка зміна водія")},
             {QStringLiteral("offAir"), QStringLiteral("Зняти з ефіра")},
             {QStringLiteral("blackList"), QStringLiteral("Чорний список")},
             {QStringLiteral("message"), QStringLiteral("Повідомлення водію")},
             {QStringLiteral("map"), QStringLiteral("Показати на карті")},
             {QStringLiteral("putOnAir"), QStringLiteral("Відкрити в ефір нового водія")},
             {QStringLiteral("addStand"), QStringLiteral("Добавити стоянку")},
             {QStringLiteral("deleteStand"), QStringLiteral("Удалити стоянку")}})
        buttons->addWidget(addButton(name, text));
    buttons->addStretch();
    layout->addLayout(buttons, 0, 2);
}

QPushButton* TForm5::addButton(const QString& name, const QString& text)
{
    auto* button = new QPushButton(text, this);
    button->setObjectName(name);
    m_buttons.insert(name, button);
    return button;
}

QString TForm5::fieldText(const QString& name) const
{
    const QLabel* label = m_fields.value(name);
    return label ? label->text() : QString();
}

void TForm5::setController(CarCard& card)
{
    m_controller = &card;
    connect(&card, &CarCard::changed, this, &TForm5::showCard);
    connect(&card, &CarCard::showRequested, this, [this] {
        showCard();
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->geometry().center() - rect().center());
        show();
        raise();
    });
    // A card loaded for Ctrl+Del was never shown: closing it would refresh the main
    // lists for nothing.
    connect(&card, &CarCard::closeRequested, this, [this] {
        if (isVisible())
            close();
    });
    connect(m_buttons.value(QStringLiteral("apply")), &QPushButton::clicked, &card,
            &CarCard::confirmStandChange);
    connect(m_buttons.value(QStringLiteral("zero")), &QPushButton::clicked, &card, &CarCard::leaveAllStands);
    connect(m_buttons.value(QStringLiteral("first")), &QPushButton::clicked, &card,
            &CarCard::putFirstAtStand);
    connect(m_buttons.value(QStringLiteral("driver")), &QPushButton::clicked, this,
            [this] { m_controller->changeDriver(m_drivers->currentText()); });
    connect(m_buttons.value(QStringLiteral("offAir")), &QPushButton::clicked, &card, &CarCard::takeOffAir);
    connect(m_buttons.value(QStringLiteral("blackList")), &QPushButton::clicked, &card,
            &CarCard::addToBlackList);
    connect(m_buttons.value(QStringLiteral("message")), &QPushButton::clicked, &card, &CarCard::sendMessage);
    connect(m_buttons.value(QStringLiteral("map")), &QPushButton::clicked, &card, &CarCard::showOnMap);
    connect(m_buttons.value(QStringLiteral("putOnAir")), &QPushButton::clicked, &card,
            &CarCard::putOnAirRequested);
    connect(m_buttons.value(QStringLiteral("addStand")), &QPushButton::clicked, &card, &CarCard::addStand);
    connect(m_buttons.value(QStringLiteral("deleteStand")), &QPushButton::clicked, &card,
            &CarCard::deleteStand);
    connect(m_gprsEdit, &QCheckBox::toggled, this, [this](bool on) {
        if (!m_filling)
            m_controller->setGprsEditAllowed(on);
    });
    connect(m_objects, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        if (!m_filling)
            m_controller->setTicked(m_objects->row(item), item->checkState() == Qt::Checked);
    });
    connect(m_objects, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_filling)
            m_controller->setCurrentObject(row);
    });
    connect(m_places, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_filling)
            m_controller->selectPlace(row);
    });
    connect(m_places, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { m_controller->placeDoubleClicked(m_places->row(item)); });
    connect(m_otherCars, &QComboBox::activated, this,
            [this](int index) { m_controller->chooseOtherCar(m_otherCars->itemText(index)); });
    showCard();
}

void TForm5::showCard()
{
    if (!m_controller)
        return;
    m_filling = true;
    const DriverDetails& d = m_controller->details();
    const QList<QPair<QString, QString>> values = {
        {QStringLiteral("Label11"), d.callsign},     {QStringLiteral("Label12"), d.plate},
        {QStringLiteral("Label13"), d.model},        {QStringLiteral("Label14"), d.vin},
        {QStringLiteral("Label15"), d.engineVolume}, {QStringLiteral("Label16"), d.year},
        {QStringLiteral("Label17"), d.colour},       {QStringLiteral("Label18"), d.body},
        {QStringLiteral("Label19"), d.seats},        {QStringLiteral("Label20"), d.load},
        {QStringLiteral("Label29"), d.name},         {QStringLiteral("Label30"), d.phone},
        {QStringLiteral("Label31"), d.birthDate},    {QStringLiteral("Label34"), d.jubileeMark},
        {QStringLiteral("Label35"), d.refusalMark},  {QStringLiteral("Label45"), d.orderNumber},
        {QStringLiteral("Label46"), d.gprs}};
    for (const auto& [name, value] : values)
        m_fields.value(name)->setText(orNotSet(value));

    m_places->clear();
    m_places->addItems(d.places);
    m_places->setCurrentRow(m_controller->selectedPlace());
    m_objects->clear();
    for (const auto& object : d.objects) {
        auto* item = new QListWidgetItem(object.text, m_objects);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(object.checked ? Qt::Checked : Qt::Unchecked);
    }
    m_objects->setCurrentRow(m_controller->currentObject());
    m_counter->setText(QString::number(m_controller->tickedCount()));
    m_otherCars->clear();
    m_otherCars->addItems(m_controller->otherCars());
    m_otherCars->setCurrentIndex(-1);
    m_drivers->clear();
    m_drivers->addItems(m_controller->otherDrivers());
    m_drivers->setCurrentIndex(-1);
    m_gprsEdit->setChecked(m_controller->gprsEditAllowed());
    const bool byHand = m_controller->standButtonsShown();
    m_buttons.value(QStringLiteral("addStand"))->setVisible(byHand);
    m_buttons.value(QStringLiteral("deleteStand"))->setVisible(byHand);
    m_filling = false;
}
