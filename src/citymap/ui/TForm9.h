#pragma once

#include "foundation/ui/FormShell.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;
class WebRouteController;

// The route calculation: the web distance service's answer on its success page ("TRUE")
// or its error page ("ERROR"), over the order form's web route controller, which fills
// it and takes the distance back into the form.
class TForm9 : public FormShell
{
    Q_OBJECT
public:
    explicit TForm9(QWidget* parent = nullptr);

    // Once, at start-up: the page follows each answer the controller shows.
    void setController(WebRouteController& controller);

    // "TRUE" or "ERROR", for tests and screenshots.
    QString pageName() const;

    QLineEdit* start() const { return m_start; }
    QLineEdit* destination() const { return m_destination; }
    QLineEdit* distance() const { return m_distance; }
    QCheckBox* outOfTown() const { return m_outOfTown; }
    QPushButton* toTariffButton() const { return m_toTariff; }
    QLineEdit* errorName() const { return m_errorName; }
    QLineEdit* errorStart() const { return m_errorStart; }
    QLineEdit* errorDestination() const { return m_errorDestination; }
    QPlainTextEdit* explanation() const { return m_explanation; }

private:
    QWidget* buildSuccessPage();
    QWidget* buildErrorPage();
    void showResult();

    WebRouteController* m_controller = nullptr;
    QStackedWidget* m_pages = nullptr;
    QWidget* m_successPage = nullptr;
    QWidget* m_errorPage = nullptr;

    QLineEdit* m_start = nullptr;
    QLineEdit* m_destination = nullptr;
    QLineEdit* m_distance = nullptr;
    QCheckBox* m_outOfTown = nullptr;
    QPushButton* m_copyStart = nullptr;
    QPushButton* m_copyDestination = nullptr;
    QPushButton* m_tryAgain = nullptr;
    QPushButton* m_toTariff = nullptr;

    QLineEdit* m_errorName = nullptr;
    QLineEdit* m_errorStart = nullptr;
    QLineEdit* m_errorDestination = nullptr;
    QPlainTextEdit* m_explanation = nullptr;
    QPushButton* m_editStart = nullptr;
    QPushButton* m_editDestination = nullptr;
    QPushButton* m_close = nullptr;
};
