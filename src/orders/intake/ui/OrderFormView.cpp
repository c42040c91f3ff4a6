#include "orders/intake/ui/OrderFormView.h"

#include "orders/intake/ClientCard.h"
#include "orders/intake/ClientTableModel.h"
#include "orders/intake/ClientWarnings.h"
#include "orders/intake/OrderFormController.h"
#include "orders/intake/ui/MeasuringStepView.h"
#include "orders/intake/ui/RefilledComboBox.h"
#include "orders/intake/ui/RoutePointPanel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace {

using Page = OrderFormController::Page;
using Step = OrderFormController::Step;
using SearchBy = OrderFormController::SearchBy;

const char* const kPageNames[] = {"CardClient", "CreateCardClient", "EditCardClient", "CreateZam", "Telefon"};
const char* const kStepNames[] = {"STEP_1", "STEP_2", "STEP_3"};

QPushButton* button(const QString& caption, QWidget* parent, const QString& hint = {})
{
    auto* b = new QPushButton(caption, parent);
    if (!hint.isEmpty())
        b->setToolTip(hint);
    return b;
}

// Telephone boxes take digits and blanks only.
void digitsAndBlanks(QLineEdit* box)
{
    box->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9 ]*")), box));
}

// A box with its "+" button on the right.
QHBoxLayout* withPlus(QWidget* box, QPushButton* plus)
{
    auto* row = new QHBoxLayout;
    row->addWidget(box, 1);
    plus->setFixedWidth(28);
    row->addWidget(plus);
    return row;
}

std::optional<QDate> birthOf(const QCheckBox* noDate, const QDateEdit* date)
{
    if (noDate->isChecked())
        return std::nullopt;
    return date->date();
}

} // namespace

OrderFormView::OrderFormView(OrderFormController& controller, QWidget* parent)
    : QWidget(parent), m_controller(controller)
{
    auto* layout = new QVBoxLayout(this);
    m_pages = new QStackedWidget(this);
    m_pages->addWidget(buildClientPage());
    m_pages->addWidget(buildNewCardPage());
    m_pages->addWidget(buildEditCardPage());
    m_pages->addWidget(buildOrderPage());
    auto* telephone = new QLabel(QStringLiteral("Налаштування телефону та останній дзвінок"), m_pages);
    telephone->setAlignment(Qt::AlignCenter);
    m_pages->addWidget(telephone);
    layout->addWidget(m_pages, 1);
    layout->addWidget(buildStrip());

    connect(&m_controller, &OrderFormController::pageChanged, this, &OrderFormView::showPage);
    connect(&m_controller, &OrderFormController::clientChanged, this, &OrderFormView::showClient);
    connect(&m_controller, &OrderFormController::listChanged, this, &OrderFormView::showList);
    connect(&m_controller.order(), &OrderIntake::priceChanged, this, &OrderFormView::showPrice);
    connect(&m_controller.order(), &OrderIntake::savingChanged, this,
            [this](bool saving) { setEnabled(!saving); });
    connect(&m_controller.order(), &OrderIntake::batchProgress, this, [this](int remaining) {
        m_count->setText(QString::number(remaining));
        m_count->setStyleSheet(remaining % 2 ? QStringLiteral("color: red") : QStringLiteral("color: blue"));
        m_count->repaint();
    });
    connect(&m_controller, &OrderFormController::telephoneHistoryChanged, this, [this] {
        // Emptying the list empties the box, and with it the controller's text: keep it.
        const QString typed = m_controller.telephoneSearchText();
        m_telephoneSearch->clear();
        m_telephoneSearch->addItems(m_controller.telephoneHistory().entries());
        m_telephoneSearch->setEditText(typed);
    });
    showPage();
}

void OrderFormView::setCallStrip(QWidget* strip)
{
    // The strip keeps the visibility it had: hidden until a line is registered.
    const bool shown = !strip->isHidden();
    layout()->addWidget(strip);
    strip->setVisible(shown);
}

