#include "support/WidgetFinders.h"

#include <QAction>
#include <QPushButton>
#include <QTest>
#include <QToolBar>

QAction* actionWithHint(QToolBar* strip, const QString& hint)
{
    for (QAction* action : strip->actions())
        if (action->toolTip() == hint)
            return action;
    return nullptr;
}

QPushButton* shownButton(QWidget* within, const QString& caption)
{
    for (QPushButton* button : within->findChildren<QPushButton*>())
        if (button->text() == caption && button->isVisibleTo(within))
            return button;
    return nullptr;
}

QPushButton* shownButtonWithHint(QWidget* within, const QString& hint)
{
    for (QPushButton* button : within->findChildren<QPushButton*>())
        if (button->toolTip() == hint && button->isVisibleTo(within))
            return button;
    return nullptr;
}

void typeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text)
        for (QTest::KeyAction action : {QTest::Press, QTest::Release})
            QTest::sendKeyEvent(action, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}
