#pragma once

#include "app/ui/Workstation.h"
#include "platform/Clock.h"
#include "platform/ProgramExit.h"
#include "platform/ShellOpen.h"
#include "platform/audio/FakeAudioSystem.h"
#include "support/MeddlingPrompts.h"
#include "support/TestDatabase.h"
#include "support/peers/PbxAndTelephone.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

// The Firebird network server on a free loopback port, with a private root folder
// (tools/fbserver), started and stopped by the test itself.
class FirebirdServer
{
public:
    ~FirebirdServer() { stop(); }
    // False with the reason in problem().
    bool start();
    void stop();
    // What goes before a database path to reach it: "127.0.0.1/<port>:".
    QString prefix() const;
    const QString& problem() const { return m_problem; }
    QString log() const;

private:
    QTemporaryDir m_root{QDir::tempPath() + QStringLiteral("/taxi-endtoend-fb-XXXXXX")};
    quint16 m_port = 0;
    qint64 m_pid = 0;
    QString m_problem;
};

// One dispatcher's workstation with everything a person would touch: a clock of the
// real time, dialogs that answer as scripted (and may let the other desk act while one
// is open), a fake headset whose microphone speaks, and the whole Workstation offscreen.
struct Desk
{
    Desk(const QString& dispatcherName, const QString& dispatcherPassword, quint16 mediaPort);
    ~Desk();
    void logIn();
    // The dispatcher's line is registered at the exchange and waits for calls.
    bool lineReady() const;

    QString dispatcher;
    QString password;
    SystemClock clock;
    MeddlingPrompts prompts;
    RecordedExit exit;
    RecordedShellOpen shell;
    FakeAudioSystem audio;
    QTimer microphone;
    std::unique_ptr<Workstation> ws;
};

// A dispatch room: the database server holding the demo city's drivers, stands, tariffs
// and clients, the telephone exchange with the client's telephone, the archiver, and two
// desks logged in by their dispatchers. Dispatcher 1 answers on extension 101,
// dispatcher 2 on 102; the client calls from "200" and has money on his balance.
class DispatchRoom : public ::testing::Test
{
protected:
    static constexpr double kClientBalance = 500.0;
    static QString clientTelephone() { return QStringLiteral("200"); }
    static qint64 clientCode() { return 200; }
    static QString clientName() { return QStringLiteral("Гаврилюк Семен Андрійович"); }
    static QString firstDispatcher() { return QStringLiteral("Ковальчук Олена Петрівна"); }
    static QString secondDispatcher() { return QStringLiteral("Мельник Мар'яна Іванівна"); }

    void SetUp() override;
    void TearDown() override;

    BaresipPhone& clientPhone() { return m_peers.Telephone(); }
    KamailioPbx& pbx() { return m_peers.Pbx(); }
    // What went on, for a failure message: the peers' logs and both desks' dialogs.
    std::string report() const;

    FirebirdServer server;
    std::unique_ptr<TestDatabase> db;
    std::unique_ptr<Desk> desk1;
    std::unique_ptr<Desk> desk2;
    QProcess archiver;

private:
    void fillTheCity();
    void writeBaseFolder();
    void startArchiver();

    PbxAndTelephone m_peers{"200"};
    QTemporaryDir m_baseFolder;
};
