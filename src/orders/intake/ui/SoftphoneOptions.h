#pragma once

#include <QWidget>

class QCheckBox;
class SoftphonePanel;

// The main window's two options for incoming calls, beside the telephone strip and
// shown whether or not a line is connected: the PC speaker's ring and opening the
// client card on the caller. Both start ticked, as the panel starts.
class SoftphoneOptions : public QWidget
{
    Q_OBJECT
public:
    static const QString kBeepCaption;
    static const QString kOpenCardCaption;

    explicit SoftphoneOptions(SoftphonePanel& panel, QWidget* parent = nullptr);

    QCheckBox* beepOnIncoming() const { return m_beep; }
    QCheckBox* openClientCard() const { return m_openCard; }

private:
    QCheckBox* m_beep = nullptr;
    QCheckBox* m_openCard = nullptr;
};
