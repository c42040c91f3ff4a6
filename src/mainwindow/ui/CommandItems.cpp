#include "mainwindow/ui/CommandItems.h"

#include "foundation/fb/DbError.h"
#include "platform/Prompts.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QMenu>

namespace CommandItems {

QAction* add(QWidget& owner, const QString& caption, const QString& hint, IPrompts& prompts,
             std::function<void()> command)
{
    QAction* action = owner.addAction(caption);
    action->setToolTip(hint);
    action->setStatusTip(hint);
    QObject::connect(action, &QAction::triggered, &owner, [&prompts, command = std::move(command)] {
        try {
            command();
        } catch (const DbError& e) {
            prompts.message(e.message());
        }
    });
    return action;
}

void installPopup(QWidget& area, std::function<void(QMenu&)> fill)
{
    area.setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(&area, &QWidget::customContextMenuRequested, &area,
                     [&area, fill = std::move(fill)](const QPoint& at) {
                         // Grids report the point on their viewport.
                         auto* scroll = qobject_cast<QAbstractScrollArea*>(&area);
                         QWidget* origin = scroll ? scroll->viewport() : &area;
                         QMenu menu;
                         fill(menu);
                         menu.exec(origin->mapToGlobal(at));
                     });
}

} // namespace CommandItems
