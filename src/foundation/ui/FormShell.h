#pragma once

#include <QWidget>

// A secondary window of the workstation: created once at start-up, shown and hidden as
// needed, never destroyed before the end. Windows whose content is not built yet show
// their caption only.
class FormShell : public QWidget
{
    Q_OBJECT
public:
    FormShell(const QString& caption, QWidget* parent = nullptr);

signals:
    void shown();
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
};