void OrderFormView::setTelephonePage(QWidget* page)
{
    const int index = int(Page::Telefon);
    QWidget* placeholder = m_pages->widget(index);
    m_pages->insertWidget(index, page);
    m_pages->removeWidget(placeholder);
    delete placeholder;
    m_pages->setCurrentIndex(int(m_controller.page()));
}

QString OrderFormView::pageName() const
{
    return QLatin1String(kPageNames[int(m_controller.page())]);
}

QString OrderFormView::stepName() const
{
    return QLatin1String(kStepNames[int(m_controller.step()) - 1]);
}

QLineEdit* OrderFormView::telephoneSearch() const
{
    return m_telephoneSearch->lineEdit();
}

// ---- building ------------------------------------------------------------------------------

QWidget* OrderFormView::buildStrip()
{
    m_strip = new QGroupBox(QStringLiteral("Швидкий пошук клієнта"), this);
    auto* row = new QHBoxLayout(m_strip);
    m_codeSearch = new QLineEdit(m_strip);
    m_codeSearch->setPlaceholderText(QStringLiteral("код"));
    m_nameSearch = new QLineEdit(m_strip);
    m_nameSearch->setPlaceholderText(QStringLiteral("ФІО"));
    m_addressSearch = new QLineEdit(m_strip);
    m_addressSearch->setPlaceholderText(QStringLiteral("адреса"));
    m_telephoneSearch = new QComboBox(m_strip);
    m_telephoneSearch->setEditable(true);
    m_telephoneSearch->setInsertPolicy(QComboBox::NoInsert);
    m_telephoneSearch->lineEdit()->setPlaceholderText(QStringLiteral("телефон"));
    auto* clearHistory = button(QStringLiteral("X"), m_strip, QStringLiteral("Очистити історію телефонів"));
    for (QWidget* w : {static_cast<QWidget*>(m_codeSearch), static_cast<QWidget*>(m_nameSearch),
                       static_cast<QWidget*>(m_addressSearch), static_cast<QWidget*>(m_telephoneSearch)})
        row->addWidget(w);
    row->addWidget(clearHistory);

    const auto search = [this](SearchBy by, QLineEdit* box) {
        connect(box, &QLineEdit::returnPressed, this, [this, by, box] {
            m_controller.quickSearch(by, box->text());
            if (m_controller.page() == Page::CardClient)
                m_grid->setFocus();
        });
    };
    search(SearchBy::Code, m_codeSearch);
    search(SearchBy::Name, m_nameSearch);
    search(SearchBy::Address, m_addressSearch);
    search(SearchBy::Telephone, m_telephoneSearch->lineEdit());
    connect(m_telephoneSearch, &QComboBox::textActivated, this, [this](const QString& entry) {
        m_controller.chooseTelephoneEntry(entry);
        m_telephoneSearch->setEditText(m_controller.telephoneSearchText());
    });
    connect(m_telephoneSearch, &QComboBox::editTextChanged, this,
            [this](const QString& text) { m_controller.setTelephoneSearchText(text); });
    connect(clearHistory, &QPushButton::clicked, this, [this] { m_controller.clearTelephoneHistory(); });
    return m_strip;
}

