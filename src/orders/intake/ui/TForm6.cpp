#include "orders/intake/ui/TForm6.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TForm6::TForm6(QWidget* parent)
    : FormShell(QStringLiteral("Попередні адреси клієнта ..."), parent), m_list(new QListWidget(this)),
      m_sort(new QPushButton(QStringLiteral("Сортувати"), this)),
      m_close(new QPushButton(QStringLiteral("Закрити"), this))
{
    // The order form stays on top of everything else; its satellite must not hide behind it.
    setWindowFlag(Qt::WindowStaysOnTopHint);
    m_sort->setToolTip(QStringLiteral("Сортувати список адрес за алфавітом"));
    m_list->setToolTip(QStringLiteral("Два рази клацніть на адресі, щоб додати її до маршруту"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(m_list, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_sort);
    buttons->addStretch();
    buttons->addWidget(m_close);
    layout->addLayout(buttons);
    // Short enough to leave room below for the tariff's data, which sits 400 pixels down.
    resize(360, 390);

    connect(m_sort, &QPushButton::clicked, this, &TForm6::sortRequested);
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);
    connect(m_list, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { emit addressChosen(m_list->row(item)); });
}

void TForm6::setAddresses(const QStringList& addresses)
{
    m_list->clear();
    m_list->addItems(addresses);
}

void TForm6::dockTo(const QWidget& orderForm)
{
    const QRect form = orderForm.frameGeometry();
    move(form.x() + form.width(), form.y());
}
