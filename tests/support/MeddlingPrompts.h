#pragma once

#include "platform/ScriptedPrompts.h"

#include <functional>
#include <utility>

// Prompts that let something else happen while a question or input box is open, as the
// one-second tick, database events and other workstations do in the running program:
// exactly the moment between a command's read and its write.
class MeddlingPrompts : public ScriptedPrompts
{
public:
    std::function<void()> whileOpen;
    bool question(const QString& text) override
    {
        meddle();
        return ScriptedPrompts::question(text);
    }
    QString inputBox(const QString& title, const QString& prompt, const QString& defaultValue) override
    {
        meddle();
        return ScriptedPrompts::inputBox(title, prompt, defaultValue);
    }

private:
    void meddle()
    {
        if (whileOpen)
            std::exchange(whileOpen, nullptr)();
    }
};
