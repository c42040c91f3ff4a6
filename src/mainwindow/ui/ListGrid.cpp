#include "mainwindow/ui/ListGrid.h"

#include "foundation/fb/FbDataSet.h"
#include "mainwindow/ui/DataSetTableModel.h"

#include <QHeaderView>
#include <QKeyEvent>

ListGrid::ListGrid(DataSetTableModel* model, Rows rows, QWidget* parent) : QTableView(parent), m_model(model)
{
    setModel(model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(rows == Rows::Several ? QAbstractItemView::ExtendedSelection
                                           : QAbstractItemView::SingleSelection);
    verticalHeader()->setDefaultSectionSize(20);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setStretchLastSection(true);
    // A model reset clears the view's selection; the list still has its current row.
    connect(model, &QAbstractItemModel::modelReset, this, &ListGrid::showCurrentRow);
    connect(model, &DataSetTableModel::currentRowMoved, this, &ListGrid::showCurrentRow);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, &ListGrid::followCurrentIndex);
    connect(this, &QTableView::doubleClicked, this, &ListGrid::rowDoubleClicked);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int section) { emit sortRequested(m_model->fieldOf(section)); });
}

void ListGrid::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit enterPressed();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void ListGrid::showEvent(QShowEvent* event)
{
    QTableView::showEvent(event);
    showCurrentRow();
}

void ListGrid::showCurrentRow()
{
    const int row = m_model->list().recNo() - 1;
    if (row < 0 || row >= m_model->rowCount()) {
        clearSelection();
        return;
    }
    if (currentIndex().isValid() && currentIndex().row() == row && selectionModel()->isRowSelected(row))
        return; // several rows chosen around the current one stay chosen
    const QModelIndex cell = m_model->index(row, currentIndex().isValid() ? currentIndex().column() : 0);
    selectionModel()->setCurrentIndex(cell, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(cell);
}

void ListGrid::followCurrentIndex(const QModelIndex& current)
{
    if (current.isValid() && current.row() + 1 != m_model->list().recNo())
        m_model->moveListTo(current.row() + 1);
}
