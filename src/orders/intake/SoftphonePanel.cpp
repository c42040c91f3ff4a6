#include "orders/intake/SoftphonePanel.h"

#include "dispatch/DispatchContext.h"
#include "foundation/DisplayText.h"
#include "foundation/SettingKeys.h"
#include "foundation/SettingsStore.h"
#include "foundation/TDANI.h"
#include "orders/intake/CallerLookup.h"
#include "orders/intake/HeadsetMedia.h"
#include "orders/intake/LineHealth.h"
#include "orders/intake/OrderFormController.h"
#include "orders/intake/RingBeeper.h"
#include "orders/intake/SipOperatorEntry.h"
#include "orders/intake/SoftphoneOperatorSetup.h"
#include "orders/intake/SoftphoneStateEffects.h"
#include "platform/Clock.h"
#include "platform/Prompts.h"
#include "softphone/CallMedia.h"
#include "softphone/RemoteSdp.h"
#include "softphone/SipErrorCodes.h"
#include "softphone/TRTCPClient.h"
#include "softphone/TRTPClient.h"
#include "softphone/TSIPClient.h"
#include "softphone/TSTUNClient.h"

#include <QElapsedTimer>
#include <QTimer>
#include <exception>

namespace {

const QString kDoNotDisturb = QStringLiteral("Н Е   Т У Р Б У В А Т И");
const QString kConnection = QStringLiteral("З Є Д Н А Н Н Я");
const QString kIdleHangUpHint = QStringLiteral("Відмінити звінок (вхідний / вихідний)");
const QString kNoLine = QStringLiteral("Немає зєднання / зайняте зєднання з сервером IP телефонії.");
const QString kHeadsetQuestion =
    QStringLiteral("Для роботи з VoIP телефонією потрібно налаштувати звукову гарнітуру.\r"
                   "Перейти на закладку налаштування гарнітури (потрібно обовязково зберегти налаштування і "
                   "перевантажити перезмінку диспетчера) ?");
const QString kBadMedia =
    QStringLiteral("Опонент не вказав, куди надсилати звук (невірний опис медіа SDP). Звінок завершено.");

constexpr int kKeepAliveMs = 5000;
constexpr int kMissedCallsKept = 50;

// RFC 4566 section 5.7: a connection address of 0.0.0.0 is the old way (RFC 2543) of
// putting a call on hold; it is no fault of the other side.
bool holdsTheCall(const QByteArray& sdp)
{
    for (QByteArray line : sdp.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.startsWith("c=IN IP4 ") && line.mid(9).split('/').first().trimmed() == "0.0.0.0")
            return true;
    }
    return false;
}

QString sipErrorText(int code, const QByteArray& serverHost, const QByteArray& received)
{
    switch (code) {
    case SIP_HOST_NOT_FOUND:
        return QStringLiteral("SIP : Домен SIP сервера не найдено : ") + QString::fromUtf8(serverHost);
    case SIP_NO_SOCKET:
        return QStringLiteral("SIP : Проблема з відкриттям портів ");
    case SIP_SEND_ERROR:
        return QStringLiteral("SIP : Помилка відправлення повідомлення");
    case SIP_RECV_ERROR:
        return QStringLiteral("SIP : Помилка під час отримання повідомлення");
    case SIP_INVALID_RESPONSE:
        return QStringLiteral("SIP : Невірна відповідь\r") + QString::fromUtf8(received);
    case SIP_UNAUTHORIZED:
        return QStringLiteral("SIP : Доступ оператора до сервера закритий / не налаштований");
    case SIP_NOT_CONNECTED:
        return QStringLiteral("SIP : Немає зєднання з сервером");
    default:
        return QStringLiteral("SIP Error #") + QString::number(code);
    }
}

} // namespace

struct SoftphonePanel::Parts
{
    Parts(DispatchContext& ctx, AudioSystem& audio) : sip(nullptr, &ctx.clock), pcma(audio), ring(audio), lookup(ctx.dani)
    {
    }

    // Declared so that the media goes before the endpoints it uses.
    TSIPClient sip;
    TRTPClient rtp;
    TRTCPClient rtcp{rtp};
    HeadsetMedia pcma;
    CallMedia media{sip, rtcp, pcma};
    TSTUNClient stun;
    RingBeeper ring;
    CallerLookup lookup;
    QTimer second;
    QElapsedTimer call; // valid while a call is established
};

