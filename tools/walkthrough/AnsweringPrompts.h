#pragma once

#include "platform/ScriptedPrompts.h"

#include <functional>

// The walkthrough's dialogs: every question is answered "Yes", so nothing waits for a
// hand on the keyboard, and each one is first shown to a listener, which photographs the
// window that asked while it is still open.
class AnsweringPrompts : public ScriptedPrompts
{
public:
    std::function<void(const QString&)> beforeAnswer;

    bool question(const QString& text) override;
    void message(const QString& text) override;
};