QWidget* OrderFormView::buildClientPage()
{
    auto* page = new QWidget(this);
    auto* layout = new QHBoxLayout(page);
    auto* left = new QVBoxLayout;
    m_model = new ClientTableModel(m_controller.clients().list(), page);
    m_grid = new QTableView(page);
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->horizontalHeader()->setSectionsClickable(true);
    left->addWidget(m_grid, 1);
    auto* buttons = new QHBoxLayout;
    auto* toOrder = button(QStringLiteral("Перейти до замовлення"), page);
    auto* unknown = button(QStringLiteral("Некодований клієнт"), page);
    m_newCardButton = button(QStringLiteral("Створити нову карточку клієнта"), page);
    m_editCardButton = button(QStringLiteral("Редагувати карточку вибраного клієнта"), page);
    for (QPushButton* b : {toOrder, unknown, m_newCardButton, m_editCardButton})
        buttons->addWidget(b);
    left->addLayout(buttons);
    auto* previous = button(
        QStringLiteral("Показати / скрити список адрес попередньовиконаних 15 останніх замовлень клієнта"),
        page);
    left->addWidget(previous);
    layout->addLayout(left, 3);

    auto* right = new QVBoxLayout;
    m_details = new QLabel(page);
    m_details->setWordWrap(true);
    m_details->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    right->addWidget(m_details, 1);
    m_debtor = new QListWidget(page);
    m_debtor->setStyleSheet(QStringLiteral("background: red; color: yellow"));
    right->addWidget(m_debtor, 1);
    m_birthday = new QLabel(ClientWarnings::kBirthdayText, page);
    m_birthday->setStyleSheet(QStringLiteral("background: yellow; color: blue; font-weight: bold"));
    m_birthday->setAlignment(Qt::AlignCenter);
    m_birthday->setWordWrap(true);
    right->addWidget(m_birthday, 1);
    layout->addLayout(right, 1);

    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    m_controller.currentRowChanged(current.row() + 1);
            });
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int column) { m_controller.orderByColumn(ClientTableModel::fieldOf(column)); });
    connect(m_grid, &QTableView::doubleClicked, this, [this] { m_controller.goToOrder(); });
    connect(m_grid, &QTableView::activated, this, [this] { m_controller.goToOrder(); });
    connect(toOrder, &QPushButton::clicked, this, [this] { m_controller.goToOrder(); });
    connect(unknown, &QPushButton::clicked, this, [this] { m_controller.chooseUnknownClient(); });
    connect(m_newCardButton, &QPushButton::clicked, this, [this] { m_controller.newClientCard(); });
    connect(m_editCardButton, &QPushButton::clicked, this, [this] { m_controller.editClientCard(); });
    connect(previous, &QPushButton::clicked, this, [this] { m_controller.togglePreviousAddresses(); });
    return page;
}

QWidget* OrderFormView::buildNewCardPage()
{
    auto* page = new QGroupBox(QStringLiteral("Нова карточка клієнта"), this);
    auto* form = new QFormLayout(page);
    m_newCode = new QLineEdit(ClientCard::kUnknownCode, page);
    m_newCode->setReadOnly(true);
    auto* assign = button(QStringLiteral("Присвоїти код"), page);
    auto* codeRow = new QHBoxLayout;
    codeRow->addWidget(m_newCode);
    codeRow->addWidget(assign);
    form->addRow(QStringLiteral("Код клієнта"), codeRow);
    m_newName = new QLineEdit(page);
    m_newStreet = streetBox(page);
    m_newHouse = new QLineEdit(page);
    m_newApartment = new QLineEdit(page);
    m_newTelephones = new QLineEdit(page);
    digitsAndBlanks(m_newTelephones);
    m_newPassword = new QLineEdit(page);
    m_newNoDate = new QCheckBox(QStringLiteral("без дати"), page);
    m_newNoDate->setChecked(true);
    m_newBirth = new QDateEdit(page);
    m_newBirth->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    m_newBirth->setEnabled(false);
    auto* addName = button(QStringLiteral("+"), page, QStringLiteral("Додати ФІО з рядка швидкого пошуку"));
    auto* addNewTelephone = button(QStringLiteral("+"), page, QStringLiteral("Додати телефон"));
    form->addRow(QStringLiteral("ФІО"), withPlus(m_newName, addName));
    form->addRow(QStringLiteral("Вулиця"), m_newStreet);
    form->addRow(QStringLiteral("Будинок"), m_newHouse);
    form->addRow(QStringLiteral("Квартира"), m_newApartment);
    form->addRow(QStringLiteral("Телефони"), withPlus(m_newTelephones, addNewTelephone));
    form->addRow(QStringLiteral("Пароль"), m_newPassword);
    auto* birthRow = new QHBoxLayout;
    birthRow->addWidget(m_newNoDate);
    birthRow->addWidget(m_newBirth);
    form->addRow(QStringLiteral("Дата народження"), birthRow);
    auto* create = button(QStringLiteral("Створити нового клієнта"), page);
    auto* clearAll = button(QStringLiteral("Очистити всі поля"), page);
    auto* back = button(QStringLiteral("Назад"), page);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(create);
    buttons->addWidget(clearAll);
    buttons->addWidget(back);
    form->addRow(buttons);

    connect(addName, &QPushButton::clicked, this, [this] {
        m_newName->setText(ClientCardEditor::appendedAfterBlank(m_newName->text(), m_nameSearch->text()));
    });
    connect(addNewTelephone, &QPushButton::clicked, this,
            [this] { addTelephone(m_newTelephones, m_newCode->text(), true); });
    connect(clearAll, &QPushButton::clicked, this, [this] {
        if (m_controller.cards().confirmClearingNewCard())
            resetNewCard();
    });
    connect(m_newNoDate, &QCheckBox::toggled, m_newBirth, [this](bool on) { m_newBirth->setEnabled(!on); });
    connect(assign, &QPushButton::clicked, this, [this, assign] {
        if (const auto assignment = m_controller.assignCode()) {
            m_newCode->setText(assignment->code);
            assign->setToolTip(assignment->hint);
        }
    });
    connect(create, &QPushButton::clicked, this, [this] {
        NewClientCard card;
        card.code = m_newCode->text();
        card.name = m_newName->text();
        card.street = m_newStreet->currentText();
        card.house = m_newHouse->text();
        card.apartment = m_newApartment->text();
        card.telephones = m_newTelephones->text();
        card.password = m_newPassword->text();
        card.birthDate = birthOf(m_newNoDate, m_newBirth);
        m_controller.createClient(card);
        if (m_controller.page() == Page::CardClient) {
            resetNewCard();
            m_codeSearch->clear();
        }
    });
    connect(back, &QPushButton::clicked, this, [this] { m_controller.backToClients(); });
    return page;
}

