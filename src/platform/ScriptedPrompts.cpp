#include "platform/ScriptedPrompts.h"

void ScriptedPrompts::message(const QString& text)
{
    m_shown << Shown{Shown::Message, text, {}};
}

bool ScriptedPrompts::question(const QString& text)
{
    m_shown << Shown{Shown::Question, text, {}};
    return m_questionAnswers.isEmpty() ? false : m_questionAnswers.takeFirst();
}

QString ScriptedPrompts::inputBox(const QString& title, const QString& prompt, const QString& defaultValue)
{
    m_shown << Shown{Shown::Input, prompt, title};
    if (m_inputAnswers.isEmpty())
        return defaultValue;
    const std::optional<QString> answer = m_inputAnswers.takeFirst();
    return answer ? *answer : defaultValue;
}

QStringList ScriptedPrompts::messages() const
{
    return textsOf(Shown::Message);
}

QStringList ScriptedPrompts::questions() const
{
    return textsOf(Shown::Question);
}

QStringList ScriptedPrompts::textsOf(Shown::Kind kind) const
{
    QStringList result;
    for (const Shown& s : m_shown)
        if (s.kind == kind)
            result << s.text;
    return result;
}
