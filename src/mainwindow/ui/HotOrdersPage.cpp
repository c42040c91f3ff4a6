#include "mainwindow/ui/HotOrdersPage.h"

#include "mainwindow/HotOrderDetails.h"

#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString kNotSet = QStringLiteral("не задано");
const QStringList kCaptions = {
    QStringLiteral("Ювілейна поїздка  "),
    QStringLiteral("Тариф  "),
    QStringLiteral("Додаткові дані  "),
    QStringLiteral("Номер замовлення  "),
    QStringLiteral("Код клієнта  "),
    QStringLiteral("Розрахункова сума оплати  "),
    QStringLiteral("Дата і час прийняття замовлення  "),
    QStringLiteral("Прийняв(ла) замовлення  "),
    QStringLiteral("Початковий пункт  "),
    QStringLiteral("Кінцевий пункт  "),
};
} // namespace

HotOrdersPage::HotOrdersPage(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("  Список гарячих замовлень  ...  "), this));
    m_list = new QListWidget(this);
    layout->addWidget(m_list, 1);
    auto* strip = new QWidget(this);
    strip->setStyleSheet(QStringLiteral("background: black; color: white;"));
    auto* stripLayout = new QGridLayout(strip);
    m_stand = new QLabel(kNotSet, strip);
    m_driver = new QLabel(kNotSet, strip);
    m_driver->setToolTip(QStringLiteral("Вибрати вказаного водія на дане замовлення"));
    m_driver->setCursor(Qt::PointingHandCursor);
    m_driver->installEventFilter(this);
    stripLayout->addWidget(new QLabel(QStringLiteral("Найближча стоянка з активними водіями :"), strip), 0,
                           0);
    stripLayout->addWidget(m_stand, 0, 1);
    stripLayout->addWidget(new QLabel(QStringLiteral("Перший водій на стоянці :"), strip), 0, 2);
    stripLayout->addWidget(m_driver, 0, 3);
    layout->addWidget(strip);
    auto* distribute = new QPushButton(
        QStringLiteral(
            "Автоматична роздача замовлень найближчим водіям системи GPRS (по заданих параметрах)"),
        this);
    layout->addWidget(distribute);
    auto* details = new QFormLayout;
    for (const QString& caption : kCaptions) {
        auto* value = new QLabel(this);
        m_values << value;
        details->addRow(caption, value);
    }
    layout->addLayout(details);
    connect(m_list, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { emit lineChosen(item->text()); });
    connect(distribute, &QPushButton::clicked, this, &HotOrdersPage::distributionRequested);
}

void HotOrdersPage::showHotOrders(const QList<HotOrderLine>& lines, int selectLine)
{
    m_list->clear();
    for (const auto& line : lines) {
        auto* item = new QListWidgetItem(line.text, m_list);
        item->setBackground(QColor::fromRgb(line.rgb));
        item->setForeground(line.rgb == 0xFF0000u ? Qt::white : Qt::black);
    }
    if (selectLine >= 0 && selectLine < m_list->count())
        m_list->setCurrentRow(selectLine);
}

int HotOrdersPage::selectedHotLine() const
{
    return m_list->currentRow();
}

void HotOrdersPage::showDetails(const HotOrderDetails& d)
{
    const QStringList values = {d.freeRide,   d.tariff,     d.notes,      QString::number(d.number),
                                d.clientCode, d.sum,        d.acceptedAt, d.acceptedBy,
                                d.pickup,     d.destination};
    for (int i = 0; i < m_values.size(); ++i)
        m_values[i]->setText(values[i]);
    m_selection = HotSelection{d.number, d.pickup};
}

void HotOrdersPage::clearHotOrderDetails()
{
    for (QLabel* value : m_values)
        value->clear();
    m_selection.reset();
}

QString HotOrdersPage::shownHotNearestStand() const
{
    return m_stand->text();
}

void HotOrdersPage::showHotNearestStand(const QString& stand, const QString& firstDriver)
{
    m_stand->setText(stand);
    m_driver->setText(firstDriver);
}

bool HotOrdersPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_driver && event->type() == QEvent::MouseButtonPress) {
        emit firstDriverClicked(m_driver->text());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