QWidget* OrderFormView::buildEditCardPage()
{
    auto* page = new QGroupBox(QStringLiteral("Редагування карточки клієнта"), this);
    auto* form = new QFormLayout(page);
    m_editCode = new QLineEdit(page);
    m_editCode->setReadOnly(true);
    m_editName = new QLineEdit(page);
    m_editAddress = new QLineEdit(page);
    m_editStreet = streetBox(page);
    m_editTelephones = new QLineEdit(page);
    digitsAndBlanks(m_editTelephones);
    m_editPassword = new QLineEdit(page);
    m_editNoDate = new QCheckBox(QStringLiteral("без дати"), page);
    m_editBirth = new QDateEdit(page);
    m_editBirth->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    form->addRow(QStringLiteral("Код клієнта"), m_editCode);
    form->addRow(QStringLiteral("ФІО"), m_editName);
    auto* addStreet = button(QStringLiteral("+"), page, QStringLiteral("Додати вулицю до адреси"));
    auto* addEditTelephone = button(QStringLiteral("+"), page, QStringLiteral("Додати телефон"));
    form->addRow(QStringLiteral("Адреса"), m_editAddress);
    form->addRow(QStringLiteral("Вулиця"), withPlus(m_editStreet, addStreet));
    form->addRow(QStringLiteral("Телефони"), withPlus(m_editTelephones, addEditTelephone));
    form->addRow(QStringLiteral("Пароль"), m_editPassword);
    auto* birthRow = new QHBoxLayout;
    birthRow->addWidget(m_editNoDate);
    birthRow->addWidget(m_editBirth);
    form->addRow(QStringLiteral("Дата народження"), birthRow);
    auto* edit = button(QStringLiteral("Редагувати вибраного клієнта"), page);
    auto* back = button(QStringLiteral("Назад"), page);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(edit);
    buttons->addWidget(back);
    form->addRow(buttons);

    // The address is free text here: the street goes in where the dispatcher left off.
    connect(addStreet, &QPushButton::clicked, this,
            [this] { m_editAddress->setText(m_editAddress->text() + m_editStreet->currentText()); });
    connect(addEditTelephone, &QPushButton::clicked, this,
            [this] { addTelephone(m_editTelephones, m_editCode->text(), false); });
    connect(m_editNoDate, &QCheckBox::toggled, m_editBirth,
            [this](bool on) { m_editBirth->setEnabled(!on); });
    connect(edit, &QPushButton::clicked, this, [this] {
        EditedClientCard card;
        card.code = m_editCode->text();
        card.name = m_editName->text();
        card.address = m_editAddress->text();
        card.telephones = m_editTelephones->text();
        card.password = m_editPassword->text();
        card.birthDate = birthOf(m_editNoDate, m_editBirth);
        m_controller.editClient(card);
    });
    connect(back, &QPushButton::clicked, this, [this] { m_controller.backToClients(); });
    return page;
}