SoftphonePanel::SoftphonePanel(DispatchContext& ctx, OrderFormController& orderForm, AudioSystem& audio,
                               const QString& baseFolder, QObject* parent)
    : QObject(parent), m_parts(std::make_unique<Parts>(ctx, audio)), m_ctx(ctx), m_orderForm(orderForm),
      m_headset(std::make_unique<HeadsetSettings>(audio, baseFolder))
{
    Parts& p = *m_parts;
    connect(&p.sip, &TSIPClient::OnStateChange, this, &SoftphonePanel::stateChanged);
    connect(&p.sip, &TSIPClient::OnRegistered, this, &SoftphonePanel::registered);
    connect(&p.sip, &TSIPClient::OnRemoteSDP, this, &SoftphonePanel::remoteSdpArrived);
    connect(&p.sip, &TSIPClient::OnCallEnd, this, &SoftphonePanel::callEnded);
    connect(&p.sip, &TSIPClient::OnError, this, &SoftphonePanel::sipError);
    // The playback thread reports too: those notices are queued to this thread.
    connect(&p.pcma, &TPCMA::OnStatus, this, &SoftphonePanel::audioStatus);
    connect(&p.stun, &TSTUNClient::OnResult, this, &SoftphonePanel::stunResult);
    connect(&p.second, &QTimer::timeout, this, &SoftphonePanel::everySecond);

    p.sip.SetKeepAliveInterval(kKeepAliveMs);
    m_settings.publicAddress = QString::fromLatin1(p.rtp.LocalAddressText());
    p.sip.SetLocalMedia(p.rtp.LocalAddressText(), p.rtp.LocalPort());
    p.sip.SetAcceptIncoming(true);
    m_groupCaption = softphoneNotSetCaption();
    m_hangUpHint = kIdleHangUpHint;
    p.second.start(1000);
}

SoftphonePanel::~SoftphonePanel()
{
    m_parts->ring.stop();
    m_parts->pcma.Stop();
}

TSIPClient& SoftphonePanel::sip()
{
    return m_parts->sip;
}

bool SoftphonePanel::ringBeeping() const
{
    return m_parts->ring.running();
}

void SoftphonePanel::setKeepAliveInterval(int milliseconds)
{
    m_parts->sip.SetKeepAliveInterval(milliseconds);
}

void SoftphonePanel::changed()
{
    emit stripChanged();
    emit pageChanged();
}

// ---- the log-in's line ------------------------------------------------------------------

bool SoftphonePanel::isConnected() const
{
    return m_connectPressed || m_parts->sip.Registered();
}

