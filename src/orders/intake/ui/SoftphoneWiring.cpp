#include "orders/intake/ui/SoftphoneWiring.h"

#include "orders/intake/OrderFormController.h"
#include "orders/intake/SoftphonePanel.h"
#include "orders/intake/ui/OrderFormView.h"
#include "orders/intake/ui/SoftphoneOptions.h"
#include "orders/intake/ui/SoftphonePage.h"
#include "orders/intake/ui/SoftphoneStrip.h"
#include "orders/intake/ui/TForm2.h"

SoftphoneWiring::SoftphoneWiring(SoftphonePanel& panel, OrderFormController& orderForm, TForm2& form,
                                 IPrompts& prompts, QObject* parent)
    : QObject(parent), m_orderForm(orderForm), m_form(form), m_strip(new SoftphoneStrip(panel)),
      m_options(new SoftphoneOptions(panel)), m_page(new SoftphonePage(panel, prompts)),
      m_formStrip(new SoftphoneStrip(panel))
{
    m_form.view()->setTelephonePage(m_page);
    m_form.view()->setCallStrip(m_formStrip);
    connect(&panel, &SoftphonePanel::telephonePageRequested, this, &SoftphoneWiring::showTelephonePage);
    for (SoftphoneStrip* strip : {static_cast<SoftphoneStrip*>(m_strip), m_formStrip})
        connect(strip, &SoftphoneStrip::settingsRequested, this, &SoftphoneWiring::showTelephonePage);
}

SoftphoneWiring::~SoftphoneWiring()
{
    for (QWidget* widget : {static_cast<QWidget*>(m_strip), static_cast<QWidget*>(m_options)})
        if (widget && !widget->parent())
            delete widget;
}

SoftphoneStrip* SoftphoneWiring::strip() const
{
    return m_strip;
}

SoftphoneOptions* SoftphoneWiring::options() const
{
    return m_options;
}

void SoftphoneWiring::showTelephonePage()
{
    m_orderForm.showTelephonePage();
    m_form.show();
    m_form.raise();
    m_form.activateWindow();
}
