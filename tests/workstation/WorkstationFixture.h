#pragma once

#include "app/ui/Workstation.h"
#include "platform/ScriptedPrompts.h"
#include "support/DatabaseSuite.h"

#include <QTemporaryDir>
#include <memory>

// The whole workstation offscreen, on a database of its own.
class WorkstationWindow : public DatabaseSuite
{
protected:
    void SetUp() override;
    void TearDown() override;
    void logIn() { emit ws->form3.logInRequested(QStringLiteral("Оля"), QStringLiteral("1")); }

    QTemporaryDir folder;
    FixedClock clock{QDateTime(QDate(2026, 12, 8), QTime(12, 0))};
    ScriptedPrompts prompts;
    std::unique_ptr<Workstation> ws;
};
