#include "mainwindow/DataSetTableModel.h"

#include "foundation/DisplayText.h"
#include "foundation/fb/FbDataSet.h"

DataSetTableModel::DataSetTableModel(FbDataSet& list, QObject* parent) : QAbstractTableModel(parent), m_list(list) {}

void DataSetTableModel::reload()
{
    if (m_generation == m_list.generation())
        return;
    beginResetModel();
    m_generation = m_list.generation();
    endResetModel();
}

int DataSetTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_list.recordCount();
}

int DataSetTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() || !m_list.isOpen() ? 0 : int(m_list.rows().columns.size());
}

QVariant DataSetTableModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    return displayText(m_list.rows().rows[std::size_t(index.row())][std::size_t(index.column())]);
}

QVariant DataSetTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    return section < columnCount() ? QVariant(m_list.rows().columns[section]) : QVariant();
}
