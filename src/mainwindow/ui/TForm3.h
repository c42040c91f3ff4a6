#pragma once

#include "foundation/ui/FormShell.h"

class QComboBox;
class QLineEdit;
class QProgressBar;

// The shift change window: the dispatcher picks his name, types his password and logs in.
class TForm3 : public FormShell
{
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr);
    void setNames(const QStringList& names);
    void clearFields();
    // The gauge shows while the log-in reads the district tables or the map points;
    // hidden once done reaches total.
    void showProgress(int done, int total);
    const QProgressBar* gauge() const { return m_gauge; }

signals:
    void logInRequested(const QString& name, const QString& password);

private:
    QComboBox* m_names;
    QLineEdit* m_password;
    QProgressBar* m_gauge;
};
