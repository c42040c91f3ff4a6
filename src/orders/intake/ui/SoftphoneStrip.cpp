#include "orders/intake/ui/SoftphoneStrip.h"

#include "orders/intake/SoftphonePanel.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>

namespace {

constexpr int kExpandedHeight = 90;
constexpr int kCollapsedHeight = 60;
constexpr int kLampSize = 14;

QString lampColour(SoftphoneLamp::Colour colour)
{
    switch (colour) {
    case SoftphoneLamp::Colour::Yellow:
        return QStringLiteral("yellow");
    case SoftphoneLamp::Colour::Green:
        return QStringLiteral("lime");
    case SoftphoneLamp::Colour::Red:
        return QStringLiteral("red");
    case SoftphoneLamp::Colour::Black:
        return QStringLiteral("black");
    case SoftphoneLamp::Colour::White:
        break;
    }
    return QStringLiteral("white");
}

QString healthColour(SoftphonePanel::Health health)
{
    switch (health) {
    case SoftphonePanel::Health::Registered:
        return QStringLiteral("lime");
    case SoftphonePanel::Health::Lapsed:
        return QStringLiteral("orange");
    case SoftphonePanel::Health::Failing:
        return QStringLiteral("red");
    case SoftphonePanel::Health::Off:
        break;
    }
    return QStringLiteral("gray");
}

QString roundLight(const QString& colour)
{
    return QStringLiteral("background: %1; border: 1px solid black; border-radius: %2px;")
        .arg(colour)
        .arg(kLampSize / 2);
}

// The bottom bar paints every widget in it blue: the boxes one types in or picks from
// stay readable, the labels take the group's colour.
QString stripStyle(bool ringing)
{
    return QStringLiteral("SoftphoneStrip { background: %1; color: white; font-weight: bold; }"
                          "SoftphoneStrip::title { color: white; }"
                          "QLabel { background: transparent; color: white; }"
                          "QLineEdit, QTreeWidget { background: white; color: black; font-weight: normal; }"
                          "QPushButton { background: silver; color: black; }"
                          "QPushButton:disabled { color: gray; }")
        .arg(ringing ? QStringLiteral("red") : QStringLiteral("rgb(0, 0, 160)"));
}

} // namespace

SoftphoneStrip::SoftphoneStrip(SoftphonePanel& panel, QWidget* parent) : QGroupBox(parent), m_panel(panel)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 2, 6, 2);

    auto* callSide = new QVBoxLayout;
    auto* statusRow = new QHBoxLayout;
    m_lamp = new QLabel(this);
    m_lamp->setFixedSize(kLampSize, kLampSize);
    m_status = new QLabel(this);
    m_status->setMinimumWidth(200);
    m_status->setToolTip(QStringLiteral("Подвійний клік: карточка замовлення на цей номер"));
    m_status->installEventFilter(this);
    m_health = new QLabel(this);
    m_health->setFixedSize(kLampSize, kLampSize);
    m_healthText = new QLabel(this);
    statusRow->addWidget(m_lamp);
    statusRow->addWidget(m_status, 1);
    statusRow->addWidget(m_health);
    statusRow->addWidget(m_healthText);
    callSide->addLayout(statusRow);

    auto* callRow = new QHBoxLayout;
    m_accept = new QPushButton(QStringLiteral("Прийняти звінок"), this);
    m_hangUp = new QPushButton(QStringLiteral("Відмовити звінок"), this);
    m_dial = new QLineEdit(this);
    m_dial->setPlaceholderText(QStringLiteral("номер для виклику"));
    m_dial->setMaximumWidth(160);
    m_settings = new QPushButton(QStringLiteral("Налаштування"), this);
    m_settings->setToolTip(QStringLiteral("Налаштування IP телефонії та гарнітури, останній дзвінок"));
    callRow->addWidget(m_accept);
    callRow->addWidget(m_hangUp);
    callRow->addWidget(m_dial);
    callRow->addWidget(m_settings);
    callRow->addStretch(1);
    callSide->addLayout(callRow);

    m_ringingOrder = new QLabel(this);
    m_ringingOrder->setStyleSheet(QStringLiteral("color: yellow;"));
    m_ringingOrder->setToolTip(QStringLiteral("Відкрите замовлення з телефоном того, хто дзвонить"));
    callSide->addWidget(m_ringingOrder);
    layout->addLayout(callSide, 1);

    m_missed = new QTreeWidget(this);
    m_missed->setColumnCount(3);
    m_missed->setHeaderHidden(true); // the strip has no room for a title row
    m_missed->setRootIsDecorated(false);
    m_missed->setToolTip(
        QStringLiteral("Пропущені дзвінки (номер, час, клієнт): Enter або подвійний клік - передзвонити"));
    m_missed->setFixedWidth(300);
    m_missed->installEventFilter(this);
    m_callBack = new QPushButton(QStringLiteral("Передзвонити"), this);
    m_callBack->setEnabled(false);
    layout->addWidget(m_missed);
    layout->addWidget(m_callBack, 0, Qt::AlignTop);

    // The panel is the context of what goes to it: the main window outlives it.
    connect(m_accept, &QPushButton::clicked, &m_panel, [this] { m_panel.accept(m_dial->text()); });
    connect(m_dial, &QLineEdit::returnPressed, &m_panel, [this] { m_panel.accept(m_dial->text()); });
    connect(m_hangUp, &QPushButton::clicked, &m_panel, &SoftphonePanel::rejectOrHangUp);
    connect(m_settings, &QPushButton::clicked, this, &SoftphoneStrip::settingsRequested);
    connect(m_missed, &QTreeWidget::itemDoubleClicked, &m_panel, [this] { callBackChosen(); });
    connect(m_callBack, &QPushButton::clicked, &m_panel, [this] { callBackChosen(); });
    connect(&m_panel, &SoftphonePanel::stripChanged, this, &SoftphoneStrip::refresh);
    connect(&m_panel, &SoftphonePanel::dialBoxCleared, m_dial, &QLineEdit::clear);
    connect(&m_panel, &SoftphonePanel::pageChanged, this,
            [this] { m_settings->setEnabled(m_panel.settingsButtonEnabled()); });
    refresh();
}

