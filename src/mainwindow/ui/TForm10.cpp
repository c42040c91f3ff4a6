#include "mainwindow/ui/TForm10.h"

#include "mainwindow/BlackListController.h"
#include "mainwindow/ListColours.h"
#include "mainwindow/ui/DataSetTableModel.h"
#include "mainwindow/ui/ListGrid.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPushButton* button(const QString& caption, QWidget* parent, const QString& hint = {})
{
    auto* made = new QPushButton(caption, parent);
    made->setToolTip(hint);
    return made;
}

} // namespace

TForm10::TForm10(BlackListController& controller, QWidget* parent)
    : FormShell(QStringLiteral("Чорний список водіїв ..."), parent), m_controller(controller)
{
    setWindowModality(Qt::ApplicationModal);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    m_model = new DataSetTableModel(controller.list(),
                                    {{QStringLiteral("BL_AVTO_POZIVN"), QStringLiteral("Позивний")},
                                     {QStringLiteral("BL_DATATIME"), QStringLiteral("Дата і час")},
                                     {QStringLiteral("BL_AVTOR"), QStringLiteral("Автор")},
                                     {QStringLiteral("BL_TEXT"), QStringLiteral("Причина")}},
                                    this);
    m_model->columnColours = {{QStringLiteral("BL_AVTO_POZIVN"), ListColours::kMoneyGreen},
                              {QStringLiteral("BL_TEXT"), ListColours::kSkyBlue}};
    m_grid = new ListGrid(m_model, ListGrid::Rows::One, this);

    auto* lift = button(QStringLiteral("Видалити з чорного списку"), this,
                        QStringLiteral("Активувати водія з чорного списку"));
    auto* barOne = button(QStringLiteral("Добавити до списка"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lift);
    buttons->addWidget(barOne);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_grid, 1);
    layout->addWidget(buildPendingGroup());
    resize(760, 520);

    connect(lift, &QPushButton::clicked, &controller, &BlackListController::LiftChosen);
    connect(barOne, &QPushButton::clicked, &controller, &BlackListController::BarOneCallsign);
    connect(this, &FormShell::shown, &controller, &BlackListController::Shown);
    connect(this, &FormShell::closed, &controller, &BlackListController::Closed);
    connect(&controller, &BlackListController::listReopened, m_model, &DataSetTableModel::reload);
    connect(&controller, &BlackListController::boxesChanged, this, &TForm10::showBoxes);
}

QWidget* TForm10::buildPendingGroup()
{
    auto* group = new QGroupBox(QStringLiteral("  Масове добавлення водіїв до чорного списка  "), this);
    m_pending = new QComboBox(group);
    m_callsign = new QLineEdit(group);
    m_callsign->installEventFilter(this);
    m_reason = new QLineEdit(group);
    auto* addTyped = button(QStringLiteral("Добавити вказаного водія у попередній список"), group);
    auto* clear = button(QStringLiteral("Очистити попередній список"), group);
    auto* remove = button(QStringLiteral("Знищити з попереднього списка вибраного водія"), group);
    auto* barAll = button(QStringLiteral("Добавити вказані водії у чорний список"), group);

    auto* layout = new QVBoxLayout(group);
    auto* pendingRow = new QHBoxLayout;
    pendingRow->addWidget(m_pending, 1);
    pendingRow->addWidget(remove);
    pendingRow->addWidget(clear);
    layout->addLayout(pendingRow);
    auto* callsignRow = new QHBoxLayout;
    callsignRow->addWidget(new QLabel(QStringLiteral("Вкажіть позивний :"), group));
    callsignRow->addWidget(m_callsign);
    callsignRow->addWidget(addTyped);
    layout->addLayout(callsignRow);
    auto* reasonRow = new QHBoxLayout;
    reasonRow->addWidget(new QLabel(QStringLiteral("Причина :"), group));
    reasonRow->addWidget(m_reason, 1);
    layout->addLayout(reasonRow);
    layout->addWidget(barAll);

    connect(addTyped, &QPushButton::clicked, &m_controller, &BlackListController::AddTypedToPending);
    connect(clear, &QPushButton::clicked, &m_controller, &BlackListController::ClearPending);
    connect(remove, &QPushButton::clicked, this, [this] {
        m_controller.RemovePending(m_pending->currentIndex());
        m_pending->setCurrentIndex(-1);
    });
    connect(barAll, &QPushButton::clicked, &m_controller, &BlackListController::BarPendingCallsigns);
    connect(m_reason, &QLineEdit::textEdited, &m_controller, &BlackListController::setReasonBox);
    return group;
}

bool TForm10::eventFilter(QObject* watched, QEvent* event)
{
    // The callsign box takes digits only; the controller keeps its text.
    if (watched == m_callsign && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        // Tab still moves on to the next box.
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
            return false;
        return m_controller.CallsignKey(key->key(), key->text());
    }
    return FormShell::eventFilter(watched, event);
}

void TForm10::showBoxes()
{
    m_pending->clear();
    m_pending->addItems(m_controller.pending());
    m_pending->setCurrentIndex(-1);
    m_callsign->setText(m_controller.callsignBox());
    if (m_reason->text() != m_controller.reasonBox())
        m_reason->setText(m_controller.reasonBox());
}
