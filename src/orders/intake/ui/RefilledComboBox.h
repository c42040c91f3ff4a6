#pragma once

#include <QComboBox>
#include <functional>

// A drop-down that reads its choices afresh each time it opens, so it offers what the
// database holds now.
class RefilledComboBox : public QComboBox
{
public:
    RefilledComboBox(std::function<void(QComboBox*)> refill, QWidget* parent)
        : QComboBox(parent), m_refill(std::move(refill))
    {
    }
    void showPopup() override
    {
        m_refill(this);
        QComboBox::showPopup();
    }

private:
    std::function<void(QComboBox*)> m_refill;
};
