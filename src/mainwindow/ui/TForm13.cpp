#include "mainwindow/ui/TForm13.h"

#include "mainwindow/ListColours.h"

#include <QCheckBox>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

TForm13::TForm13(QWidget* parent)
    : FormShell(QStringLiteral("Допомога про розміщення гарячих клавіш ..."), parent)
{
    setWindowFlag(Qt::WindowStaysOnTopHint);
    resize(500, 250);
    auto* outer = new QVBoxLayout(this);
    auto* scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    auto* content = new QWidget(scroll);
    auto* lines = new QVBoxLayout(content);
    using namespace ListColours;
    const QList<QPair<QString, quint32>> keys = {
        {QStringLiteral("Ins - відкриття на зміну нового водія"), kRed},
        {QStringLiteral("Del - закриття ефіра вибраного водія"), kMoneyGreen},
        {QStringLiteral("Ctrl+Ins - відправити повідомлення вибраному водію"), kYellow},
        {QStringLiteral("Ctrl+Del - примусове зняття зі стоянки вибраного водія"), kRed},
        {QStringLiteral("Ctrl+V - створення замовлення для некодованого клієнта"), kYellow},
        {QStringLiteral("Ctrl+M - перехід по закладкам списка табличного вигляду активних замовлень"),
         kMoneyGreen},
        {QStringLiteral(
             "Ctrl+N - закриття групи замовлень (без зміни баланса водія і клієнта, без статуса GPRS)"),
         kYellow},
        {QStringLiteral(
             "Ctrl+B - закриття вибраного замовлення (без зміни баланса водія і клієнта, без статуса GPRS)"),
         kMoneyGreen},
    };
    for (const auto& [text, rgb] : keys) {
        auto* line = new QLabel(text, content);
        line->setWordWrap(true);
        line->setStyleSheet(QStringLiteral("background: #%1;").arg(rgb, 6, 16, QLatin1Char('0')));
        lines->addWidget(line);
    }
    m_fromAllStands =
        new QCheckBox(QStringLiteral("Зі всіх стоянок на нульову / з виділеної стоянки"), content);
    m_fromAllStands->setStyleSheet(QStringLiteral("color: red;"));
    m_fromAllStands->setChecked(true);
    lines->addWidget(m_fromAllStands);
    lines->addStretch();
    scroll->setWidget(content);
    outer->addWidget(scroll);
}

bool TForm13::fromAllStands() const
{
    return m_fromAllStands->isChecked();
}
