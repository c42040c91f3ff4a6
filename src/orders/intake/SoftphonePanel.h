#pragma once

#include "orders/intake/CallerNumber.h"
#include "orders/intake/HeadsetSettings.h"
#include "orders/intake/LineHealth.h"
#include "orders/intake/SoftphoneLamp.h"
#include "orders/intake/SoftphoneLine.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <memory>
#include <optional>

class AudioSystem;
class OrderFormController;
class TSIPClient;
struct DispatchContext;

// The dispatcher's telephone: the SIP agent, the call's RTP and RTCP, the headset and
// the STUN client, configured for whoever logged in. It holds what the main window's
// strip and the order form's "Telefon" page show and runs what their buttons ask;
// the widgets only draw it and forward clicks. An incoming call opens the order form
// on the caller through the form's controller.
class SoftphonePanel : public QObject, public ISoftphoneLine
{
    Q_OBJECT
public:
    // baseFolder: where GarnituraDispetcher.ini lives (the program's folder).
    SoftphonePanel(DispatchContext& ctx, OrderFormController& orderForm, AudioSystem& audio,
                   const QString& baseFolder, QObject* parent = nullptr);
    ~SoftphonePanel() override;

    // ---- the log-in's line ------------------------------------------------------------
    bool isConnected() const override;
    bool disconnect() override;
    // Configure operator: SET_SIP and the dispatcher's operator entry, the local and
    // server ports, the headset, then connects. False when it failed (the log-in says
    // so); the softphone is then left switched off.
    bool configureFor(const QString& dispatcher) override;

    // ---- the "Telefon" page --------------------------------------------------------------
    struct Settings
    {
        QString server, port, extension, password, cityCode, stunHost, digitsToDelete;
        QString publicAddress; // the RTP endpoint's address, or what STUN found
        bool outgoingCalls = false;
        bool prefixAsContact = true;
    };
    const Settings& settings() const { return m_settings; }
    bool settingsButtonEnabled() const { return m_settingsButtonEnabled; }
    // The connect / do-not-disturb button.
    bool connectEnabled() const { return m_connectEnabled; }
    // True while the caption is "Н Е   Т У Р Б У В А Т И" (connected, dark red);
    // false while it is "З Є Д Н А Н Н Я" (silver).
    bool connectPressed() const { return m_connectPressed; }
    QString connectCaption() const;
    void pressConnect();
    HeadsetSettings& headset() { return *m_headset; }
    // Last-call panel.
    const CallerNumber& lastCaller() const { return m_lastCaller; }
    int incomingCount() const { return m_incoming; }
    int missedCount() const { return m_missed; }
    int outgoingCount() const { return m_outgoing; }
    // Double-click on the prefixed number: asks, then dials it.
    void dialLastCaller();

    // ---- the main window's strip -----------------------------------------------------------
    QString groupCaption() const { return m_groupCaption; }
    bool ringing() const { return m_ringing; } // red group; blue otherwise
    bool stripExpanded() const { return m_stripExpanded; }
    QString statusLine() const { return m_statusLine; }
    SoftphoneLamp::Colour lampColour() const { return m_lamp.colour(); }
    QString lampHint() const { return m_lampHint; }
    QString hangUpHint() const { return m_hangUpHint; }
    bool dialEnabled() const { return m_settings.outgoingCalls && m_connectEnabled; }
    // The two options of the main window.
    void setBeepOnIncoming(bool on) { m_beepOnIncoming = on; }
    void setOpenClientCard(bool on) { m_openClientCard = on; }
    bool beepOnIncoming() const { return m_beepOnIncoming; }
    bool openClientCard() const { return m_openClientCard; }
    // The accept button: answers a ringing call, else dials the dial box's text.
    void accept(const QString& dialBoxText);
    // The reject / hang-up button.
    void rejectOrHangUp();
    // Dials when the line is registered and idle; tells the dispatcher otherwise.
    void dial(const QString& number);
    // Command 10: the telephone of the chosen open order, after the dispatcher agreed.
    void callClientOfCurrentOrder();
    // Double-click on the status line: opens the order form on the number it holds.
    void statusLineDoubleClicked();
    void openForCaller(const QString& number);

    // ---- beyond the plain strip ---------------------------------------------------------------
    using Health = LineHealth::Level;
    Health health() const { return m_health; }
    // "зареєстровано о 12:03:15", or why the line is lapsed or failing.
    QString healthText() const { return m_healthText; }
    struct MissedCall
    {
        QString caller; // normalised number
        QDateTime at;
        QString client; // the matching client's name, if any
    };
    const QList<MissedCall>& missedCalls() const { return m_missedCalls; }
    // One-key call-back of a missed call (newest first, index 0).
    void callBack(int index);
    // While a call rings: the open order whose contact telephone is the caller's
    // ("№ 1234, pick-up, driver"), so the dispatcher does not record it twice.
    std::optional<QString> ringingOrder() const { return m_ringingOrder; }

    // For the tests that drive the line against real peers.
    TSIPClient& sip();
    // The ring's beeps are sounding (the beep option was on when the call came).
    bool ringBeeping() const;
    // The keep-alive interval of the line (5 s unless a test shortens it).
    void setKeepAliveInterval(int milliseconds);

signals:
    // Something the strip shows changed (caption, colours, status line, lamp, health,
    // missed calls, ringing order).
    void stripChanged();
    // Something the "Telefon" page shows changed.
    void pageChanged();
    // "Yes" to the headset question: the order form is to show its "Telefon" page.
    void telephonePageRequested();
    // Configure operator empties the main window's dial box.
    void dialBoxCleared();

private:
    void stateChanged();
    void incomingCall();
    void registered();
    void remoteSdpArrived();
    void endCallWithBadMedia();
    void callEnded();
    void sipError();
    void audioStatus(int status, int detail);
    void stunResult();
    void everySecond();
    void stopRinging();
    bool connectNow();
    void switchOff();
    void noteMissedCall();
    bool returnToReadyIfEnded();
    void changed();

    struct Parts;
    std::unique_ptr<Parts> m_parts;
    DispatchContext& m_ctx;
    OrderFormController& m_orderForm;
    std::unique_ptr<HeadsetSettings> m_headset;

    Settings m_settings;
    bool m_settingsButtonEnabled = false;
    bool m_connectEnabled = false;
    bool m_connectPressed = false;
    CallerNumber m_lastCaller;
    int m_incoming = 0, m_missed = 0, m_outgoing = 0;

    QString m_groupCaption;
    bool m_ringing = false;
    bool m_stripExpanded = false;
    QString m_statusLine;
    SoftphoneLamp m_lamp;
    QString m_lampHint;
    QString m_hangUpHint;
    bool m_beepOnIncoming = true;
    bool m_openClientCard = true;

    Health m_health = Health::Off;
    QString m_healthText;
    QList<MissedCall> m_missedCalls;
    std::optional<QString> m_ringingOrder;

    bool m_hangUpClearsState = false; // after a call: the button takes the line back to idle
    QString m_queriedStunHost;
    QString m_failure; // why the line is failing, for the health light
};