QWidget* OrderFormView::buildOrderPage()
{
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    auto* top = new QHBoxLayout;
    m_orderClient = new QLabel(page);
    m_orderClient->setWordWrap(true);
    top->addWidget(m_orderClient, 1);
    m_chooseClient = button(QStringLiteral("Вибір клієнта зі списка"), page);
    top->addWidget(m_chooseClient);
    layout->addLayout(top);
    m_steps = new QStackedWidget(page);
    m_steps->addWidget(buildFirstStep());
    m_steps->addWidget(buildMeasuringStep());
    m_steps->addWidget(buildLastStep());
    layout->addWidget(m_steps, 1);
    connect(m_chooseClient, &QPushButton::clicked, this, [this] { m_controller.backToClients(); });
    return page;
}

QWidget* OrderFormView::buildFirstStep()
{
    auto* step = new QWidget(this);
    auto* layout = new QVBoxLayout(step);
    layout->addWidget(
        new QLabel(QStringLiteral("Маршрут (перший пункт - початковий, останній - кінцевий)"), step));
    m_route = new QListWidget(step);
    layout->addWidget(m_route, 1);
    m_routePoints = new RoutePointPanel(m_controller.routeEntry(), step);
    layout->addWidget(m_routePoints);
    auto* buttons = new QHBoxLayout;
    auto* remove = button(QStringLiteral("Знищити"), step, QStringLiteral("Знищити виділений запис"));
    auto* clear = button(QStringLiteral("Очистити"), step, QStringLiteral("Очистити список"));
    auto* onMap =
        button(QStringLiteral("На карті"), step, QStringLiteral("Показати виділений пункт на карті міста"));
    m_browserRoute =
        button(QStringLiteral("У браузері"), step,
               QStringLiteral("Перейти у браузер з переданими параметрами (при умові данних свого міста)"));
    auto* driver = button(QStringLiteral("Попередній підбір водія"), step);
    auto* next = button(QStringLiteral("Далі"), step);
    for (QPushButton* b : {remove, clear, onMap, m_browserRoute, driver})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(next);
    layout->addLayout(buttons);

    connect(&m_controller.routeEntry(), &RoutePointEntry::routeChanged, this, &OrderFormView::showRoute);
    connect(&m_controller.previousAddresses(), &PreviousAddressesController::routeItemAdded, this,
            &OrderFormView::showRoute);
    connect(onMap, &QPushButton::clicked, this,
            [this] { m_controller.routeEntry().showOnMap(m_route->currentRow()); });
    connect(remove, &QPushButton::clicked, this, [this] {
        m_controller.removeSelectedRouteItem(m_route->currentRow());
        showRoute();
    });
    connect(clear, &QPushButton::clicked, this, [this] {
        m_controller.clearRoute();
        showRoute();
    });
    connect(driver, &QPushButton::clicked, this, [this] { m_controller.order().preselectDriver(false); });
    connect(next, &QPushButton::clicked, this, [this] { m_controller.next(); });
    return step;
}

QWidget* OrderFormView::buildMeasuringStep()
{
    m_measuring = new MeasuringStepView(m_controller, this);
    return m_measuring;
}

