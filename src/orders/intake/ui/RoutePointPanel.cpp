#include "orders/intake/ui/RoutePointPanel.h"

#include "orders/intake/RoutePointEntry.h"
#include "orders/intake/ui/RefilledComboBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>
#include <functional>

namespace {

using End = RoutePointEntry::End;

bool isEnter(const QEvent* event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

void setTextQuietly(QLineEdit* box, const QString& text)
{
    if (box->text() == text)
        return;
    const QSignalBlocker quiet(box);
    box->setText(text);
}

QLabel* caption(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setStyleSheet(QStringLiteral("font-weight: bold"));
    label->setToolTip(QStringLiteral("Два рази клацніть, щоб відкрити"));
    return label;
}

// An area's caption line with the button that opens the area.
QToolButton* addHeader(QVBoxLayout* layout, QLabel* caption)
{
    auto* line = new QHBoxLayout;
    auto* open = new QToolButton(caption->parentWidget());
    open->setText(QStringLiteral("Відкрити"));
    line->addWidget(caption, 1);
    line->addWidget(open);
    layout->addLayout(line);
    return open;
}

} // namespace

RoutePointPanel::RoutePointPanel(RoutePointEntry& entry, QWidget* parent) : QWidget(parent), m_entry(entry)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    m_mapCaption = caption(QStringLiteral("Пункти внутрішньої карти міста"), this);
    QToolButton* openMap = addHeader(layout, m_mapCaption);
    m_mapArea = buildMapArea();
    layout->addWidget(m_mapArea);
    m_outsideCaption = caption(QStringLiteral("Онлайн сервіс / тарифна сітка"), this);
    QToolButton* openOutside = addHeader(layout, m_outsideCaption);
    m_outsideArea = buildOutsideArea();
    layout->addWidget(m_outsideArea);

    for (QLabel* header : {m_mapCaption, m_outsideCaption})
        header->installEventFilter(this);
    connect(openMap, &QToolButton::clicked, this, &RoutePointPanel::openMapArea);
    connect(openOutside, &QToolButton::clicked, this, [this] { openOutsideArea(true); });

    connect(&m_entry, &RoutePointEntry::namesChanged, this, &RoutePointPanel::showNames);
    connect(&m_entry, &RoutePointEntry::housesChanged, this, &RoutePointPanel::showHouses);
    connect(&m_entry, &RoutePointEntry::outsideChanged, this, &RoutePointPanel::showOutside);

    openMapArea();
    showNames();
    showHouses();
    showOutside();
}

QWidget* RoutePointPanel::buildMapArea()
{
    auto* area = new QWidget(this);
    auto* layout = new QGridLayout(area);
    m_search = new QLineEdit(area);
    m_search->setPlaceholderText(QStringLiteral("вулиця або об'єкт"));
    m_search->setToolTip(QStringLiteral("Частина назви вулиці або об'єкта, Enter - вибрати"));
    m_search->setStyleSheet(QStringLiteral("QLineEdit:focus { color: purple; }"));
    m_category = new RefilledComboBox(
        [this](QComboBox* box) {
            const QString shown = box->currentText();
            const QSignalBlocker quiet(box);
            box->clear();
            box->addItems(m_entry.categories());
            box->setCurrentIndex(box->findText(shown));
        },
        area);
    m_category->setToolTip(QStringLiteral("Категорія об'єктів"));
    m_newHouse = new QPushButton(QStringLiteral("Новий"), area);
    m_newHouse->setToolTip(RoutePointEntry::kNewHouseHint);
    m_names = new QListWidget(area);
    m_names->setStyleSheet(QStringLiteral("QListWidget:focus { color: purple; }"));
    m_houses = new QListWidget(area);
    m_flat = new QLineEdit(area);
    m_flat->setToolTip(QStringLiteral("Квартира / під'їзд, Enter - добавити адресу"));
    m_flat->setStyleSheet(QStringLiteral("QLineEdit:focus { background-color: olive; color: yellow; }"));

    layout->addWidget(m_search, 0, 0);
    layout->addWidget(m_category, 0, 1);
    layout->addWidget(m_newHouse, 0, 2);
    layout->addWidget(m_names, 1, 0, 2, 1);
    layout->addWidget(m_houses, 1, 1, 2, 1);
    layout->addWidget(new QLabel(QStringLiteral("Квартира / під'їзд"), area), 1, 2);
    layout->addWidget(m_flat, 2, 2, Qt::AlignTop);
    layout->setColumnStretch(0, 3);
    layout->setColumnStretch(1, 1);

    m_search->installEventFilter(this);
    m_names->installEventFilter(this);
    m_houses->installEventFilter(this);
    connect(m_search, &QLineEdit::returnPressed, this, &RoutePointPanel::takeName);
    connect(m_category, &QComboBox::textActivated, &m_entry, &RoutePointEntry::chooseCategory);
    connect(m_names, &QListWidget::currentTextChanged, this, [this](const QString& name) {
        m_entry.selectName(name);
        m_newHouse->setEnabled(m_entry.newHouseAvailable());
    });
    connect(m_names, &QListWidget::itemDoubleClicked, this, &RoutePointPanel::takeName);
    connect(m_houses, &QListWidget::currentTextChanged, &m_entry, &RoutePointEntry::selectHouse);
    connect(m_houses, &QListWidget::itemDoubleClicked, this, &RoutePointPanel::chooseHouse);
    connect(m_flat, &QLineEdit::textEdited, &m_entry, &RoutePointEntry::setFlat);
    connect(m_flat, &QLineEdit::returnPressed, this, &RoutePointPanel::addBuilding);
    connect(m_newHouse, &QPushButton::clicked, &m_entry, &RoutePointEntry::newHouse);
    return area;
}