bool SoftphonePanel::disconnect()
{
    try {
        stopRinging();
        TSIPClient& sip = m_parts->sip;
        // A registered operator is removed from the server; one still trying is just
        // stopped, so his retries do not go on under the next dispatcher's name.
        if (sip.Registered())
            sip.Disconnect();
        else
            sip.Close();
        m_connectPressed = false;
        m_failure.clear();
        everySecond();
        changed();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool SoftphonePanel::configureFor(const QString& dispatcher)
{
    try {
        Parts& p = *m_parts;
        // Red until the server confirms the registration.
        m_ringing = true;
        m_connectEnabled = false;
        m_connectPressed = false;
        m_settingsButtonEnabled = false;
        m_incoming = m_missed = m_outgoing = 0;
        m_failure.clear();
        // Nothing of the previous dispatcher's line stays on the page.
        const QString publicAddress = m_settings.publicAddress;
        m_settings = Settings{};
        m_settings.publicAddress = publicAddress;

        const SettingsStore& store = m_ctx.settings;
        // The log-in loaded TARIF.INI into the store; without it there is no line.
        if (!store.contains(SettingKeys::kSipOperators)) {
            changed();
            return true;
        }
        m_settings.cityCode = store.value(SettingKeys::kSipCityCode);
        m_settings.digitsToDelete = store.value(SettingKeys::kSipDigitsToDelete);
        m_settings.stunHost = store.value(SettingKeys::kSipStunHost);
        m_settings.prefixAsContact = store.flag(SettingKeys::kSipPrefixAsContact);
        if (!m_settings.stunHost.trimmed().isEmpty() && m_settings.stunHost != m_queriedStunHost) {
            m_queriedStunHost = m_settings.stunHost;
            p.stun.Query(m_settings.stunHost.trimmed().toLatin1());
        }

        const std::optional<SipOperatorEntry> entry = SipOperatorEntry::findFor(store, dispatcher);
        SoftphoneOperatorSetup setup = SoftphoneOperatorSetup::decide(entry, std::nullopt);
        if (entry && entry->access) {
            m_settings.server = entry->server;
            m_settings.port = entry->port;
            m_settings.extension = entry->extension;
            m_settings.password = entry->password;
            m_settings.outgoingCalls = setup.outgoingCalls;
            emit dialBoxCleared();
        }
        // The dispatcher's number only matters once the entry is complete.
        if (setup.connectEnabled)
            setup = SoftphoneOperatorSetup::decide(entry, p.lookup.dispatcherNumber(dispatcher));
        for (const QString& message : setup.messages)
            m_ctx.prompts.message(message);
        if (!setup.connectEnabled) {
            changed();
            return true;
        }

        p.sip.SetLocalPort(static_cast<quint16>(setup.localPort));
        p.sip.SetServerPort(static_cast<quint16>(setup.serverPort));
        m_settingsButtonEnabled = true;
        const bool headsetLoaded = m_headset->load();
        p.pcma.SetInputDevice(m_headset->inputDeviceIndex());
        p.pcma.SetOutputDevice(m_headset->outputDeviceIndex());
        if (!headsetLoaded) {
            changed();
            if (m_ctx.prompts.question(kHeadsetQuestion))
                emit telephonePageRequested();
            return true;
        }
        m_connectEnabled = true;
        const bool connected = connectNow();
        changed();
        if (!connected) {
            switchOff();
            return false;
        }
        return true;
    } catch (const std::exception&) {
        switchOff();
        return false;
    }
}

void SoftphonePanel::switchOff()
{
    m_connectEnabled = false;
    m_connectPressed = false;
    m_settings.outgoingCalls = false;
    m_stripExpanded = false;
    m_groupCaption = softphoneNotSetCaption();
    changed();
}

// ---- the "Telefon" page -------------------------------------------------------------------

QString SoftphonePanel::connectCaption() const
{
    return m_connectPressed ? kDoNotDisturb : kConnection;
}

void SoftphonePanel::pressConnect()
{
    if (!m_connectEnabled)
        return;
    if (m_connectPressed) {
        // "Do not disturb": the operator leaves the server until he connects again.
        stopRinging();
        m_parts->sip.Disconnect();
        m_connectPressed = false;
        m_failure.clear();
        changed();
        return;
    }
    connectNow();
    changed();
}

bool SoftphonePanel::connectNow()
{
    m_hangUpClearsState = false;
    m_failure.clear();
    const QByteArray extension = m_settings.extension.trimmed().toUtf8();
    const bool connected = m_parts->sip.Connect(extension, m_settings.server.trimmed().toUtf8(), extension,
                                                m_settings.password.trimmed().toUtf8());
    m_connectPressed = true;
    return connected;
}

void SoftphonePanel::dialLastCaller()
{
    const QString number = m_lastCaller.withPrefix;
    // Asked only when the call can be made: a Yes that dials nothing would mislead.
    if (number.isEmpty() || !m_settings.outgoingCalls || m_ringing)
        return;
    if (m_ctx.prompts.question(QStringLiteral("Виконати звінок на вказаний телефон [") + number +
                               QStringLiteral("] ?")))
        dial(number);
}

// ---- the main window's strip ----------------------------------------------------------------

void SoftphonePanel::accept(const QString& dialBoxText)
{
    if (m_ringing) {
        m_parts->sip.Answer();
        return;
    }
    if (m_settings.outgoingCalls && !dialBoxText.trimmed().isEmpty())
        dial(dialBoxText);
}

void SoftphonePanel::rejectOrHangUp()
{
    TSIPClient& sip = m_parts->sip;
    if (m_ringing) {
        sip.Reject();
        return;
    }
    if (m_hangUpClearsState) {
        if (sip.Registered())
            sip.ReturnToReady();
        return;
    }
    // The media stops with the end of the call (CallMedia), as soon as the other side
    // has the BYE or the CANCEL.
    if (sip.State() != TSIPClient::Ready)
        sip.Hangup();
}

bool SoftphonePanel::returnToReadyIfEnded()
{
    TSIPClient& sip = m_parts->sip;
    sip.ReturnToReady();
    return sip.State() == TSIPClient::Ready;
}

void SoftphonePanel::dial(const QString& number)
{
    // What goes into the Request-URI: a number, never text that could end the line.
    const QString telephone = CallerNumber::telephoneCharacters(number.trimmed());
    // A finished call leaves the agent in its last state; the line is idle all the same.
    if (telephone.isEmpty() || !returnToReadyIfEnded()) {
        m_ctx.prompts.message(kNoLine);
        return;
    }
    m_statusLine = QStringLiteral("Виклик ") + telephone + QStringLiteral(" опонента");
    m_hangUpHint = QStringLiteral("Закрити спробу виклику опонента");
    m_hangUpClearsState = false;
    m_parts->sip.Call(telephone.toLatin1());
    changed();
}

void SoftphonePanel::callClientOfCurrentOrder()
{
    if (!m_settings.outgoingCalls || m_ringing)
        return;
    const FbDataSet& orders = m_ctx.dani.TABL_AKTIV_ZAMOVL;
    if (!orders.isOpen() || orders.isEmpty() || orders.recNo() < 1)
        return;
    const QString description = displayText(orders.value(QStringLiteral("ZAMOVL_PRICHINA_DELETE")));
    const QString telephone = CallerNumber::telephoneCharacters(CallerLookup::telephoneIn(description));
    if (telephone.isEmpty())
        return;
    if (m_ctx.prompts.question(QStringLiteral("Виконати звінок на вказаний телефон [") + telephone +
                               QStringLiteral("] ?")))
        dial(telephone);
}

void SoftphonePanel::statusLineDoubleClicked()
{
    const QString text = m_statusLine.trimmed();
    if (!text.isEmpty() && CallerNumber::telephoneCharacters(text) == text)
        openForCaller(text);
}

void SoftphonePanel::openForCaller(const QString& number)
{
    const QString telephone = CallerNumber::telephoneCharacters(number);
    if (telephone.isEmpty())
        return;
    // The call goes on whatever happens to the form.
    try {
        m_orderForm.openForCaller(telephone);
    } catch (const std::exception&) {
    }
}

// ---- missed calls -------------------------------------------------------------------------

void SoftphonePanel::callBack(int index)
{
    if (index < 0 || index >= m_missedCalls.size() || !m_settings.outgoingCalls || m_ringing)
        return;
    dial(m_missedCalls[index].caller);
}

void SoftphonePanel::noteMissedCall()
{
    const QString caller = m_lastCaller.normalised;
    if (caller.isEmpty())
        return;
    m_missedCalls.prepend({caller, m_ctx.clock.now(), m_parts->lookup.clientNameFor(caller)});
    while (m_missedCalls.size() > kMissedCallsKept)
        m_missedCalls.removeLast();
}

// ---- the agent's events -------------------------------------------------------------------

void SoftphonePanel::stateChanged()
{
    TSIPClient& sip = m_parts->sip;
    const int state = sip.State();
    SoftphoneStateFacts facts;
    facts.lastRequestWasRegistration =
        sip.PendingKind() == TSIPClient::PendingRegister || sip.PendingKind() == TSIPClient::PendingUnregister;
    facts.lastReason = QString::fromUtf8(sip.LastReason());
    facts.caller = m_lastCaller.normalised;
    const SoftphoneStateEffects effects = SoftphoneStateEffects::forState(state, facts);

    if (effects.stopRinging)
        stopRinging();
    if (effects.statusLine)
        m_statusLine = *effects.statusLine;
    switch (effects.strip) {
    case SoftphoneStateEffects::Strip::Expanded:
        m_stripExpanded = true;
        m_ringing = false;
        break;
    case SoftphoneStateEffects::Strip::Collapsed:
        m_stripExpanded = false;
        m_groupCaption = softphoneNotSetCaption();
        break;
    case SoftphoneStateEffects::Strip::Unchanged:
        break;
    }
    if (effects.countOutgoing)
        ++m_outgoing;
    if (effects.countMissed) {
        ++m_missed;
        noteMissedCall();
    }
    if (effects.startCallTimer) {
        m_parts->call.start();
        m_lampHint = SoftphoneLamp::callDuration(0);
    }
    if (state == TSIPClient::AuthRejected || state == TSIPClient::Unavailable ||
        state == TSIPClient::ServerError) {
        // A refused call is no fault of the line; a refused registration is.
        if (!sip.Registered())
            m_failure = m_statusLine;
    } else if (state == TSIPClient::Ready) {
        m_failure.clear();
    }
    if (effects.incomingCall)
        incomingCall();
    everySecond();
    changed();
}

void SoftphonePanel::incomingCall()
{
    m_lastCaller = CallerNumber::fromCallerId(QString::fromUtf8(m_parts->sip.CallerId()), m_settings.cityCode,
                                              m_settings.digitsToDelete);
    m_statusLine = m_lastCaller.normalised;
    m_ringing = true;
    if (m_beepOnIncoming)
        m_parts->ring.start();
    ++m_incoming;
    m_ringingOrder = m_parts->lookup.openOrderFor(m_lastCaller.normalised, m_lastCaller.withPrefix);
    // An open order form means the dispatcher is taking another call: it is left as it is.
    if (m_openClientCard && !m_statusLine.isEmpty() && !m_orderForm.isShowing()) {
        openForCaller(m_statusLine);
        // The search box becomes the new order's contact telephone, so it is only set on
        // the form opened for this caller, never on an order being taken.
        if (m_settings.prefixAsContact && !m_lastCaller.withPrefix.isEmpty())
            m_orderForm.setTelephoneSearchText(m_lastCaller.withPrefix);
    }
}

void SoftphonePanel::stopRinging()
{
    m_parts->ring.stop();
    m_ringing = false;
    m_ringingOrder.reset();
}

void SoftphonePanel::registered()
{
    TSIPClient& sip = m_parts->sip;
    m_groupCaption =
        softphoneRegisteredCaption(QString::fromUtf8(sip.Login()), QString::fromUtf8(sip.ServerHost()));
    m_failure.clear();
    everySecond();
    changed();
}

void SoftphonePanel::remoteSdpArrived()
{
    // CallMedia starts the media when the SDP names a valid address and port.
    const QByteArray& sdp = m_parts->sip.RemoteSDP();
    if (sdp.isEmpty() || RemoteSdp::Parse(sdp) || holdsTheCall(sdp))
        return;
    // The agent is in the middle of the message that brought it: the call is ended once
    // that message has been handled.
    QMetaObject::invokeMethod(this, &SoftphonePanel::endCallWithBadMedia, Qt::QueuedConnection);
}

void SoftphonePanel::endCallWithBadMedia()
{
    TSIPClient& sip = m_parts->sip;
    if (sip.State() == TSIPClient::Incoming)
        sip.Reject();
    else
        sip.Hangup();
    m_statusLine = kBadMedia;
    changed();
    m_ctx.prompts.message(kBadMedia);
}

void SoftphonePanel::callEnded()
{
    TSIPClient& sip = m_parts->sip;
    const QByteArray other = sip.CallKind() == TSIPClient::OutgoingCall ? sip.DialledNumber() : sip.CallerId();
    if (!other.isEmpty())
        m_lampHint = QStringLiteral("--:--");
    m_parts->call.invalidate();
    stopRinging();
    if (sip.CallKind() != TSIPClient::MissedCall) {
        m_hangUpClearsState = true;
        m_hangUpHint = kIdleHangUpHint;
    }
    changed();
}

void SoftphonePanel::sipError()
{
    TSIPClient& sip = m_parts->sip;
    const QString text = sipErrorText(sip.ErrorCode(), sip.ServerHost(), sip.LastMessage().Datagram());
    m_failure = text;
    everySecond();
    changed();
    m_ctx.prompts.message(text);
}

void SoftphonePanel::audioStatus(int status, int detail)
{
    if (status == TPCMA::BufferQueued)
        return;
    m_lamp.showAudioStatus(status);
    if (const std::optional<QString> text = SoftphoneLamp::statusLineText(status, detail))
        m_statusLine = *text;
    emit stripChanged();
}

void SoftphonePanel::stunResult()
{
    Parts& p = *m_parts;
    const QString address = QString::fromLatin1(p.stun.MappedAddressText());
    if (address == m_settings.publicAddress)
        return;
    m_settings.publicAddress = address;
    p.sip.SetLocalMedia(address.toLatin1(), p.rtp.LocalPort());
    emit pageChanged();
}

void SoftphonePanel::everySecond()
{
    TSIPClient& sip = m_parts->sip;
    bool strip = false;
    if (m_parts->call.isValid() && sip.State() == TSIPClient::Connected) {
        const QString duration = SoftphoneLamp::callDuration(m_parts->call.elapsed());
        strip = duration != m_lampHint;
        m_lampHint = duration;
    }
    LineHealth::Facts facts;
    facts.switchedOn = m_connectPressed;
    facts.failure = m_failure;
    facts.registered = sip.Registered();
    facts.serverAnswering = sip.ServerAnswering();
    facts.confirmedAt = sip.RegistrationConfirmedAt();
    facts.lapsesAt = sip.RegistrationLapsesAt();
    facts.now = m_ctx.clock.now();
    const LineHealth health = LineHealth::evaluate(facts);
    if (health.level != m_health || health.text != m_healthText) {
        m_health = health.level;
        m_healthText = health.text;
        strip = true;
    }
    if (strip)
        emit stripChanged();
}
