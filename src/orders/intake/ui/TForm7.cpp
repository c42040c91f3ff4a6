#include "orders/intake/ui/TForm7.h"

#include "orders/intake/TariffData.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

TForm7::TForm7(QWidget* parent)
    : FormShell(TariffData::kTitle, parent), m_close(new QPushButton(QStringLiteral("Закрити"), this))
{
    setWindowFlag(Qt::WindowStaysOnTopHint);
    auto* form = new QFormLayout(this);
    for (const QString& caption : TariffData::kCaptions) {
        auto* value = new QLineEdit(this);
        value->setReadOnly(true);
        value->setAlignment(Qt::AlignRight);
        m_values << value;
        form->addRow(caption, value);
    }
    form->addRow(m_close);
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);
}

void TForm7::setValues(const QStringList& values)
{
    for (int row = 0; row < m_values.size(); ++row)
        m_values[row]->setText(row < values.size() ? values[row] : QString());
}

QString TForm7::value(int row) const
{
    return row >= 0 && row < m_values.size() ? m_values[row]->text() : QString();
}

void TForm7::placeBeside(const QWidget& orderForm)
{
    const QRect form = orderForm.frameGeometry();
    move(form.x() + form.width(), form.y() + 400);
}
