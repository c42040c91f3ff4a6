#pragma once

#include "orders/intake/WebDistanceReply.h"
#include "orders/intake/WebDistanceRequest.h"

#include <QByteArray>
#include <QObject>
#include <QTimer>

class QTcpSocket;
class SettingsStore;

// The web distance request of the order form: one connection at a time, event driven
// on the UI thread. Every calculation ends in exactly one resultReady or failed, unless
// a newer calculation or cancel() replaces it first.
class WebDistanceClient : public QObject
{
    Q_OBJECT
public:
    static const QString kNoStartMessage;       // "Не вибраний початковий пункт"
    static const QString kNoDestinationMessage; // a destination is required
    static const QString kNoConnectionMessage;  // the service closed without a reply
    static const QString kLostConnectionMessage;
    static const QString kUnreadableReplyMessage;
    static const QString kNoHttpsMessage;

    // The settings are read at each calculation: the endpoint, the timeout and MY_CITY.
    explicit WebDistanceClient(const SettingsStore& settings, QObject* parent = nullptr);
    ~WebDistanceClient() override;

    // "Прорахувати": closes any connection in progress and asks for the distance
    // between the two ends. A missing start or destination fails at once.
    void calculate(const WebDistancePlaces& places);
    // Closing the order form: the connection in progress is dropped without a word.
    void cancel();
    bool busy() const { return m_socket != nullptr; }

signals:
    // The route result window's success or error page.
    void resultReady(const WebDistanceResult& result);
    // A message box for the dispatcher (lines joined by CR).
    void failed(const QString& message);

private:
    void connected();
    void received();
    void closed();
    void socketFailed();
    void timedOut();
    // Parses what has come; ends the calculation when the reply is complete, or
    // (closed) whatever it is.
    void settle(bool closedByService);
    void finish();
    void fail(const QString& message);

    const SettingsStore& m_settings;
    QTcpSocket* m_socket = nullptr;
    QTimer m_timeout;
    QByteArray m_request;
    QByteArray m_reply;
};
