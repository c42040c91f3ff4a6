#include "platform/ui/QtPrompts.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

void QtPrompts::message(const QString& text)
{
    QMessageBox::information(m_parent, QApplication::applicationName(), promptTextForDisplay(text));
}

bool QtPrompts::question(const QString& text)
{
    return QMessageBox::question(m_parent, QApplication::applicationName(), promptTextForDisplay(text),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

QString QtPrompts::inputBox(const QString& title, const QString& prompt, const QString& defaultValue)
{
    bool ok = false;
    const QString typed = QInputDialog::getText(m_parent, title, promptTextForDisplay(prompt),
                                                QLineEdit::Normal, defaultValue, &ok);
    return ok ? typed : defaultValue;
}
