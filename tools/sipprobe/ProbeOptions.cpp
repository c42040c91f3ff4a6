#include "ProbeOptions.h"

#include <QCommandLineParser>
#include <QTextStream>

std::optional<ProbeOptions> ProbeOptions::Parse(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Drives the softphone stack without windows: registers, dials or answers, plays a "
                       "file or a tone and prints every state change and event."));
    parser.addHelpOption();
    const QCommandLineOption server({QStringLiteral("s"), QStringLiteral("server")},
                                    QStringLiteral("SIP server, host or host:port."),
                                    QStringLiteral("host[:port]"));
    const QCommandLineOption user({QStringLiteral("u"), QStringLiteral("user")}, QStringLiteral("SIP login."),
                                  QStringLiteral("login"));
    const QCommandLineOption password({QStringLiteral("p"), QStringLiteral("password")},
                                      QStringLiteral("Password, or {HA1} in braces."),
                                      QStringLiteral("password"));
    const QCommandLineOption display(
        QStringLiteral("display"), QStringLiteral("Display name (default: login)."), QStringLiteral("name"));
    const QCommandLineOption localPort(QStringLiteral("local-port"),
                                       QStringLiteral("Local SIP port (46500)."), QStringLiteral("port"),
                                       QStringLiteral("46500"));
    const QCommandLineOption rtpPort(QStringLiteral("rtp-port"), QStringLiteral("Local RTP port (5004)."),
                                     QStringLiteral("port"), QStringLiteral("5004"));
    const QCommandLineOption address(QStringLiteral("local-address"),
                                     QStringLiteral("Address offered in the SDP (default: this computer's)."),
                                     QStringLiteral("address"));
    const QCommandLineOption stun(QStringLiteral("stun"),
                                  QStringLiteral("STUN server to ask for the public address."),
                                  QStringLiteral("host"));
    const QCommandLineOption dial(QStringLiteral("dial"), QStringLiteral("Number to call once registered."),
                                  QStringLiteral("number"));
    const QCommandLineOption autoAnswer(QStringLiteral("auto-answer"),
                                        QStringLiteral("Answer incoming calls at once."));
    const QCommandLineOption answerAfter(
        QStringLiteral("answer-after"),
        QStringLiteral("Let incoming calls ring this many seconds, then answer (0: at once)."),
        QStringLiteral("seconds"));
    const QCommandLineOption reject(QStringLiteral("reject"), QStringLiteral("Reject incoming calls (486)."));
    const QCommandLineOption ring(QStringLiteral("ring"),
                                  QStringLiteral("Accept incoming calls and let them ring until the caller "
                                                 "gives up or cancels."));
    const QCommandLineOption hangup(QStringLiteral("hangup-after"),
                                    QStringLiteral("Hang up a connected call after this many seconds."),
                                    QStringLiteral("seconds"), QStringLiteral("0"));
    const QCommandLineOption play(QStringLiteral("play"),
                                  QStringLiteral("Microphone: raw or WAV 8 kHz 16-bit mono PCM file."),
                                  QStringLiteral("file"));
    const QCommandLineOption tone(QStringLiteral("tone"),
                                  QStringLiteral("Microphone: a sine tone of this pitch."),
                                  QStringLiteral("hz"));
    const QCommandLineOption record(QStringLiteral("record"),
                                    QStringLiteral("Write the received audio (raw PCM)."),
                                    QStringLiteral("file"));
    const QCommandLineOption calls(QStringLiteral("calls"),
                                   QStringLiteral("Calls to handle before ending (1)."),
                                   QStringLiteral("count"), QStringLiteral("1"));
    const QCommandLineOption timeout(QStringLiteral("timeout"),
                                     QStringLiteral("End after this many seconds (60)."),
                                     QStringLiteral("seconds"), QStringLiteral("60"));
    const QCommandLineOption stay(QStringLiteral("stay-registered"),
                                  QStringLiteral("Do not unregister at the end."));
    parser.addOptions({server, user, password,   display,     localPort, rtpPort, address,
                       stun,   dial, autoAnswer, answerAfter, reject,    ring,    hangup,
                       play,   tone, record,     calls,       timeout,   stay});
    parser.process(arguments);

    QTextStream err(stderr);
    if (!parser.isSet(server) || !parser.isSet(user)) {
        err << "sipprobe: --server and --user are needed\n";
        return std::nullopt;
    }
    ProbeOptions options;
    const QStringList hostAndPort = parser.value(server).split(QLatin1Char(':'));
    options.server = hostAndPort.value(0).toLatin1();
    if (hostAndPort.size() > 1)
        options.serverPort = static_cast<quint16>(hostAndPort.value(1).toUInt());
    options.user = parser.value(user).toLatin1();
    options.password = parser.value(password).toLatin1();
    options.displayName = parser.isSet(display) ? parser.value(display).toLatin1() : options.user;
    options.localPort = static_cast<quint16>(parser.value(localPort).toUInt());
    options.rtpPort = static_cast<quint16>(parser.value(rtpPort).toUInt());
    options.localAddress = parser.value(address).toLatin1();
    options.stunServer = parser.value(stun).toLatin1();
    options.dial = parser.value(dial).toLatin1();
    const int incomingModes = int(parser.isSet(autoAnswer) || parser.isSet(answerAfter)) +
                              int(parser.isSet(reject)) + int(parser.isSet(ring));
    if (incomingModes > 1) {
        err << "sipprobe: --auto-answer or --answer-after, --reject and --ring exclude each other\n";
        return std::nullopt;
    }
    if (parser.isSet(answerAfter)) {
        bool number = false;
        options.answerAfterSeconds = parser.value(answerAfter).toInt(&number);
        if (!number || options.answerAfterSeconds < 0) {
            err << "sipprobe: --answer-after needs a number of seconds, 0 or more\n";
            return std::nullopt;
        }
    } else if (parser.isSet(autoAnswer)) {
        options.answerAfterSeconds = 0;
    }
    options.reject = parser.isSet(reject);
    options.ring = parser.isSet(ring);
    options.hangupAfterSeconds = parser.value(hangup).toInt();
    options.playFile = parser.value(play);
    options.toneHz = parser.value(tone).toInt();
    options.recordFile = parser.value(record);
    options.calls = std::max(1, parser.value(calls).toInt());
    options.timeoutSeconds = std::max(1, parser.value(timeout).toInt());
    options.unregisterAtEnd = !parser.isSet(stay);
    if (options.serverPort == 0 || options.localPort == 0 || options.rtpPort == 0) {
        err << "sipprobe: ports must be 1..65535\n";
        return std::nullopt;
    }
    return options;
}
