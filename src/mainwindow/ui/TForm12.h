#pragma once

#include "foundation/MessagesView.h"
#include "foundation/ui/FormShell.h"

class DispatcherMessages;
class QPlainTextEdit;

// The dispatchers' messages: the newest message on top, and writing a new one over the
// chat given once it exists.
class TForm12 : public FormShell, public MessagesView
{
    Q_OBJECT
public:
    explicit TForm12(QWidget* parent = nullptr);
    void setMessages(DispatcherMessages& messages) { m_messages = &messages; }
    void insertLineAtTop(const QString& line);
    QString text() const;

    // MessagesView
    bool messagesFormShowing() const override { return isVisible(); }
    void showMessagesForm() override { show(); }
    void insertMessageLineAtTop(const QString& line) override { insertLineAtTop(line); }

private:
    QPlainTextEdit* m_text;
    DispatcherMessages* m_messages = nullptr;
};
