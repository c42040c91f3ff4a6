#include "foundation/ui/FormShell.h"

#include <QCloseEvent>

FormShell::FormShell(const QString& caption, QWidget* parent) : QWidget(parent, Qt::Window)
{
    setWindowTitle(caption);
}

void FormShell::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    emit shown();
}

void FormShell::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted())
        emit closed();
}
