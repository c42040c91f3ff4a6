#include "orders/intake/ui/TForm2.h"

#include "orders/intake/ui/OrderFormView.h"

#include <QVBoxLayout>

TForm2::TForm2(QWidget* parent) : FormShell(QStringLiteral("Прийом замовлення ..."), parent)
{
    setWindowFlag(Qt::WindowStaysOnTopHint);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    resize(1000, 640);
}

void TForm2::setView(OrderFormView* view)
{
    m_view = view;
    view->setParent(this);
    layout()->addWidget(view);
}