void SoftphoneStrip::refresh()
{
    setTitle(m_panel.groupCaption());
    setStyleSheet(stripStyle(m_panel.ringing()));
    m_status->setText(m_panel.statusLine());
    m_lamp->setStyleSheet(roundLight(lampColour(m_panel.lampColour())));
    m_lamp->setToolTip(m_panel.lampHint());
    m_hangUp->setToolTip(m_panel.hangUpHint());
    m_dial->setEnabled(m_panel.dialEnabled());
    m_settings->setEnabled(m_panel.settingsButtonEnabled());
    showHealth();
    showMissedCalls();
    const auto order = m_panel.ringingOrder();
    m_ringingOrder->setText(order.value_or(QString()));
    m_ringingOrder->setVisible(order.has_value());

    const bool expanded = m_panel.stripExpanded();
    setFixedHeight(expanded ? kExpandedHeight : kCollapsedHeight);
    // Shown only once it sits in the main window, never as a window of its own.
    if (parentWidget() || !expanded)
        setVisible(expanded);
}

void SoftphoneStrip::showHealth()
{
    const SoftphonePanel::Health health = m_panel.health();
    m_health->setStyleSheet(roundLight(healthColour(health)));
    m_health->setToolTip(m_panel.healthText());
    m_healthText->setText(m_panel.healthText());
    m_healthText->setToolTip(m_panel.healthText());
}

void SoftphoneStrip::showMissedCalls()
{
    const QList<SoftphonePanel::MissedCall>& calls = m_panel.missedCalls();
    auto same = [](const SoftphonePanel::MissedCall& a, const SoftphonePanel::MissedCall& b) {
        return a.caller == b.caller && a.at == b.at && a.client == b.client;
    };
    if (std::equal(calls.begin(), calls.end(), m_shownMissed.begin(), m_shownMissed.end(), same))
        return;
    // The strip changes with every status line; the list is built again only when the
    // calls did, and the dispatcher's choice stays on the call it was on, never on
    // whichever call moved into its row.
    const int chosen = m_missed->indexOfTopLevelItem(m_missed->currentItem());
    const std::optional<SoftphonePanel::MissedCall> chosenCall =
        chosen >= 0 && chosen < m_shownMissed.size() ? std::optional(m_shownMissed[chosen]) : std::nullopt;
    m_missed->clear();
    int keep = 0;
    for (const SoftphonePanel::MissedCall& call : calls) {
        if (chosenCall && same(call, *chosenCall))
            keep = m_missed->topLevelItemCount();
        new QTreeWidgetItem(m_missed,
                            {call.caller, call.at.toString(QStringLiteral("dd.MM hh:mm:ss")), call.client});
    }
    m_shownMissed = calls;
    if (!calls.isEmpty())
        m_missed->setCurrentItem(m_missed->topLevelItem(keep));
    m_callBack->setEnabled(!calls.isEmpty());
}

void SoftphoneStrip::callBackChosen()
{
    const int index = m_missed->indexOfTopLevelItem(m_missed->currentItem());
    if (index >= 0)
        m_panel.callBack(index);
}

bool SoftphoneStrip::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_status && event->type() == QEvent::MouseButtonDblClick) {
        m_panel.statusLineDoubleClicked();
        return true;
    }
    if (watched == m_missed && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            callBackChosen();
            return true;
        }
    }
    return QGroupBox::eventFilter(watched, event);
}
