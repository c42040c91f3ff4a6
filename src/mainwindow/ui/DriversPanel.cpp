#include "mainwindow/ui/DriversPanel.h"

#include "mainwindow/ListColours.h"
#include "mainwindow/ui/DataSetTableModel.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

DriversPanel::DriversPanel(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Активні водії"), this));
    m_tools = new QToolBar(this);
    layout->addWidget(m_tools);
    m_pages = new QTabWidget(this);
    auto* listPage = new QWidget(m_pages);
    new QVBoxLayout(listPage);
    m_standArea = new QWidget(m_pages);
    new QVBoxLayout(m_standArea);
    m_pages->addTab(listPage, QStringLiteral("  Розширений список ...  "));
    m_pages->addTab(m_standArea, QStringLiteral("  Групування по стоянках вільних водіїв  ...  "));
    layout->addWidget(m_pages, 1);

    m_standCounters = new QLabel(m_standArea);
    m_standCounters->setWordWrap(true);
    m_standCounters->setStyleSheet(QStringLiteral("background: rgb(166, 202, 240);"));
    m_standCounters->setToolTip(QStringLiteral("Щоб заховати цю панель клацніть два рази по ній мишкою"));
    m_standCounters->setFixedHeight(80);
    m_standCounters->installEventFilter(this);
    m_standArea->layout()->addWidget(m_standCounters);
    showStandCounters(0, 0, 0, 0);

    m_gprsPanel = new QWidget(this);
    auto* gprs = new QVBoxLayout(m_gprsPanel);
    gprs->setContentsMargins(0, 0, 0, 0);
    gprs->addWidget(new QLabel(QStringLiteral("  GPRS повідомлення ...  "), m_gprsPanel));
    m_gprsArea = new QWidget(m_gprsPanel);
    auto* area = new QVBoxLayout(m_gprsArea);
    area->setContentsMargins(0, 0, 0, 0);
    gprs->addWidget(m_gprsArea);
    gprs->addWidget(buildGprsLegend());
    layout->addWidget(m_gprsPanel);
}

QWidget* DriversPanel::listArea() const
{
    return m_pages->widget(0);
}

bool DriversPanel::listPageShown() const
{
    return m_pages->currentIndex() == 0;
}

void DriversPanel::setGprsPanelVisible(bool visible)
{
    m_gprsPanel->setVisible(visible);
}

QWidget* DriversPanel::buildGprsLegend()
{
    auto* legend = new QWidget(m_gprsPanel);
    auto* legendLayout = new QHBoxLayout(legend);
    legendLayout->setContentsMargins(0, 0, 0, 0);
    const QList<QPair<QString, quint32>> legendItems = {
        {QStringLiteral("ТРИВОГА ВІД ВОДІЯ"), ListColours::kRed},
        {QStringLiteral("Відмова від замовлення або пропуск"), ListColours::kYellow},
        {QStringLiteral("Прохання турбувати клієнтів"), ListColours::kLime}};
    for (const auto& [caption, rgb] : legendItems) {
        auto* label = new QLabel(caption, legend);
        label->setWordWrap(true);
        label->setStyleSheet(QStringLiteral("background: #%1;").arg(rgb, 6, 16, QLatin1Char('0')));
        legendLayout->addWidget(label);
    }
    return legend;
}

void DriversPanel::repaintStandGrid()
{
    if (m_stands)
        m_stands->refreshDrawing();
}

void DriversPanel::showStandCounters(int onAir, int gprs, int free, int freeAtStand)
{
    m_standCounters->setText(
        QStringLiteral("Загальна кількість водіїв в ефірі: %1   Кількість водіїв зі статусом GPRS: %2\n"
                       "Кількість вільних водіїв: %3   Кількість вільних водіїв на стоянках: %4")
            .arg(onAir)
            .arg(gprs)
            .arg(free)
            .arg(freeAtStand));
}

bool DriversPanel::eventFilter(QObject* watched, QEvent* event)
{
    // A double-click on the counts panel folds it to a strip and opens it again.
    if (watched == m_standCounters && event->type() == QEvent::MouseButtonDblClick) {
        m_standCounters->setFixedHeight(m_standCounters->height() > 10 ? 10 : 80);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
