#pragma once

#include <QString>
#include <functional>

class IPrompts;
class QAction;
class QMenu;
class QWidget;

// Items of the main window's tool strips and menus: a caption, a hint and a command
// whose database failure is shown to the dispatcher instead of leaving the window's
// event handling.
namespace CommandItems {

QAction* add(QWidget& owner, const QString& caption, const QString& hint, IPrompts& prompts,
             std::function<void()> command);
// A popup menu built afresh each time it opens over the area, so its captions and
// check marks show the present state.
void installPopup(QWidget& area, std::function<void(QMenu&)> fill);

} // namespace CommandItems
