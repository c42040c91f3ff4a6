#pragma once

#include <QWidget>

class ClientTableModel;
class MeasuringStepView;
class OrderFormController;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTableView;
class RoutePointPanel;

// The pages of the order form over its controller: the client list, the two client
// cards, the order wizard and the quick-search strip. Shows what the controller holds
// and forwards what the dispatcher does; nothing here decides.
class OrderFormView : public QWidget
{
    Q_OBJECT
public:
    explicit OrderFormView(OrderFormController& controller, QWidget* parent = nullptr);

    // The page stack's current page name ("CardClient", "CreateZam", ...) and, on the
    // order page, the step's ("STEP_1" ...), for tests and screenshots.
    QString pageName() const;
    QString stepName() const;
    QLineEdit* telephoneSearch() const;

    QTableView* clientGrid() const { return m_grid; }
    QPushButton* saveButton() const { return m_save; }
    QLabel* sumToPay() const { return m_sum; }
    QComboBox* tariffs() const { return m_tariff; }
    QListWidget* routeList() const { return m_route; }
    // The route's ends in the online city map; the order form's wiring answers it.
    QPushButton* browserRouteButton() const { return m_browserRoute; }
    RoutePointPanel* routePoints() const { return m_routePoints; }
    QLineEdit* tripCount() const { return m_count; }
    QWidget* kindPanel() const { return m_kindPanel; }
    MeasuringStepView* measuringStep() const { return m_measuring; }
    QPlainTextEdit* notes() const { return m_notes; }
    QLineEdit* newCardName() const { return m_newName; }
    QComboBox* newCardStreet() const { return m_newStreet; }
    QLineEdit* newCardTelephones() const { return m_newTelephones; }
    QLineEdit* editCardAddress() const { return m_editAddress; }
    QComboBox* editCardStreet() const { return m_editStreet; }
    QLineEdit* editCardTelephones() const { return m_editTelephones; }

    // The telephone's settings and last call, in place of the page's placeholder; the
    // page belongs to the form from then on.
    void setTelephonePage(QWidget* page);
    // The telephone's strip at the form's foot: the main window, and with it its own
    // strip, is disabled while the form is open, and a ringing call must still be
    // answered from here.
    void setCallStrip(QWidget* strip);

    // The quick order's clock and the preliminary panel's blinking (the main window's
    // one-second timer).
    void tick(const QDateTime& now);

signals:
    void printRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildStrip();
    QWidget* buildClientPage();
    QWidget* buildNewCardPage();
    QWidget* buildEditCardPage();
    QWidget* buildOrderPage();
    QWidget* buildFirstStep();
    QWidget* buildMeasuringStep();
    QWidget* buildLastStep();
    void showPage();
    void showClient();
    void showList();
    void showPrice();
    void showRoute();
    void fillEditCard();
    void resetNewCard();
    QComboBox* streetBox(QWidget* parent);
    void addTelephone(QLineEdit* box, const QString& code, bool newCard);
    void save();

    OrderFormController& m_controller;
    ClientTableModel* m_model = nullptr;
    QStackedWidget* m_pages = nullptr;
    QStackedWidget* m_steps = nullptr;
    QWidget* m_strip = nullptr;

    QLineEdit* m_codeSearch = nullptr;
    QLineEdit* m_nameSearch = nullptr;
    QLineEdit* m_addressSearch = nullptr;
    QComboBox* m_telephoneSearch = nullptr;

    QTableView* m_grid = nullptr;
    QLabel* m_details = nullptr;
    QListWidget* m_debtor = nullptr;
    QLabel* m_birthday = nullptr;
    QPushButton* m_editCardButton = nullptr;
    QPushButton* m_newCardButton = nullptr;

    QLineEdit* m_newCode = nullptr;
    QLineEdit* m_newName = nullptr;
    QComboBox* m_newStreet = nullptr;
    QLineEdit* m_newHouse = nullptr;
    QLineEdit* m_newApartment = nullptr;
    QLineEdit* m_newTelephones = nullptr;
    QLineEdit* m_newPassword = nullptr;
    QCheckBox* m_newNoDate = nullptr;
    QDateEdit* m_newBirth = nullptr;

    QLineEdit* m_editCode = nullptr;
    QLineEdit* m_editName = nullptr;
    QLineEdit* m_editAddress = nullptr;
    QComboBox* m_editStreet = nullptr;
    QLineEdit* m_editTelephones = nullptr;
    QLineEdit* m_editPassword = nullptr;
    QCheckBox* m_editNoDate = nullptr;
    QDateEdit* m_editBirth = nullptr;

    QLabel* m_orderClient = nullptr;
    QPushButton* m_chooseClient = nullptr;
    QListWidget* m_route = nullptr;
    QPushButton* m_browserRoute = nullptr;
    RoutePointPanel* m_routePoints = nullptr;
    QLineEdit* m_kmInTown = nullptr;
    QLineEdit* m_kmOutOfTown = nullptr;
    QLineEdit* m_waiting = nullptr;
    QComboBox* m_tariff = nullptr;
    QLabel* m_amounts = nullptr;
    QLabel* m_sum = nullptr;
    QWidget* m_kindPanel = nullptr;
    MeasuringStepView* m_measuring = nullptr;
    QRadioButton* m_quick = nullptr;
    QRadioButton* m_preliminary = nullptr;
    QRadioButton* m_ordinary = nullptr;
    QRadioButton* m_jubilee = nullptr;
    QDateTimeEdit* m_acceptance = nullptr;
    QLineEdit* m_count = nullptr;
    QPlainTextEdit* m_notes = nullptr;
    QPushButton* m_save = nullptr;
    bool m_blinkOn = false;
};
