#pragma once

#include <QWidget>

class IPrompts;
class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class SoftphonePanel;

// The order form's "Telefon" page: the operator's line as TARIF.INI gives it (read
// only), the headset of this computer with its save button, the connect / do-not-disturb
// button and the last call with the line's counters. Draws the panel, forwards clicks.
class SoftphonePage : public QWidget
{
    Q_OBJECT
public:
    // prompts: the headset's save asks before it writes.
    SoftphonePage(SoftphonePanel& panel, IPrompts& prompts, QWidget* parent = nullptr);

    QLineEdit* server() const { return m_server; }
    QLineEdit* port() const { return m_port; }
    QLineEdit* extension() const { return m_extension; }
    QLineEdit* password() const { return m_password; }
    QLineEdit* cityCode() const { return m_cityCode; }
    QLineEdit* proxy() const { return m_proxy; }
    QLineEdit* stunHost() const { return m_stun; }
    QLineEdit* digitsToDelete() const { return m_digits; }
    QLineEdit* publicAddress() const { return m_publicAddress; }
    QCheckBox* outgoingCalls() const { return m_outgoing; }
    QCheckBox* prefixAsContact() const { return m_prefixAsContact; }
    QListWidget* inputDevices() const { return m_inputs; }
    QListWidget* outputDevices() const { return m_outputs; }
    QPushButton* saveHeadsetButton() const { return m_saveHeadset; }
    QPushButton* connectButton() const { return m_connect; }
    QLineEdit* lastFullAddress() const { return m_fullAddress; }
    QLineEdit* lastWithPrefix() const { return m_withPrefix; }
    QLineEdit* lastWithoutDigits() const { return m_withoutDigits; }
    QLineEdit* lastWithoutCode() const { return m_withoutCode; }
    QLineEdit* incomingCount() const { return m_incomingCount; }
    QLineEdit* missedCount() const { return m_missedCount; }
    QLineEdit* outgoingCount() const { return m_outgoingCount; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildLine();
    QWidget* buildHeadset();
    QWidget* buildLastCall();
    void refresh();
    void showHeadset();

    SoftphonePanel& m_panel;
    IPrompts& m_prompts;
    QLineEdit* m_server = nullptr;
    QLineEdit* m_port = nullptr;
    QLineEdit* m_extension = nullptr;
    QLineEdit* m_password = nullptr;
    QLineEdit* m_cityCode = nullptr;
    QLineEdit* m_proxy = nullptr;
    QLineEdit* m_stun = nullptr;
    QLineEdit* m_digits = nullptr;
    QLineEdit* m_publicAddress = nullptr;
    QCheckBox* m_outgoing = nullptr;
    QCheckBox* m_prefixAsContact = nullptr;
    QPushButton* m_connect = nullptr;
    QListWidget* m_inputs = nullptr;
    QListWidget* m_outputs = nullptr;
    QPushButton* m_saveHeadset = nullptr;
    QLineEdit* m_fullAddress = nullptr;
    QLineEdit* m_withPrefix = nullptr;
    QLineEdit* m_withoutDigits = nullptr;
    QLineEdit* m_withoutCode = nullptr;
    QLineEdit* m_incomingCount = nullptr;
    QLineEdit* m_missedCount = nullptr;
    QLineEdit* m_outgoingCount = nullptr;
};
