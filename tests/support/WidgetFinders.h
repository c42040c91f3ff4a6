#pragma once

#include <QString>

class QAction;
class QPushButton;
class QToolBar;
class QWidget;

// Finding and using a window's controls the way a dispatcher sees them: by caption or
// hint, typing one key at a time.
QAction* actionWithHint(QToolBar* strip, const QString& hint);
// A button shown within the widget (not one on a hidden page).
QPushButton* shownButton(QWidget* within, const QString& caption);
QPushButton* shownButtonWithHint(QWidget* within, const QString& hint);
// Each character pressed and released as the keyboard sends it (QTest::keyClicks knows
// Latin letters only).
void typeText(QWidget* widget, const QString& text);
