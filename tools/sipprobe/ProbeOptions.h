#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// What the probe is told to do, from its command line.
struct ProbeOptions
{
    QByteArray server;
    quint16 serverPort = 5060;
    QByteArray user;
    QByteArray password;
    QByteArray displayName;
    quint16 localPort = 46500;
    quint16 rtpPort = 5004;
    QByteArray localAddress; // empty: this computer's address
    QByteArray stunServer;
    QByteArray dial;
    // What is done with an incoming call: answered after ringing this many seconds (0:
    // at once; -1: not answered), refused with 486, or left ringing until the caller
    // gives up or cancels. At most one of the three.
    int answerAfterSeconds = -1;
    bool reject = false;
    bool ring = false;
    int hangupAfterSeconds = 0; // 0: never
    QString playFile;           // raw 8 kHz 16-bit mono PCM, or such a WAV file
    int toneHz = 0;
    QString recordFile; // where the received audio goes (raw PCM)
    int calls = 1;      // incoming calls to wait for before ending
    int timeoutSeconds = 60;
    bool unregisterAtEnd = true;

    bool AcceptsIncoming() const { return answerAfterSeconds >= 0 || reject || ring; }

    // The options, or nothing after printing what is wrong.
    static std::optional<ProbeOptions> Parse(const QStringList& arguments);
};
