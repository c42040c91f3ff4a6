#include "mainwindow/ui/TForm12.h"

#include "mainwindow/DispatcherMessages.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TForm12::TForm12(QWidget* parent)
    : FormShell(QStringLiteral("Внутрішні повідомлення між диспетчерами"), parent)
{
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    resize(424, 186);
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel(QStringLiteral("Внутрішні повідомлення між диспетчерами"), this);
    title->setAlignment(Qt::AlignCenter);
    title->setStyleSheet(QStringLiteral("background: rgb(227, 217, 140);"));
    m_text = new QPlainTextEdit(this);
    m_text->setReadOnly(true);
    auto* write = new QPushButton(QStringLiteral("Написати нове повідомлення"), this);
    auto* close = new QPushButton(QStringLiteral("Закрити вікно"), this);
    layout->addWidget(title);
    layout->addWidget(m_text);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(write);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(write, &QPushButton::clicked, this, [this] {
        if (m_messages)
            m_messages->compose();
    });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
}

void TForm12::insertLineAtTop(const QString& line)
{
    // Line breaks inside a line ("\r", "\n\r\n\r") show as empty lines.
    QString shown = line;
    shown.replace(QLatin1String("\n\r"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (shown == QLatin1String("\n"))
        shown.clear();
    QTextCursor cursor(m_text->document());
    cursor.movePosition(QTextCursor::Start);
    cursor.insertText(shown + QLatin1Char('\n'));
}

QString TForm12::text() const
{
    return m_text->toPlainText();
}
