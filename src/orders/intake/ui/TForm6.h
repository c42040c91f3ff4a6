#pragma once

#include "foundation/ui/FormShell.h"

#include <QStringList>

class QListWidget;
class QPushButton;

// The client's previous addresses: a list beside the order form, whose double-clicked
// address becomes a route point. It forwards what the dispatcher does; the order
// form's wiring decides.
class TForm6 : public FormShell
{
    Q_OBJECT
public:
    explicit TForm6(QWidget* parent = nullptr);

    void setAddresses(const QStringList& addresses);
    // Against the order form's right edge, level with its top.
    void dockTo(const QWidget& orderForm);

    QListWidget* addressList() const { return m_list; }
    QPushButton* sortButton() const { return m_sort; }
    QPushButton* closeButton() const { return m_close; }

signals:
    void sortRequested();
    void addressChosen(int index);

private:
    QListWidget* m_list;
    QPushButton* m_sort;
    QPushButton* m_close;
};
