#include "orders/intake/ui/SoftphoneOptions.h"

#include "orders/intake/SoftphonePanel.h"

#include <QCheckBox>
#include <QVBoxLayout>

const QString SoftphoneOptions::kBeepCaption =
    QStringLiteral("Повідомляти про вхідний звінок через PC Speaker");
const QString SoftphoneOptions::kOpenCardCaption =
    QStringLiteral("Відкриття карточки клієнта і запит на прийняття звінка (у випадку вільності оператора)");

SoftphoneOptions::SoftphoneOptions(SoftphonePanel& panel, QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    m_beep = new QCheckBox(kBeepCaption, this);
    m_openCard = new QCheckBox(kOpenCardCaption, this);
    m_beep->setChecked(panel.beepOnIncoming());
    m_openCard->setChecked(panel.openClientCard());
    layout->addWidget(m_beep);
    layout->addWidget(m_openCard);
    connect(m_beep, &QCheckBox::toggled, &panel, &SoftphonePanel::setBeepOnIncoming);
    connect(m_openCard, &QCheckBox::toggled, &panel, &SoftphonePanel::setOpenClientCard);
}
