#include "mainwindow/ui/TForm3.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

TForm3::TForm3(QWidget* parent) : FormShell(QStringLiteral("Перезмінка диспетчера ..."), parent)
{
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setStyleSheet(QStringLiteral("background: rgb(166, 202, 240);"));
    auto* layout = new QFormLayout(this);
    m_names = new QComboBox(this);
    m_names->setMaxVisibleItems(30);
    m_names->setMinimumWidth(280);
    m_password = new QLineEdit(this);
    m_password->setEchoMode(QLineEdit::Password);
    auto* logIn = new QPushButton(QStringLiteral("Вхід користувача"), this);
    layout->addRow(QStringLiteral("ФІО"), m_names);
    layout->addRow(QStringLiteral("пароль"), m_password);
    layout->addRow(logIn);
    m_gauge = new QProgressBar(this);
    m_gauge->hide();
    layout->addRow(m_gauge);
    auto request = [this] { emit logInRequested(m_names->currentText(), m_password->text()); };
    connect(logIn, &QPushButton::clicked, this, request);
    connect(m_password, &QLineEdit::returnPressed, this, request);
}

void TForm3::setNames(const QStringList& names)
{
    m_names->clear();
    m_names->addItems(names);
    m_names->setCurrentIndex(-1);
}

void TForm3::clearFields()
{
    m_names->setCurrentIndex(-1);
    m_password->clear();
}

void TForm3::showProgress(int done, int total)
{
    if (done >= total) {
        m_gauge->hide();
        return;
    }
    m_gauge->setMaximum(total);
    m_gauge->setValue(done);
    m_gauge->show();
    // Painted at once: the log-in runs on, and letting other events in meanwhile could
    // start a second log-in or a tick in the middle of this one.
    m_gauge->repaint();
}
