#include "orders/intake/WebDistanceClient.h"

#include "foundation/SettingKeys.h"
#include "foundation/SettingsStore.h"

#include <QTcpSocket>
#if QT_CONFIG(ssl)
#include <QSslSocket>
#endif

const QString WebDistanceClient::kNoStartMessage = QStringLiteral("Не вибраний початковий пункт");
const QString WebDistanceClient::kNoDestinationMessage = QStringLiteral("Не вибраний кінцевий пункт");
const QString WebDistanceClient::kNoConnectionMessage =
    QStringLiteral("Немає зєднання з сайтом !!!\rПеревірте інтернет зєднання !!!");
const QString WebDistanceClient::kLostConnectionMessage =
    QStringLiteral("Пропало зєднання з сайтом !!!\rПопробуйте ще раз.");
const QString WebDistanceClient::kUnreadableReplyMessage =
    QStringLiteral("Сайт відповів незрозуміло !!!\rПопробуйте ще раз.");
const QString WebDistanceClient::kNoHttpsMessage = QStringLiteral(
    "Протокол https недоступний на цьому компютері !!!\rЗмініть налаштування сайту відстаней.");

WebDistanceClient::WebDistanceClient(const SettingsStore& settings, QObject* parent)
    : QObject(parent), m_settings(settings)
{
    m_timeout.setSingleShot(true);
    connect(&m_timeout, &QTimer::timeout, this, &WebDistanceClient::timedOut);
}

WebDistanceClient::~WebDistanceClient()
{
    cancel();
}

void WebDistanceClient::calculate(const WebDistancePlaces& places)
{
    cancel();
    if (places.startPlace.trimmed().isEmpty()) {
        emit failed(kNoStartMessage);
        return;
    }
    // Without a destination there is no distance to ask for.
    if (places.destinationPlace.trimmed().isEmpty()) {
        emit failed(kNoDestinationMessage);
        return;
    }
    const WebDistanceEndpoint endpoint = WebDistanceEndpoint::fromSettings(m_settings);
    const QString myCity = m_settings.value(SettingKeys::kMyCity);
    m_request = WebDistanceRequest::text(
        endpoint,
        WebDistanceRequest::placeText(myCity, places.startPlace, places.startHouse, places.startMyCity),
        WebDistanceRequest::placeText(myCity, places.destinationPlace, places.destinationHouse,
                                      places.destinationMyCity));
    m_reply.clear();

    if (endpoint.scheme == WebDistanceEndpoint::Scheme::Https) {
#if QT_CONFIG(ssl)
        if (QSslSocket::supportsSsl()) {
            auto* socket = new QSslSocket(this);
            m_socket = socket;
            connect(socket, &QSslSocket::encrypted, this, &WebDistanceClient::connected);
            connect(socket, &QSslSocket::sslErrors, this, &WebDistanceClient::socketFailed);
        }
#endif
        if (!m_socket) {
            emit failed(kNoHttpsMessage);
            return;
        }
    } else {
        m_socket = new QTcpSocket(this);
        connect(m_socket, &QTcpSocket::connected, this, &WebDistanceClient::connected);
    }
    connect(m_socket, &QTcpSocket::readyRead, this, &WebDistanceClient::received);
    connect(m_socket, &QTcpSocket::disconnected, this, &WebDistanceClient::closed);
    connect(m_socket, &QTcpSocket::errorOccurred, this, &WebDistanceClient::socketFailed);
    m_timeout.start(endpoint.timeoutMs);
#if QT_CONFIG(ssl)
    if (auto* secure = qobject_cast<QSslSocket*>(m_socket)) {
        secure->connectToHostEncrypted(endpoint.host, endpoint.port);
        return;
    }
#endif
    m_socket->connectToHost(endpoint.host, endpoint.port);
}

void WebDistanceClient::cancel()
{
    m_timeout.stop();
    if (!m_socket)
        return;
    // Signals off first: abort() reports the close synchronously.
    QTcpSocket* socket = m_socket;
    m_socket = nullptr;
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
}

void WebDistanceClient::connected()
{
    if (m_socket)
        m_socket->write(m_request);
}

void WebDistanceClient::received()
{
    if (!m_socket)
        return;
    m_reply += m_socket->readAll();
    settle(false);
}

void WebDistanceClient::closed()
{
    if (!m_socket)
        return;
    m_reply += m_socket->readAll();
    if (m_reply.isEmpty()) {
        fail(kNoConnectionMessage);
        return;
    }
    settle(true);
}

void WebDistanceClient::socketFailed()
{
    if (!m_socket)
        return;
    // The service ending its reply is the normal end of an HTTP/1.0 exchange
    // (RFC 9112 section 9.6): disconnected() follows and reads the reply.
    if (m_socket->error() == QAbstractSocket::RemoteHostClosedError)
        return;
    fail(kLostConnectionMessage);
}

void WebDistanceClient::timedOut()
{
    if (m_socket)
        fail(kLostConnectionMessage);
}

void WebDistanceClient::settle(bool closedByService)
{
    WebDistanceReply reply;
    switch (WebDistanceReply::parse(m_reply, closedByService, reply)) {
    case WebDistanceReply::Outcome::NeedsMoreBytes:
        return;
    case WebDistanceReply::Outcome::Malformed:
        fail(kUnreadableReplyMessage);
        return;
    case WebDistanceReply::Outcome::Complete:
        finish();
        emit resultReady(reply.result());
        return;
    }
}

void WebDistanceClient::finish()
{
    cancel();
    m_request.clear();
    m_reply.clear();
}

void WebDistanceClient::fail(const QString& message)
{
    finish();
    emit failed(message);
}
