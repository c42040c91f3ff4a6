#pragma once

#include "platform/Prompts.h"

class QWidget;

// Message, question and input boxes as Qt dialogs over a parent window.
class QtPrompts : public IPrompts
{
public:
    explicit QtPrompts(QWidget* parent = nullptr) : m_parent(parent) {}
    void message(const QString& text) override;
    bool question(const QString& text) override;
    QString inputBox(const QString& title, const QString& prompt, const QString& defaultValue) override;

private:
    QWidget* m_parent;
};
