#include "mainwindow/ui/DataSetTableModel.h"

#include "foundation/DisplayText.h"
#include "foundation/fb/DbError.h"
#include "foundation/fb/FbDataSet.h"

#include <QColor>

DataSetTableModel::DataSetTableModel(FbDataSet& list, GridColumns columns, QObject* parent)
    : QAbstractTableModel(parent), m_list(list), m_columns(std::move(columns))
{
}

void DataSetTableModel::reload()
{
    if (m_generation == m_list.generation()) {
        takeNewRows(); // the list may have read on, moving to a row beyond those shown
        return;
    }
    beginResetModel();
    m_generation = m_list.generation();
    m_rowCount = m_list.recordCount();
    m_fieldIndexes.clear();
    if (m_list.isOpen()) {
        const QStringList& fields = m_list.rows().columns;
        if (m_columns.isEmpty())
            for (const QString& field : fields)
                m_columns << GridColumn{field, field};
        for (const GridColumn& column : m_columns)
            m_fieldIndexes << fields.indexOf(column.field);
    }
    computeRowTexts();
    endResetModel();
}

void DataSetTableModel::refreshDrawing()
{
    computeRowTexts();
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

void DataSetTableModel::computeRowTexts()
{
    m_rowTexts.clear();
    if (rowTexts && rowCount() > 0)
        m_rowTexts = rowTexts(0, rowCount());
}

bool DataSetTableModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && m_generation == m_list.generation() && m_list.canFetchMore();
}

void DataSetTableModel::fetchMore(const QModelIndex& parent)
{
    if (!canFetchMore(parent))
        return;
    try {
        m_list.fetchMore();
    } catch (const DbError& e) {
        takeNewRows();
        emit readFailed(e.message());
        return;
    }
    takeNewRows();
}

void DataSetTableModel::takeNewRows()
{
    const int count = m_list.recordCount();
    if (m_generation != m_list.generation() || count <= m_rowCount)
        return;
    beginInsertRows({}, m_rowCount, count - 1);
    const int first = m_rowCount;
    m_rowCount = count;
    if (rowTexts)
        m_rowTexts << rowTexts(first, count - first);
    endInsertRows();
}

void DataSetTableModel::moveListTo(int row)
{
    m_list.moveTo(row);
    takeNewRows(); // a row beyond those read has just been read
    emit currentRowMoved();
}

QString DataSetTableModel::fieldOf(int column) const
{
    return column >= 0 && column < m_columns.size() ? m_columns[column].field : QString();
}

int DataSetTableModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    // Until the next reload a list closed or reopened meanwhile counts as it stands.
    return m_generation == m_list.generation() ? m_rowCount : m_list.recordCount();
}

int DataSetTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_fieldIndexes.size());
}

QVariant DataSetTableModel::data(const QModelIndex& index, int role) const
{
    // A list closed since the last reload has no rows until it is reloaded.
    if (!index.isValid() || index.row() >= rowCount() || index.row() >= m_list.recordCount() ||
        index.column() >= columnCount())
        return {};
    if (role == Qt::BackgroundRole) {
        if (const auto colour = rowBackground ? rowBackground(index.row()) : std::nullopt)
            return QColor::fromRgb(*colour);
        const auto column = columnColours.constFind(fieldOf(index.column()));
        return column != columnColours.constEnd() ? QVariant(QColor::fromRgb(*column)) : QVariant();
    }
    if (role != Qt::DisplayRole)
        return {};
    if (index.row() < m_rowTexts.size())
        return m_rowTexts[index.row()];
    const int field = m_fieldIndexes[index.column()];
    return field < 0
               ? QVariant()
               : QVariant(displayText(m_list.rows().rows[std::size_t(index.row())][std::size_t(field)]));
}

QVariant DataSetTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    return section < m_columns.size() ? QVariant(m_columns[section].title) : QVariant();
}
