#include "mainwindow/ui/OrderRecordPanels.h"

#include "foundation/DisplayText.h"
#include "foundation/fb/FbDataSet.h"
#include "mainwindow/OrderPanels.h"

#include <QDateTime>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace {

struct Field
{
    const char* caption;
    const char* column;
    OrderRecordPanels::Spot spot = OrderRecordPanels::Spot::Elsewhere;
};
// Facts on the left, content on the right, row by row.
const Field kFacts[] = {{"н/п", "ZAMOVL_NUMBER"},
                        {"Прийняв(ла) замовлення", "ZAMOVL_PRIYOM_ZAMOVL"},
                        {"Роздав(ла) замовлення", "ZAMOVL_ROZDACHA_ZAMOVL"},
                        {"Дата прийняття замовлення", "ZAMOVL_DATA_PRIYOMA"},
                        {"Час прийняття замовлення", "ZAMOVL_CHAS_PRIYOMA"},
                        {"Час прийняття водієм", "ZAMOVL_CHAS_PRIYOM_VODIY"},
                        {"Дата розрах. прибуття", "ZAMOVL_DATA_ZAKR_ZAMOVL"},
                        {"Час прибуття", "ZAMOVL_CHAS_ZAKR_ZAMOVL"}};
const Field kContent[] = {{"Ювілейка", "ZAMOVL_BEZKOSHTOVN"},
                          {"Початковий пункт", "ZAMOVL_POCHAT_PUNKT", OrderRecordPanels::Spot::Pickup},
                          {"Кінцевий пункт", "ZAMOVL_PUNKT_PRIZHACH", OrderRecordPanels::Spot::Destination},
                          {"Позивний", "ZAMOVL_POZIVNIY", OrderRecordPanels::Spot::Callsign},
                          {"ФІО водія", "ZAMOVL_FIO_TAXI"},
                          {"Додаткові дані", "ZAMOVL_PRICHINA_DELETE"},
                          {"Код клієнта", "ZAMOVL_NOMER_KLIENT", OrderRecordPanels::Spot::ClientCode},
                          {"Розрахункова сума", "ZAMOVL_SUMA_ROZRAHUNK"}};
constexpr int kPanelHeight = 160;

} // namespace

OrderRecordPanels::OrderRecordPanels(FbDataSet& orders, LeadMinutes leadMinutes, Now now, QWidget* parent)
    : QWidget(parent), m_orders(orders), m_leadMinutes(std::move(leadMinutes)), m_now(std::move(now))
{
    new QVBoxLayout(this);
    layout()->setContentsMargins(0, 0, 0, 0);
    layout()->setSpacing(0);
}

void OrderRecordPanels::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layOut();
}

void OrderRecordPanels::layOut()
{
    const int wanted = OrderPanels::panelCount(height());
    while (m_panels.size() > wanted) {
        delete m_panels.takeLast().frame;
    }
    while (m_panels.size() < wanted) {
        Panel panel;
        panel.frame = new QWidget(this);
        panel.frame->setFixedHeight(kPanelHeight);
        panel.frame->setAutoFillBackground(true);
        auto* grid = new QGridLayout(panel.frame);
        grid->setContentsMargins(4, 2, 4, 2);
        grid->setVerticalSpacing(0);
        panel.status = new QLabel(panel.frame);
        panel.status->setFixedSize(28, 28);
        panel.status->setAlignment(Qt::AlignCenter);
        panel.status->setToolTip(
            QStringLiteral("Показати меньший або більший табличний обєм інформації (для зміни клацніть "
                           "два рази мишою по цій панелі)"));
        grid->addWidget(panel.status, 0, 0, 8, 1, Qt::AlignTop);
        for (int i = 0; i < 8; ++i) {
            panel.facts << new QLabel(QString::fromUtf8(kFacts[i].caption), panel.frame);
            grid->addWidget(panel.facts.last(), i, 1);
            panel.values << new QLabel(panel.frame);
            panel.facts << panel.values.last();
            grid->addWidget(panel.values.last(), i, 2);
            panel.values.last()->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
            grid->addWidget(new QLabel(QString::fromUtf8(kContent[i].caption), panel.frame), i, 3);
            panel.values << new QLabel(panel.frame);
            grid->addWidget(panel.values.last(), i, 4);
            // Long addresses and notes are cut at the panel's edge instead of widening it.
            panel.values.last()->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        }
        for (QWidget* fact : panel.facts)
            fact->setVisible(!m_compact);
        grid->setColumnStretch(2, 1);
        grid->setColumnStretch(4, 2);
        layout()->addWidget(panel.frame);
        m_panels << panel;
    }
    refresh();
}

