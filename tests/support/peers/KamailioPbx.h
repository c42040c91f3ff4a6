#pragma once

#include "support/peers/PeerProcess.h"

#include <QByteArray>
#include <QTemporaryDir>

// Kamailio as the telephone exchange: registrar and record-routing proxy with digest
// authentication (kamailio.cfg beside this file) on a free port of 127.0.0.1. Every
// user has the same password; the realm is the address.
class KamailioPbx
{
public:
    explicit KamailioPbx(const QByteArray& password = "secret");
    ~KamailioPbx();

    // Starts it and waits until it answers; false with the reason in Problem(). Started
    // again after Stop it listens on the same port, with no registrations.
    bool Start();
    void Stop();

    QByteArray Address() const { return "127.0.0.1"; }
    quint16 Port() const { return m_port; }
    const QByteArray& Password() const { return m_password; }
    // "sip:" + user + "@" + the address: where the user is reached through the exchange.
    QByteArray UserUri(const QByteArray& user) const { return "sip:" + user + "@" + Address(); }
    const QString& Problem() const { return m_problem; }
    QString Log() const { return m_process.LogTail(); }

private:
    bool answersOptions();

    QByteArray m_password;
    quint16 m_port = 0;
    QTemporaryDir m_folder;
    PeerProcess m_process;
    QString m_problem;
};