QWidget* OrderFormView::buildLastStep()
{
    auto* step = new QWidget(this);
    auto* layout = new QHBoxLayout(step);
    auto* figures = new QFormLayout;
    m_kmInTown = new QLineEdit(step);
    m_kmOutOfTown = new QLineEdit(step);
    m_waiting = new QLineEdit(step);
    m_tariff = new QComboBox(step);
    figures->addRow(QStringLiteral("Км по місту"), m_kmInTown);
    figures->addRow(QStringLiteral("Км за містом"), m_kmOutOfTown);
    figures->addRow(QStringLiteral("Плановий простій, хв"), m_waiting);
    figures->addRow(QStringLiteral("Тариф"), m_tariff);
    m_amounts = new QLabel(step);
    figures->addRow(m_amounts);
    m_sum = new QLabel(step);
    m_sum->setStyleSheet(QStringLiteral("font-weight: bold; font-size: 14pt"));
    m_sum->setToolTip(QStringLiteral("Для друку форми розрахунку оплати клацніть два рази"));
    m_sum->installEventFilter(this);
    figures->addRow(QStringLiteral("До оплати"), m_sum);
    layout->addLayout(figures, 1);

    auto* right = new QVBoxLayout;
    m_kindPanel = new QGroupBox(QStringLiteral("Дані замовлення"), step);
    m_kindPanel->setAutoFillBackground(true);
    auto* kind = new QFormLayout(m_kindPanel);
    m_quick = new QRadioButton(QStringLiteral("Швидке"), m_kindPanel);
    m_preliminary = new QRadioButton(QStringLiteral("Попереднє"), m_kindPanel);
    auto* kinds = new QButtonGroup(m_kindPanel);
    kinds->addButton(m_quick);
    kinds->addButton(m_preliminary);
    m_ordinary = new QRadioButton(QStringLiteral("Звичайна"), m_kindPanel);
    m_jubilee = new QRadioButton(QStringLiteral("Ювілейна"), m_kindPanel);
    auto* jubilees = new QButtonGroup(m_kindPanel);
    jubilees->addButton(m_ordinary);
    jubilees->addButton(m_jubilee);
    auto* kindRow = new QHBoxLayout;
    kindRow->addWidget(m_quick);
    kindRow->addWidget(m_preliminary);
    kind->addRow(kindRow);
    auto* jubileeRow = new QHBoxLayout;
    jubileeRow->addWidget(m_ordinary);
    jubileeRow->addWidget(m_jubilee);
    kind->addRow(jubileeRow);
    m_acceptance = new QDateTimeEdit(m_kindPanel);
    m_acceptance->setDisplayFormat(QStringLiteral("dd.MM.yyyy hh:mm"));
    kind->addRow(QStringLiteral("Дата і час"), m_acceptance);
    m_count = new QLineEdit(QStringLiteral("1"), m_kindPanel);
    kind->addRow(QStringLiteral("Кількість поїздок"), m_count);
    m_notes = new QPlainTextEdit(m_kindPanel);
    kind->addRow(QStringLiteral("Примітки"), m_notes);
    right->addWidget(m_kindPanel, 1);
    auto* buttons = new QHBoxLayout;
    auto* back = button(QStringLiteral("Назад"), step);
    auto* driver = button(QStringLiteral("Попередній підбір водія"), step);
    m_save = button(QStringLiteral("Створити"), step);
    buttons->addWidget(back);
    buttons->addWidget(driver);
    buttons->addStretch();
    buttons->addWidget(m_save);
    right->addLayout(buttons);
    layout->addLayout(right, 1);

    OrderIntake& order = m_controller.order();
    connect(m_kmInTown, &QLineEdit::editingFinished, this,
            [this, &order] { order.setKmInTown(m_kmInTown->text()); });
    connect(m_kmOutOfTown, &QLineEdit::editingFinished, this,
            [this, &order] { order.setKmOutOfTown(m_kmOutOfTown->text()); });
    connect(m_waiting, &QLineEdit::editingFinished, this,
            [this, &order] { order.setWaitingMinutes(m_waiting->text()); });
    connect(m_tariff, &QComboBox::textActivated, this,
            [&order](const QString& name) { order.chooseTariff(name); });
    connect(m_preliminary, &QRadioButton::toggled, this, [this, &order](bool on) {
        order.setPreliminary(on);
        m_acceptance->setEnabled(on);
    });
    connect(m_jubilee, &QRadioButton::toggled, this, [this, &order](bool on) {
        if (order.setJubilee(on) != on)
            m_ordinary->setChecked(true);
        m_count->setText(order.tripCount());
    });
    connect(m_acceptance, &QDateTimeEdit::dateTimeChanged, this, [this, &order](const QDateTime& at) {
        if (m_preliminary->isChecked())
            order.setAcceptance(at);
    });
    connect(m_count, &QLineEdit::editingFinished, this, [this, &order] {
        order.setTripCount(m_count->text());
        m_count->setText(order.tripCount());
    });
    connect(m_notes, &QPlainTextEdit::textChanged, this,
            [this, &order] { order.setNotes(m_notes->toPlainText()); });
    connect(back, &QPushButton::clicked, this, [this] { m_controller.back(); });
    connect(driver, &QPushButton::clicked, this, [this, &order] {
        order.preselectDriver(true);
        if (m_notes->toPlainText() != order.notes())
            m_notes->setPlainText(order.notes());
    });
    connect(m_save, &QPushButton::clicked, this, &OrderFormView::save);
    return step;
}