void OrderRecordPanels::refresh()
{
    const int current = m_orders.recNo();
    const int count = int(m_panels.size());
    // Keep the chosen order in view.
    if (current < m_top)
        m_top = std::max(1, current);
    else if (current >= m_top + count)
        m_top = current - count + 1;
    m_top = std::max(1, std::min(m_top, std::max(1, m_orders.recordCount() - count + 1)));
    for (int i = 0; i < count; ++i)
        fill(m_panels[i], m_top + i <= m_orders.recordCount() ? m_top + i : 0);
    emit refreshed();
}

void OrderRecordPanels::fill(Panel& panel, int row)
{
    panel.row = row;
    panel.frame->setVisible(row > 0);
    if (row == 0)
        return;
    for (int i = 0; i < 8; ++i) {
        panel.values[2 * i]->setText(
            displayText(m_orders.valueAt(row, QString::fromLatin1(kFacts[i].column))));
        panel.values[2 * i + 1]->setText(
            displayText(m_orders.valueAt(row, QString::fromLatin1(kContent[i].column))));
    }
    panel.status->setText(OrderPanels::caption(statusOf(row)));
    const bool chosen = row == m_orders.recNo();
    panel.status->setStyleSheet(
        chosen ? QStringLiteral("background: red; color: white; font-weight: bold;")
               : QStringLiteral("background: white; border: 1px solid gray; font-weight: bold;"));
    panel.frame->setStyleSheet(chosen ? QStringLiteral("background: rgb(128, 128, 0); color: white;")
                                      : QStringLiteral("background: white;"));
}

QString OrderRecordPanels::statusCaptionOfPanel(int panel) const
{
    return panel >= 0 && panel < m_panels.size() ? m_panels[panel].status->text() : QString();
}

const OrderRecordPanels::Panel* OrderRecordPanels::panelAt(const QPoint& at) const
{
    // The layout spreads spare height between the panels, so a panel is found by where
    // it lies, not by multiples of its height. Clicks on its labels arrive here too.
    for (const Panel& panel : m_panels)
        if (panel.row > 0 && panel.frame->geometry().contains(at))
            return &panel;
    return nullptr;
}

void OrderRecordPanels::mousePressEvent(QMouseEvent* event)
{
    if (const Panel* panel = panelAt(event->position().toPoint())) {
        m_orders.moveTo(panel->row);
        refresh();
    }
    QWidget::mousePressEvent(event);
}

QRect OrderRecordPanels::panelGeometry(int panel) const
{
    return panel >= 0 && panel < m_panels.size() ? m_panels[panel].frame->geometry() : QRect();
}

bool OrderRecordPanels::chosenOrderWaitsForADriver() const
{
    const int row = m_orders.recNo();
    if (row < 1)
        return false;
    return statusOf(row) == OrderPanels::Status::Due;
}

OrderPanels::Status OrderRecordPanels::statusOf(int row) const
{
    const QDateTime due(m_orders.valueAt(row, QStringLiteral("ZAMOVL_DATA_PRIYOMA")).toDate(),
                        m_orders.valueAt(row, QStringLiteral("ZAMOVL_CHAS_PRIYOMA")).toTime());
    return OrderPanels::status(m_orders.valueAt(row, QStringLiteral("ZAMOVL_POZIVNIY")).toLongLong(), due,
                               m_leadMinutes(), m_now());
}

void OrderRecordPanels::wheelEvent(QWheelEvent* event)
{
    // The wheel steps through the orders one at a time, as the arrow keys of a grid do.
    const int step = event->angleDelta().y() < 0 ? 1 : -1;
    if (!m_orders.isEmpty()) {
        m_orders.moveBy(step);
        refresh();
    }
    event->accept();
}

void OrderRecordPanels::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    const Panel* panel = panelAt(at);
    if (!panel)
        return;
    m_orders.moveTo(panel->row);
    const QWidget* hit = panel->frame->childAt(panel->frame->mapFrom(this, at));
    if (hit == panel->status) {
        toggleCompact();
        return;
    }
    for (int i = 0; i < 8; ++i) {
        if (hit == panel->values[2 * i + 1] && kContent[i].spot != Spot::Elsewhere) {
            emit panelDoubleClicked(kContent[i].spot, panel->values[2 * i + 1]->text());
            return;
        }
    }
    emit panelDoubleClicked(Spot::Elsewhere, {});
}

void OrderRecordPanels::toggleCompact()
{
    m_compact = !m_compact;
    for (Panel& panel : m_panels)
        for (QWidget* fact : panel.facts)
            fact->setVisible(!m_compact);
}
