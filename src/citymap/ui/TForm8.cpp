#include "citymap/ui/TForm8.h"

#include "citymap/window/MapWindowController.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

using Field = MapWindowController::SearchField;
const Field kFields[4] = {Field::District, Field::Kind, Field::Label, Field::Street};

QFont labelFont()
{
    QFont font(QStringLiteral("Times New Roman"));
    font.setBold(true);
    return font;
}

} // namespace

TForm8::TForm8(QWidget* parent) : FormShell(QStringLiteral("Карта міста"), parent)
{
    setWindowFlag(Qt::WindowStaysOnTopHint);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildToolbar());
    auto* body = new QHBoxLayout;
    m_viewport = new QWidget(this);
    // A viewport smaller than a full tile, so that a point can be centred in it.
    m_viewport->setFixedSize(800, 560);
    m_viewport->setStyleSheet(QStringLiteral("background: rgb(128, 128, 128);"));
    m_picture = new QLabel(m_viewport);
    m_picture->setMouseTracking(true);
    m_picture->setContextMenuPolicy(Qt::CustomContextMenu);
    m_picture->installEventFilter(this);
    connect(m_picture, &QWidget::customContextMenuRequested, this, &TForm8::pictureMenu);
    body->addWidget(m_viewport, 1);
    auto* side = new QVBoxLayout;
    side->addWidget(buildSearchPanel());
    side->addWidget(buildCreationPanel());
    body->addLayout(side);
    layout->addLayout(body, 1);
}

QWidget* TForm8::buildToolbar()
{
    auto* bar = new QWidget(this);
    bar->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto* row = new QHBoxLayout(bar);
    const QList<QPair<QString, ScrollDirection>> buttons = {{QStringLiteral("◄"), ScrollDirection::Left},
                                                            {QStringLiteral("►"), ScrollDirection::Right},
                                                            {QStringLiteral("▲"), ScrollDirection::Up},
                                                            {QStringLiteral("▼"), ScrollDirection::Down}};
    for (const auto& [caption, direction] : buttons) {
        auto* button = new QPushButton(caption, bar);
        button->setFixedWidth(36);
        row->addWidget(button);
        connect(button, &QPushButton::clicked, this, [this, direction = direction] {
            if (!m_controller)
                return;
            m_controller->setStepText(m_step->text());
            m_controller->scroll(direction);
        });
    }
    row->addWidget(new QLabel(QStringLiteral("Крок, пікс.:"), bar));
    m_step = new QLineEdit(bar);
    m_step->setFixedWidth(60);
    row->addWidget(m_step);
    m_cursorX = new QLabel(QStringLiteral("0"), bar);
    m_cursorY = new QLabel(QStringLiteral("0"), bar);
    m_length = new QLabel(QStringLiteral("0"), bar);
    m_pixelsPerCm = new QLabel(QStringLiteral("0"), bar);
    row->addWidget(new QLabel(QStringLiteral("  X:"), bar));
    row->addWidget(m_cursorX);
    row->addWidget(new QLabel(QStringLiteral("  Y:"), bar));
    row->addWidget(m_cursorY);
    row->addWidget(new QLabel(QStringLiteral("  м в 1 см:"), bar));
    row->addWidget(m_length);
    row->addWidget(new QLabel(QStringLiteral("  точок в 1 см:"), bar));
    row->addWidget(m_pixelsPerCm);
    m_showObjects = new QCheckBox(QStringLiteral("Відображати обєкти"), bar);
    row->addWidget(m_showObjects);
    connect(m_showObjects, &QCheckBox::toggled, this, [this](bool on) {
        if (m_controller)
            m_controller->setShowObjects(on);
    });
    row->addStretch();
    return bar;
}

QWidget* TForm8::buildSearchPanel()
{
    m_searchPanel = new QWidget(this);
    m_searchPanel->setFixedWidth(380);
    auto* layout = new QVBoxLayout(m_searchPanel);
    auto* form = new QFormLayout;
    const QStringList captions = {QStringLiteral("Район"), QStringLiteral("Статус"), QStringLiteral("Підпис"),
                                  QStringLiteral("Вулиця")};
    for (int i = 0; i < 4; ++i) {
        m_searchTicks[i] = new QCheckBox(captions[i], m_searchPanel);
        m_searchBoxes[i] = new QComboBox(m_searchPanel);
        m_searchBoxes[i]->setEditable(true);
        m_searchBoxes[i]->setInsertPolicy(QComboBox::NoInsert);
        m_searchBoxes[i]->lineEdit()->installEventFilter(this);
        m_searchBoxes[i]->installEventFilter(this);
        form->addRow(m_searchTicks[i], m_searchBoxes[i]);
    }
    layout->addLayout(form);
    m_found = new QTableWidget(0, 3, m_searchPanel);
    m_found->setHorizontalHeaderLabels(
        {QStringLiteral("Підпис на карті"), QStringLiteral("Статус"), QStringLiteral("Район знаходження")});
    m_found->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_found->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_found->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(m_found, 1);
    connect(m_found, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
        const QTableWidgetItem* label = m_found->item(row, 0);
        if (m_controller && label && !label->text().isEmpty())
            m_controller->ShowLabelOnMap(label->text());
    });
    return m_searchPanel;
}

