#pragma once

#include <QObject>
#include <QPointer>

class IPrompts;
class OrderFormController;
class SoftphoneOptions;
class SoftphonePage;
class SoftphonePanel;
class SoftphoneStrip;
class TForm2;

// The dispatcher's telephone tied to its widgets: the strip and the two options for the
// main window (the workstation places them), the "Telefon" page and a second strip put
// into the order form, and the order form shown on that page when the panel or a strip
// asks for it.
class SoftphoneWiring : public QObject
{
    Q_OBJECT
public:
    SoftphoneWiring(SoftphonePanel& panel, OrderFormController& orderForm, TForm2& form, IPrompts& prompts,
                    QObject* parent = nullptr);
    // Deletes the strip and the options when nobody took them.
    ~SoftphoneWiring() override;

    SoftphoneStrip* strip() const;
    SoftphoneOptions* options() const;
    SoftphonePage* page() const { return m_page; }
    // The strip at the order form's foot.
    SoftphoneStrip* formStrip() const { return m_formStrip; }

private:
    void showTelephonePage();

    OrderFormController& m_orderForm;
    TForm2& m_form;
    QPointer<SoftphoneStrip> m_strip;
    QPointer<SoftphoneOptions> m_options;
    SoftphonePage* m_page;
    SoftphoneStrip* m_formStrip;
};