// ---- showing -------------------------------------------------------------------------------

void OrderFormView::showPage()
{
    m_pages->setCurrentIndex(int(m_controller.page()));
    m_steps->setCurrentIndex(int(m_controller.step()) - 1);
    const bool create = m_controller.createMode();
    m_strip->setVisible(create);
    m_chooseClient->setVisible(create);
    m_newCardButton->setVisible(create);
    m_editCardButton->setVisible(create);
    m_kindPanel->setVisible(create);
    m_save->setText(m_controller.saveCaption());
    if (m_controller.page() == Page::CreateCardClient && m_newCode->text().isEmpty())
        m_newCode->setText(ClientCard::kUnknownCode);
    if (m_controller.page() == Page::CreateZam && m_controller.step() == Step::Last) {
        const QString chosen = m_controller.order().tariffName();
        m_tariff->clear();
        m_tariff->addItem(QString());
        m_tariff->addItems(m_controller.order().tariffNames());
        m_tariff->setCurrentText(chosen);
    }
    if (m_telephoneSearch->currentText() != m_controller.telephoneSearchText())
        m_telephoneSearch->setEditText(m_controller.telephoneSearchText());
    const OrderIntake& order = m_controller.order();
    m_quick->setChecked(!order.preliminary());
    m_preliminary->setChecked(order.preliminary());
    m_ordinary->setChecked(!order.jubilee());
    m_jubilee->setChecked(order.jubilee());
    m_acceptance->setEnabled(order.preliminary());
    m_count->setText(order.tripCount());
    if (m_notes->toPlainText() != order.notes())
        m_notes->setPlainText(order.notes());
    m_kindPanel->setPalette(palette());
    showRoute();
    showPrice();
}

void OrderFormView::showList()
{
    m_model->reload();
    const int row = m_controller.clients().list().recNo();
    if (row >= 1)
        m_grid->selectRow(row - 1);
}

void OrderFormView::showClient()
{
    const auto& client = m_controller.currentClient();
    if (!client) {
        m_details->clear();
    } else {
        m_details->setText(
            QStringLiteral("Код : %1\nФІО : %2\nАдреса : %3\nТелефони : %4\nДата народження : %5\n"
                           "Поїздок до ювілейної : %6\nЮвілейних поїздок : %7\nБаланс : %8\n"
                           "Знижка, % : %9")
                .arg(client->code, client->name, client->address, client->telephones,
                     client->birthDate.isValid() ? client->birthDate.toString(u"dd.MM.yyyy") : QString(),
                     client->tripsUntilJubilee, client->jubileeTrips, client->balance, client->discount));
    }
    m_debtor->clear();
    m_debtor->addItems(m_controller.debtorLines());
    if (m_debtor->count())
        m_debtor->setCurrentRow(0);
    m_debtor->setVisible(!m_controller.debtorLines().isEmpty());
    m_birthday->setVisible(m_controller.birthday());
    fillEditCard();
    const OrderClient& shown = m_controller.order().client();
    m_orderClient->setText(
        QStringLiteral("Телефон : %1   Код : %2   ФІО : %3   Телефони : %4   Баланс : %5   "
                       "Знижка, % : %6   До ювілейної : %7   Ювілейних : %8")
            .arg(shown.callerTelephone, shown.code, shown.name, shown.telephones, shown.balance,
                 shown.discount, shown.tripsUntilJubilee, shown.jubileeTrips));
}

