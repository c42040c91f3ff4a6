#pragma once

#include <QAbstractTableModel>

class FbDataSet;

// The client list as the client page's grid shows it: the code and password, name,
// address, telephones, birth date, balance and discount. The list is opened and closed
// by the order form; reload() picks that up.
class ClientTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit ClientTableModel(FbDataSet& list, QObject* parent = nullptr);

    void reload();
    // The KLIENT column a grid column shows, for ordering by a clicked title.
    static QString fieldOf(int column);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    FbDataSet& m_list;
};
