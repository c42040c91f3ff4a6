#pragma once

#include <QAbstractTableModel>

class FbDataSet;

// A list of the data module as a table for a grid: one column per field. The list is
// closed and reopened by events and refreshes; reload() picks up what changed.
class DataSetTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit DataSetTableModel(FbDataSet& list, QObject* parent = nullptr);

    // Resets the model when the list was opened or closed since the last call.
    void reload();
    FbDataSet& list() const { return m_list; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    FbDataSet& m_list;
    int m_generation = -1;
};
