#pragma once

#include <QString>
#include <QStringList>

// The dialogs every window uses: a message box, a Yes/No question and a one-line input
// box. Behind an interface so that controllers run without a display in tests.
class IPrompts
{
public:
    virtual ~IPrompts() = default;
    virtual void message(const QString& text) = 0;
    // true for "Yes".
    virtual bool question(const QString& text) = 0;
    // The typed text, or the default when the box is cancelled.
    virtual QString inputBox(const QString& title, const QString& prompt, const QString& defaultValue) = 0;
};

// Dialog texts use "\r" (alone or before "\n") as their line break.
QString promptTextForDisplay(const QString& text);
