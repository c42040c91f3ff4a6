#pragma once

#include "foundation/ui/FormShell.h"

class OrderFormView;

// The order intake form: always on top of the main window, created once and shown and
// hidden as needed. Its pages come with the order form's wiring, once the data module
// they read exists.
class TForm2 : public FormShell
{
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);

    void setView(OrderFormView* view);
    OrderFormView* view() const { return m_view; }

private:
    OrderFormView* m_view = nullptr;
};
