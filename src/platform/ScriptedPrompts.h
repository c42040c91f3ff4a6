#pragma once

#include "platform/Prompts.h"

#include <QList>
#include <optional>

// Prompts for tests: answers come from a script given in advance, and everything shown
// is recorded. An input box with no scripted answer is treated as cancelled, a question
// with none as "No".
class ScriptedPrompts : public IPrompts
{
public:
    struct Shown
    {
        enum Kind { Message, Question, Input } kind;
        QString text;
        QString title;
    };

    void answerQuestion(bool yes) { m_questionAnswers << yes; }
    void answerInput(const QString& typed) { m_inputAnswers << std::optional<QString>(typed); }
    void cancelInput() { m_inputAnswers << std::optional<QString>(); }

    void message(const QString& text) override;
    bool question(const QString& text) override;
    QString inputBox(const QString& title, const QString& prompt, const QString& defaultValue) override;

    const QList<Shown>& shown() const { return m_shown; }
    QStringList messages() const;
    QStringList questions() const;
    void clear() { m_shown.clear(); }

private:
    QStringList textsOf(Shown::Kind kind) const;

    QList<bool> m_questionAnswers;
    QList<std::optional<QString>> m_inputAnswers;
    QList<Shown> m_shown;
};
