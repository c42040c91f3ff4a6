#include "mainwindow/ui/ClosedOrdersPanel.h"

#include <QDateEdit>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolBar>
#include <QVBoxLayout>

namespace {
const QString kNotSet = QStringLiteral("не задано");
}

ClosedOrdersPanel::ClosedOrdersPanel(DataModuleView::ClosedList list, QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildPeriodBar(list));
    auto* gridRow = new QHBoxLayout;
    if (list == DataModuleView::ClosedList::Executed) {
        m_tools = new QToolBar(this);
        m_tools->setOrientation(Qt::Vertical);
        gridRow->addWidget(m_tools);
    }
    m_gridArea = new QWidget(this);
    new QVBoxLayout(m_gridArea);
    gridRow->addWidget(m_gridArea, 1);
    layout->addLayout(gridRow, 1);
    layout->addWidget(buildDetails(list));
}

QWidget* ClosedOrdersPanel::buildPeriodBar(DataModuleView::ClosedList list)
{
    auto* bar = new QWidget(this);
    bar->setStyleSheet(QStringLiteral("background: rgb(0, 0, 160); color: white;"));
    auto* barLayout = new QHBoxLayout(bar);
    m_from = new QDateEdit(QDate::currentDate(), bar);
    m_to = new QDateEdit(QDate::currentDate(), bar);
    for (QDateEdit* edit : {m_from, m_to}) {
        edit->setCalendarPopup(true);
        edit->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
        edit->setStyleSheet(QStringLiteral("color: black; background: white;"));
        connect(edit, &QDateEdit::dateChanged, this,
                [this] { emit periodChosen(m_from->date(), m_to->date()); });
    }
    // Each date is followed by the roll call time at which the period starts and ends.
    m_fromTime = new QLabel(QStringLiteral("00:00"), bar);
    m_toTime = new QLabel(QStringLiteral("00:00"), bar);
    barLayout->addWidget(new QLabel(QStringLiteral("від дати"), bar));
    barLayout->addWidget(m_from);
    barLayout->addWidget(m_fromTime);
    barLayout->addWidget(new QLabel(QStringLiteral(" до дати "), bar));
    barLayout->addWidget(m_to);
    barLayout->addWidget(m_toTime);
    barLayout->addStretch();
    if (list == DataModuleView::ClosedList::Executed) {
        barLayout->addWidget(new QLabel(QStringLiteral("Кількість замовлень за вибраний час"), bar));
        m_count = new QLabel(QStringLiteral("0"), bar);
        barLayout->addWidget(m_count);
    }
    return bar;
}

QWidget* ClosedOrdersPanel::buildDetails(DataModuleView::ClosedList list)
{
    auto* details = new QWidget(this);
    auto* row = new QHBoxLayout(details);
    row->setContentsMargins(0, 0, 0, 0);
    const QString lastClientCaption = list == DataModuleView::ClosedList::Executed
                                          ? QStringLiteral("Додаткові дані замовлення")
                                          : QStringLiteral("Причина знищення / додаткові дані замовлення");
    const QList<QPair<QString, QStringList>> groups = {
        {QStringLiteral("  Дані водія ...  "),
         {QStringLiteral("ФІО водія"), QStringLiteral("Адреса проживання"),
          QStringLiteral("Контактні телефони"), QStringLiteral("Дані автомобіля")}},
        {QStringLiteral("  Дані замовника ...  "),
         {QStringLiteral("ФІО клієнта"), QStringLiteral("Адреса проживання"),
          QStringLiteral("Контактні телефони"), lastClientCaption}}};
    for (const auto& [title, captions] : groups) {
        auto* box = new QGroupBox(title, details);
        auto* form = new QFormLayout(box);
        for (const QString& caption : captions) {
            auto* value = new QLabel(kNotSet, box);
            value->setWordWrap(true);
            value->setTextInteractionFlags(Qt::TextSelectableByMouse);
            form->addRow(caption, value);
            m_details << qMakePair(caption, value);
        }
        row->addWidget(box, 1);
    }
    return details;
}

void ClosedOrdersPanel::setPeriod(const QDate& from, const QDate& to)
{
    const QSignalBlocker quietFrom(m_from);
    const QSignalBlocker quietTo(m_to);
    m_from->setDate(from);
    m_to->setDate(to);
}

void ClosedOrdersPanel::setPeriodEditable(bool editable)
{
    m_from->setEnabled(editable);
    m_to->setEnabled(editable);
}

void ClosedOrdersPanel::showPeriodTimes(const QString& rollCall)
{
    m_fromTime->setText(rollCall);
    m_toTime->setText(rollCall);
}

QString ClosedOrdersPanel::shownPeriodTime() const
{
    return m_fromTime->text();
}

void ClosedOrdersPanel::showCount(qint64 count)
{
    if (m_count)
        m_count->setText(QString::number(count));
}

void ClosedOrdersPanel::showDetails(const DataModuleView::ClosedOrderDetails& d)
{
    const QString values[] = {d.driverName, d.driverAddress, d.driverPhone, d.car,
                              d.clientName, d.clientAddress, d.clientPhone, d.reason};
    for (int i = 0; i < m_details.size(); ++i)
        m_details[i].second->setText(values[i]);
}

QString ClosedOrdersPanel::shownDetail(const QString& caption) const
{
    for (const auto& [shown, value] : m_details)
        if (shown == caption)
            return value->text();
    return {};
}
