#pragma once

#include <QString>

// The dispatchers' messages window as the data module and the map load use it: news
// go on top, and the window opens when it is not showing. The messages window
// implements it; tests use a recording one.
class MessagesView
{
public:
    virtual ~MessagesView() = default;

    virtual bool messagesFormShowing() const = 0;
    virtual void showMessagesForm() = 0;
    // Inserts one line at the top of the messages form's text.
    virtual void insertMessageLineAtTop(const QString& line) = 0;
};

// Shows nothing: the data module's messages before the windows are wired.
class NullMessagesView : public MessagesView
{
public:
    bool messagesFormShowing() const override { return false; }
    void showMessagesForm() override {}
    void insertMessageLineAtTop(const QString&) override {}
};
