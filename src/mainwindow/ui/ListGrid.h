#pragma once

#include <QTableView>

class DataSetTableModel;

// A grid over one list of the data module. Its highlighted row is always the list's
// current row: after every reopen of the list, after another grid of the same list
// moved it, and when the grid is shown again. Choosing a row here moves the list, so
// the commands act on the row the dispatcher sees highlighted.
class ListGrid : public QTableView
{
    Q_OBJECT
public:
    enum class Rows { One, Several };

    ListGrid(DataSetTableModel* model, Rows rows, QWidget* parent = nullptr);

    DataSetTableModel* listModel() const { return m_model; }

signals:
    // A column title was clicked: the field of that column.
    void sortRequested(const QString& field);
    void rowDoubleClicked();
    // Enter or Return on the grid; where the desk says so it acts as a double-click.
    void enterPressed();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showCurrentRow();
    void followCurrentIndex(const QModelIndex& current);

    DataSetTableModel* m_model;
};
