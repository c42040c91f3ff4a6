#include "AnsweringPrompts.h"

#include <QTextStream>

bool AnsweringPrompts::question(const QString& text)
{
    ScriptedPrompts::question(text);
    QTextStream(stdout) << "  asked: " << promptTextForDisplay(text).simplified() << " -> yes" << Qt::endl;
    if (beforeAnswer)
        beforeAnswer(text);
    return true;
}

void AnsweringPrompts::message(const QString& text)
{
    ScriptedPrompts::message(text);
    QTextStream(stdout) << "  told: " << promptTextForDisplay(text).simplified() << Qt::endl;
}