void OrderFormView::fillEditCard()
{
    const auto& client = m_controller.currentClient();
    m_editCode->setText(client ? client->code : ClientCard::kUnknownCode);
    m_editPassword->setText(client ? client->password : QString());
    m_editName->setText(client ? client->name : QString());
    m_editAddress->setText(client ? client->address : QString());
    m_editTelephones->setText(client ? client->telephones : QString());
    const bool dated = client && client->birthDate.isValid();
    m_editNoDate->setChecked(!dated);
    m_editBirth->setEnabled(dated);
    if (dated)
        m_editBirth->setDate(client->birthDate);
}

void OrderFormView::resetNewCard()
{
    for (QLineEdit* box : {m_newName, m_newHouse, m_newApartment, m_newTelephones, m_newPassword})
        box->clear();
    m_newStreet->setEditText(QString());
    m_newCode->setText(ClientCard::kUnknownCode);
    m_newNoDate->setChecked(true);
}

QComboBox* OrderFormView::streetBox(QWidget* parent)
{
    auto* box = new RefilledComboBox(
        [this](QComboBox* b) {
            const QString typed = b->currentText();
            const QSignalBlocker quiet(b);
            b->clear();
            b->addItems(m_controller.cards().streetsContaining(typed));
            b->setEditText(typed);
        },
        parent);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    return box;
}

void OrderFormView::addTelephone(QLineEdit* box, const QString& code, bool newCard)
{
    using Card = ClientCardEditor::Card;
    if (const auto number = m_controller.cards().askTelephone(newCard ? Card::New : Card::Edited, code,
                                                              m_controller.telephoneSearchText()))
        box->setText(ClientCardEditor::appendedAfterBlank(box->text(), *number));
}

void OrderFormView::showRoute()
{
    m_route->clear();
    for (const RouteItem& item : m_controller.order().route())
        m_route->addItem(item.text());
}

void OrderFormView::showPrice()
{
    const OrderIntake& order = m_controller.order();
    const PriceResult& price = order.price();
    m_kmInTown->setText(order.kmInTown());
    m_kmOutOfTown->setText(order.kmOutOfTown());
    m_waiting->setText(order.waitingMinutes());
    m_amounts->setText(QStringLiteral("По місту : %1\nЗа містом : %2\nПростій : %3\nПрийняття : %4\n"
                                      "Попереднє : %5\nЮвілейна : %6\nПДВ / націнка (%7 %) : %8\n"
                                      "Знижка акції, % : %9")
                           .arg(price.town, price.outOfTown, price.waiting, price.acceptance,
                                price.preliminary, price.jubilee, order.vatPercent(), price.vat,
                                order.promotionalDiscount()));
    m_sum->setText(price.sumToPay);
}

void OrderFormView::save()
{
    // What was typed last counts even when its box still has the focus.
    OrderIntake& order = m_controller.order();
    order.setNotes(m_notes->toPlainText());
    if (m_count->text() != order.tripCount())
        order.setTripCount(m_count->text());
    m_controller.save();
    m_count->setStyleSheet(QString());
    showPage();
}

bool OrderFormView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_sum && event->type() == QEvent::MouseButtonDblClick)
        emit printRequested();
    return QWidget::eventFilter(watched, event);
}

void OrderFormView::tick(const QDateTime& now)
{
    if (!m_preliminary->isChecked()) {
        const QSignalBlocker quiet(m_acceptance);
        m_acceptance->setDateTime(now);
        m_controller.order().setAcceptance(now);
    }
    const bool blink = m_controller.page() == Page::CreateZam && m_controller.step() == Step::Last &&
                       m_preliminary->isChecked() && isVisible();
    m_blinkOn = blink && !m_blinkOn;
    QPalette colours = palette();
    if (m_blinkOn)
        colours.setColor(QPalette::Window, Qt::yellow);
    m_kindPanel->setPalette(colours);
}