QWidget* RoutePointPanel::buildOutsideArea()
{
    auto* area = new QWidget(this);
    auto* layout = new QGridLayout(area);
    m_ownCity = new QLabel(area);
    layout->addWidget(m_ownCity, 0, 0, 1, 5);

    const auto placeBox = [this, area](bool start) {
        auto* box = new RefilledComboBox([this, start](QComboBox* b) { refillPlaces(b, start); }, area);
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        return box;
    };
    m_startPlace = placeBox(true);
    m_startHouse = new QLineEdit(area);
    m_startHouse->setPlaceholderText(QStringLiteral("будинок"));
    m_startFlat = new QLineEdit(area);
    m_startFlat->setPlaceholderText(QStringLiteral("квартира"));
    m_startMyCity = new QCheckBox(QStringLiteral("дані мого міста"), area);
    m_startHint = new QLabel(area);
    m_destinationPlace = placeBox(false);
    m_destinationHouse = new QLineEdit(area);
    m_destinationHouse->setPlaceholderText(QStringLiteral("будинок"));
    m_destinationMyCity = new QCheckBox(QStringLiteral("дані мого міста"), area);
    m_destinationHint = new QLabel(area);

    layout->addWidget(new QLabel(QStringLiteral("Звідки"), area), 1, 0);
    layout->addWidget(m_startPlace, 1, 1);
    layout->addWidget(m_startHouse, 1, 2);
    layout->addWidget(m_startFlat, 1, 3);
    layout->addWidget(m_startMyCity, 1, 4);
    layout->addWidget(m_startHint, 2, 1, 1, 4);
    layout->addWidget(new QLabel(QStringLiteral("Куди"), area), 3, 0);
    layout->addWidget(m_destinationPlace, 3, 1);
    layout->addWidget(m_destinationHouse, 3, 2);
    layout->addWidget(m_destinationMyCity, 3, 4);
    layout->addWidget(m_destinationHint, 4, 1, 1, 4);
    layout->setColumnStretch(1, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel(QStringLiteral("Відстань, км :"), area));
    m_distance = new QLabel(area);
    m_distance->setStyleSheet(QStringLiteral("font-weight: bold"));
    bottom->addWidget(m_distance);
    bottom->addStretch();
    auto* grid = new QPushButton(QStringLiteral("Ціна тарифної сітки"), area);
    m_addOutside = new QPushButton(QStringLiteral("Добавити дані до списка"), area);
    m_calculate = new QPushButton(QStringLiteral("Прорахувати"), area);
    m_calculate->setToolTip(QStringLiteral("Прорахувати відстань (потрібен інтернет)"));
    bottom->addWidget(m_calculate);
    bottom->addWidget(grid);
    bottom->addWidget(m_addOutside);
    layout->addLayout(bottom, 5, 0, 1, 5);

    connect(m_startPlace, &QComboBox::currentTextChanged, this,
            [this](const QString& place) { m_entry.setPlace(End::Start, place); });
    connect(m_destinationPlace, &QComboBox::currentTextChanged, this,
            [this](const QString& place) { m_entry.setPlace(End::Destination, place); });
    connect(m_startHouse, &QLineEdit::textEdited, this,
            [this](const QString& house) { m_entry.setHouse(End::Start, house); });
    connect(m_destinationHouse, &QLineEdit::textEdited, this,
            [this](const QString& house) { m_entry.setHouse(End::Destination, house); });
    connect(m_startFlat, &QLineEdit::textEdited, &m_entry, &RoutePointEntry::setStartFlat);
    // A ticked box offers the own city's streets, an unticked one the nearby settlements.
    connect(m_startMyCity, &QCheckBox::toggled, this, [this](bool on) {
        m_entry.setMyCity(End::Start, on);
        refillPlaces(m_startPlace, true);
    });
    connect(m_destinationMyCity, &QCheckBox::toggled, this, [this](bool on) {
        m_entry.setMyCity(End::Destination, on);
        refillPlaces(m_destinationPlace, false);
    });
    connect(grid, &QPushButton::clicked, &m_entry, &RoutePointEntry::lookUpGridDistance);
    connect(m_addOutside, &QPushButton::clicked, &m_entry, &RoutePointEntry::addOutside);
    return area;
}

