#pragma once

#include "orders/intake/SoftphonePanel.h"

#include <QGroupBox>
#include <QList>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

// The dispatcher's telephone on the main window's bottom bar: the group's caption names
// the extension and its colour tells whether a call rings; the status line, the audio
// lamp, the accept and hang-up buttons with the dial box, the line's health, the
// missed calls to call back and the open order of a ringing caller. It draws what the
// panel holds and hands every click to it.
class SoftphoneStrip : public QGroupBox
{
    Q_OBJECT
public:
    explicit SoftphoneStrip(SoftphonePanel& panel, QWidget* parent = nullptr);

    QLabel* statusLine() const { return m_status; }
    QLabel* lamp() const { return m_lamp; }
    QPushButton* acceptButton() const { return m_accept; }
    QPushButton* hangUpButton() const { return m_hangUp; }
    QLineEdit* dialBox() const { return m_dial; }
    QLabel* healthLight() const { return m_health; }
    QTreeWidget* missedCalls() const { return m_missed; }
    QPushButton* callBackButton() const { return m_callBack; }
    QLabel* ringingOrder() const { return m_ringingOrder; }
    QPushButton* settingsButton() const { return m_settings; }

signals:
    // The telephone's settings page of the order form is wanted.
    void settingsRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refresh();
    void showHealth();
    void showMissedCalls();
    void callBackChosen();

    SoftphonePanel& m_panel;
    QLabel* m_status = nullptr;
    QLabel* m_lamp = nullptr;
    QPushButton* m_accept = nullptr;
    QPushButton* m_hangUp = nullptr;
    QLineEdit* m_dial = nullptr;
    QLabel* m_health = nullptr;
    QLabel* m_healthText = nullptr;
    QTreeWidget* m_missed = nullptr;
    QPushButton* m_callBack = nullptr;
    QLabel* m_ringingOrder = nullptr;
    QPushButton* m_settings = nullptr;
    QList<SoftphonePanel::MissedCall> m_shownMissed;
};
