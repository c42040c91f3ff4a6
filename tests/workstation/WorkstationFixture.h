#pragma once

#include "app/ui/Workstation.h"
#include "platform/ProgramExit.h"
#include "platform/ScriptedPrompts.h"
#include "platform/ShellOpen.h"
#include "platform/audio/FakeAudioSystem.h"
#include "support/DatabaseSuite.h"

#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>

// Prompts whose message boxes can stay open a while, running the event loop under them
// as a modal box does (the one-second timer goes on ticking).
class OpenBoxPrompts : public ScriptedPrompts
{
public:
    int openForMs = 0;
    void message(const QString& text) override
    {
        ScriptedPrompts::message(text);
        if (openForMs <= 0)
            return;
        QEventLoop box;
        QTimer::singleShot(openForMs, &box, &QEventLoop::quit);
        box.exec();
    }
};

// The whole workstation offscreen, on a database of its own.
class WorkstationWindow : public DatabaseSuite
{
protected:
    void SetUp() override;
    void TearDown() override;
    void logIn() { emit ws->form3.logInRequested(QStringLiteral("Оля"), QStringLiteral("1")); }

    QTemporaryDir folder;
    FixedClock clock{QDateTime(QDate(2026, 12, 8), QTime(12, 0))};
    OpenBoxPrompts prompts;
    RecordedExit exit;
    RecordedShellOpen shell; // web addresses are recorded, never opened
    FakeAudioSystem audio;   // the telephone's headset, without a sound card
    std::unique_ptr<Workstation> ws;
};