void RoutePointPanel::openMapArea()
{
    m_mapArea->show();
    m_outsideArea->hide();
    // Not while the form is being built: its opening decides where the focus starts.
    if (isVisible())
        m_search->setFocus();
}

void RoutePointPanel::openOutsideArea(bool byButton)
{
    m_ownCity->setText(QStringLiteral("Моє місто : ") + m_entry.ownCity());
    m_ownCity->setVisible(byButton);
    m_outsideArea->show();
    m_mapArea->hide();
    for (auto [box, start] : {std::pair{m_startPlace, true}, std::pair{m_destinationPlace, false}})
        refillPlaces(box, start);
}

bool RoutePointPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == m_mapCaption)
            openMapArea();
        else if (watched == m_outsideCaption)
            openOutsideArea(false);
    }
    if (watched == m_search && event->type() == QEvent::KeyRelease && !isEnter(event))
        m_entry.search(m_search->text());
    if (event->type() == QEvent::KeyPress && isEnter(event)) {
        if (watched == m_names) {
            takeName();
            return true;
        }
        if (watched == m_houses) {
            chooseHouse();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void RoutePointPanel::takeName()
{
    switch (m_entry.takeName()) {
    case RoutePointEntry::Taken::Street:
        m_houses->setFocus();
        if (m_houses->count() > 0)
            m_houses->setCurrentRow(0);
        break;
    case RoutePointEntry::Taken::ObjectAdded:
        backToSearch();
        break;
    case RoutePointEntry::Taken::Nothing:
        break;
    }
}

void RoutePointPanel::chooseHouse()
{
    if (!m_houses->currentItem())
        return;
    m_entry.selectHouse(m_houses->currentItem()->text());
    m_houses->setToolTip(m_entry.selectedHouse());
    m_flat->setFocus();
    m_flat->selectAll();
}

void RoutePointPanel::addBuilding()
{
    m_entry.setFlat(m_flat->text());
    if (m_entry.addBuilding())
        backToSearch();
}

void RoutePointPanel::backToSearch()
{
    m_search->setFocus();
    m_search->selectAll();
}

void RoutePointPanel::showNames()
{
    {
        const QSignalBlocker quiet(m_names);
        m_names->clear();
        m_names->addItems(m_entry.names());
        const int row = int(m_entry.names().indexOf(m_entry.selectedName()));
        m_names->setCurrentRow(row);
    }
    m_newHouse->setEnabled(m_entry.newHouseAvailable());
}

void RoutePointPanel::showHouses()
{
    {
        const QSignalBlocker quiet(m_houses);
        m_houses->clear();
        m_houses->addItems(m_entry.houses());
        m_houses->setCurrentRow(int(m_entry.houses().indexOf(m_entry.selectedHouse())));
    }
    m_houses->setToolTip(m_entry.selectedHouse());
    setTextQuietly(m_flat, m_entry.flat());
}

void RoutePointPanel::showOutside()
{
    m_distance->setText(m_entry.calculatedDistance());
    const auto& start = m_entry.end(End::Start);
    const auto& destination = m_entry.end(End::Destination);
    for (auto [box, ticked] :
         {std::pair{m_startMyCity, start.myCity}, std::pair{m_destinationMyCity, destination.myCity}}) {
        const QSignalBlocker quiet(box);
        box->setChecked(ticked);
    }
    for (auto [box, place] :
         {std::pair{m_startPlace, start.place}, std::pair{m_destinationPlace, destination.place}}) {
        if (box->currentText() != place) {
            const QSignalBlocker quiet(box);
            box->setEditText(place);
        }
    }
    setTextQuietly(m_startHouse, start.house);
    setTextQuietly(m_startFlat, start.flat);
    setTextQuietly(m_destinationHouse, destination.house);
    m_startHint->setText(m_entry.placeHint(End::Start));
    m_destinationHint->setText(m_entry.placeHint(End::Destination));
}

void RoutePointPanel::refillPlaces(QComboBox* box, bool start)
{
    const QString typed = box->currentText();
    const QSignalBlocker quiet(box);
    box->clear();
    box->addItems(m_entry.placeChoices(start ? End::Start : End::Destination));
    box->setEditText(typed);
}
