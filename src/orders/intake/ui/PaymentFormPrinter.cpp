#include "orders/intake/ui/PaymentFormPrinter.h"

#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <QPrinterInfo>
#include <QWidget>

const QString PaymentFormPrinter::kNoPrinterMessage =
    QStringLiteral("Немає принтера за замовчуванням. Форму розрахунку оплати поїздки не роздруковано.");

QString PaymentFormPrinter::print(QWidget& window)
{
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    if (printer.isNull())
        return kNoPrinterMessage;
    QPrinter device(printer);
    const QPixmap image = window.grab();
    QPainter painter;
    if (!painter.begin(&device))
        return QStringLiteral(
                   "Принтер \"%1\" не приймає друк. Форму розрахунку оплати поїздки не роздруковано.")
            .arg(printer.printerName());
    // The image keeps its proportions and fills the page's width at most.
    const QRect page = painter.viewport();
    const QSize size = image.size().scaled(page.size(), Qt::KeepAspectRatio);
    painter.setViewport(page.x(), page.y(), size.width(), size.height());
    painter.setWindow(image.rect());
    painter.drawPixmap(0, 0, image);
    painter.end();
    return {};
}