QWidget* TForm8::buildCreationPanel()
{
    m_creationPanel = new QWidget(this);
    m_creationPanel->setFixedWidth(380);
    auto* layout = new QVBoxLayout(m_creationPanel);
    m_houseGroup = new QGroupBox(QStringLiteral("Створення будинка"), m_creationPanel);
    auto* house = new QFormLayout(m_houseGroup);
    m_houseStreet = new QLineEdit(m_houseGroup);
    m_houseStreet->setReadOnly(true);
    m_houseNumber = new QLineEdit(m_houseGroup);
    house->addRow(QStringLiteral("Вулиця"), m_houseStreet);
    house->addRow(QStringLiteral("Номер будинка"), m_houseNumber);
    m_objectGroup = new QGroupBox(QStringLiteral("Створення обєкта"), m_creationPanel);
    auto* object = new QFormLayout(m_objectGroup);
    m_objectStreet = new QLineEdit(m_objectGroup);
    m_objectStreet->setReadOnly(true);
    m_objectKind = new QComboBox(m_objectGroup);
    m_objectKind->setEditable(true);
    m_objectName = new QLineEdit(m_objectGroup);
    m_objectHouse = new QLineEdit(m_objectGroup);
    m_objectHouse->setPlaceholderText(QStringLiteral("при потребі"));
    object->addRow(QStringLiteral("Вулиця"), m_objectStreet);
    object->addRow(QStringLiteral("Статус"), m_objectKind);
    object->addRow(QStringLiteral("Назва обєкта"), m_objectName);
    object->addRow(QStringLiteral("Номер будинка"), m_objectHouse);
    layout->addWidget(m_houseGroup);
    layout->addWidget(m_objectGroup);
    layout->addStretch();
    // A double-click on the collapsed group expands it and collapses the other.
    m_houseGroup->installEventFilter(this);
    m_objectGroup->installEventFilter(this);
    m_creationPanel->hide();
    showCreation(true);
    return m_creationPanel;
}

void TForm8::showCreation(bool houseExpanded)
{
    m_houseGroup->setFixedHeight(houseExpanded ? 165 : 20);
    m_objectGroup->setFixedHeight(houseExpanded ? 20 : 165);
    for (QWidget* child : m_houseGroup->findChildren<QWidget*>())
        child->setVisible(houseExpanded);
    for (QWidget* child : m_objectGroup->findChildren<QWidget*>())
        child->setVisible(!houseExpanded);
}

void TForm8::setController(MapWindowController& controller)
{
    m_controller = &controller;
    controller.setViewport(m_viewport->size());
    connect(&controller, &MapWindowController::pictureChanged, this, &TForm8::repaintPicture);
    connect(&controller, &MapWindowController::showRequested, this, [this] {
        show();
        raise();
    });
    connect(&controller, &MapWindowController::closeRequested, this, &QWidget::close);
    connect(&controller, &MapWindowController::panelsChanged, this, [this] {
        const bool creating = m_controller->creationMode();
        m_creationPanel->setVisible(creating);
        m_searchPanel->setVisible(m_controller->searchPanelShown());
        if (creating) {
            const QString street = m_controller->creationStreet().value_or(QString());
            m_houseStreet->setText(street);
            m_objectStreet->setText(street);
            m_houseNumber->clear();
            m_objectName->clear();
            m_objectHouse->clear();
            m_objectKind->clear();
            m_objectKind->addItems(m_controller->objectKinds());
            showCreation(true);
        }
    });
    // Closing the window ends a creation: the next opening searches again.
    connect(this, &FormShell::closed, &controller, [this] {
        if (m_controller->creationMode())
            m_controller->endCreation();
    });
    repaintPicture();
}

void TForm8::setSearchPanelVisible(bool visible)
{
    if (m_controller)
        m_controller->setSearchPanelShown(visible);
}

bool TForm8::loadTile(const QString& path)
{
    QImage tile(path);
    if (tile.isNull())
        return false;
    m_tile = tile.convertToFormat(QImage::Format_RGB32);
    return true;
}

