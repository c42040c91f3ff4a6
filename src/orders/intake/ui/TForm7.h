#pragma once

#include "foundation/ui/FormShell.h"

#include <QList>
#include <QStringList>

class QLineEdit;
class QPushButton;

// The data of the chosen tariff: its prices and the jubilee trip limit, read only.
class TForm7 : public FormShell
{
    Q_OBJECT
public:
    explicit TForm7(QWidget* parent = nullptr);

    void setValues(const QStringList& values);
    QString value(int row) const;
    // Its left edge at the order form's right edge, 400 pixels below the form's top.
    void placeBeside(const QWidget& orderForm);

    QPushButton* closeButton() const { return m_close; }

private:
    QList<QLineEdit*> m_values;
    QPushButton* m_close;
};
