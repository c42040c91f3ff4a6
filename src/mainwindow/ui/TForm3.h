#pragma once

#include "foundation/ui/FormShell.h"

class QComboBox;
class QLineEdit;

// The shift change window: the dispatcher picks his name, types his password and logs in.
class TForm3 : public FormShell
{
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr);
    void setNames(const QStringList& names);
    void clearFields();

signals:
    void logInRequested(const QString& name, const QString& password);

private:
    QComboBox* m_names;
    QLineEdit* m_password;
};