void TForm8::repaintPicture()
{
    if (!m_controller)
        return;
    setWindowTitle(m_controller->caption().isEmpty() ? QStringLiteral("Карта міста")
                                                     : m_controller->caption());
    m_step->setText(m_controller->stepText());
    m_cursorX->setText(QString::number(m_controller->cursor().x()));
    m_cursorY->setText(QString::number(m_controller->cursor().y()));
    m_length->setText(m_controller->lengthText());
    m_pixelsPerCm->setText(m_controller->pixelsPerCmText());
    m_shown = m_tile;
    if (!m_shown.isNull()) {
        QPainter painter(&m_shown);
        painter.setRenderHint(QPainter::Antialiasing);
        const MapOverlays& overlays = m_controller->overlays();
        for (const MapOverlays::Circle& circle : overlays.circles) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor::fromRgb(circle.colour));
            painter.drawEllipse(circle.centre, circle.radius, circle.radius);
        }
        painter.setFont(labelFont());
        const QFontMetrics metrics(painter.font());
        for (const MapOverlays::Text& text : overlays.texts) {
            const QRect box = metrics.boundingRect(text.text).translated(
                text.at - metrics.boundingRect(text.text).topLeft());
            if (text.background != MapOverlays::kNoBackground)
                painter.fillRect(box, QColor::fromRgb(text.background));
            painter.setPen(QColor::fromRgb(text.colour));
            painter.drawText(box, Qt::AlignLeft | Qt::AlignTop, text.text);
        }
    }
    const MapPlacement& placement = m_controller->placement();
    m_picture->setPixmap(QPixmap::fromImage(m_shown));
    m_picture->setGeometry(
        QRect(placement.picture, m_shown.isNull() ? placement.pictureSize : m_shown.size()));
}

void TForm8::resizeEvent(QResizeEvent* event)
{
    FormShell::resizeEvent(event);
    if (m_controller)
        m_controller->setViewport(m_viewport->size());
}

void TForm8::search(int field)
{
    QList<MapWindowController::SearchCondition> conditions;
    for (int i = 0; i < 4; ++i)
        if (i == field || m_searchTicks[i]->isChecked())
            conditions << MapWindowController::SearchCondition{kFields[i], m_searchBoxes[i]->currentText()};
    // The box of the search is ticked while it runs.
    const bool wasTicked = m_searchTicks[field]->isChecked();
    m_searchTicks[field]->setChecked(true);
    m_controller->search(conditions);
    m_searchTicks[field]->setChecked(wasTicked);
    const auto& found = m_controller->found();
    m_found->setRowCount(int(found.size()));
    for (int row = 0; row < found.size(); ++row) {
        m_found->setItem(row, 0, new QTableWidgetItem(found[row].label));
        m_found->setItem(row, 1, new QTableWidgetItem(found[row].kind));
        m_found->setItem(row, 2, new QTableWidgetItem(found[row].district));
    }
}

void TForm8::pictureMenu(const QPoint& at)
{
    if (!m_controller)
        return;
    QMenu menu(this);
    if (m_controller->creationMode())
        menu.addAction(QStringLiteral("Створити вказаний обєкт на карті"), this, &TForm8::createAtCursor);
    else
        menu.addAction(QStringLiteral("Пошук по карті"));
    menu.exec(m_picture->mapToGlobal(at));
}

void TForm8::createAtCursor()
{
    MapWindowController::NewPoint point;
    const bool house = m_houseGroup->height() > 20;
    point.what = house ? MapWindowController::Creating::House : MapWindowController::Creating::Object;
    point.street = house ? m_houseStreet->text() : m_objectStreet->text();
    point.house = house ? m_houseNumber->text() : m_objectHouse->text();
    point.kind = m_objectKind->currentText();
    point.name = m_objectName->text();
    m_controller->create(point);
}

bool TForm8::eventFilter(QObject* watched, QEvent* event)
{
    if (m_controller && watched == m_picture && event->type() == QEvent::MouseMove) {
        m_controller->cursorMoved(static_cast<QMouseEvent*>(event)->position().toPoint());
        m_cursorX->setText(QString::number(m_controller->cursor().x()));
        m_cursorY->setText(QString::number(m_controller->cursor().y()));
        return false;
    }
    if (event->type() == QEvent::MouseButtonDblClick &&
        (watched == m_houseGroup || watched == m_objectGroup)) {
        showCreation(watched == m_houseGroup);
        return true;
    }
    if (m_controller && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        for (int i = 0; i < 4; ++i) {
            if (watched != m_searchBoxes[i] && watched != m_searchBoxes[i]->lineEdit())
                continue;
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                search(i);
                return true;
            }
        }
    }
    if (m_controller && event->type() == QEvent::MouseButtonPress) {
        // Opening a search box's list offers the values that hold what is typed.
        for (int i = 0; i < 4; ++i) {
            if (watched != m_searchBoxes[i])
                continue;
            const QString typed = m_searchBoxes[i]->currentText();
            m_searchBoxes[i]->clear();
            m_searchBoxes[i]->addItems(m_controller->suggestions(kFields[i], typed));
            m_searchBoxes[i]->setEditText(typed);
        }
    }
    return FormShell::eventFilter(watched, event);
}
