#pragma once

#include "mainwindow/GridColumns.h"

#include <QAbstractTableModel>
#include <QHash>
#include <functional>
#include <optional>

class FbDataSet;

// A list of the data module as a table for a grid: the given columns with their titles,
// or every field when none are given. The list is closed and reopened by events and
// refreshes; reload() picks up what changed. A list that reads its rows as needed gets
// more of them as the grid scrolls to its end.
class DataSetTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    DataSetTableModel(FbDataSet& list, GridColumns columns, QObject* parent = nullptr);

    // Resets the model when the list was opened or closed since the last call.
    void reload();
    // Asks for the computed texts and colours again (the list itself is unchanged).
    void refreshDrawing();
    FbDataSet& list() const { return m_list; }
    // Moves the list to a row (from 1) and tells every grid of the list.
    void moveListTo(int row);
    QString fieldOf(int column) const;

    // Whole-row texts of count rows from first (from 0), computed together when the list
    // reloads or more rows arrive (the stand grid builds its cells from one read).
    std::function<QStringList(int first, int count)> rowTexts;
    std::function<std::optional<quint32>(int row)> rowBackground;
    // Design colours of whole columns by field (0xRRGGBB), under any row colour.
    QHash<QString, quint32> columnColours;

    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

signals:
    // Reading more rows failed; the list keeps the rows it has.
    void readFailed(const QString& message);
    void currentRowMoved();

private:
    void computeRowTexts();
    void takeNewRows();

    FbDataSet& m_list;
    GridColumns m_columns;
    QVector<int> m_fieldIndexes; // of each shown column in the list's rows, -1 when missing
    QStringList m_rowTexts;
    int m_generation = -1;
    int m_rowCount = 0; // rows of the list the views know of
};
