#pragma once

#include <QString>

class QWidget;

// Prints the order form as it appears on screen on the default printer: the trip's
// payment form.
class PaymentFormPrinter
{
public:
    static const QString kNoPrinterMessage;
    // Empty on success, else what the dispatcher is told.
    static QString print(QWidget& window);
};
