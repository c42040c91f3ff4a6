#include "orders/intake/ClientTableModel.h"

#include "foundation/fb/FbDataSet.h"

#include <QDate>
#include <array>

namespace {

struct Column
{
    const char* field;
    const char* title;
};

const std::array<Column, 7> kColumns = {{
    {"KLIENT_DODATKOVO", "Код / пароль"},
    {"KLIENT_FIO", "ФІО клієнта"},
    {"KLIENT_ADRESS", "Адреса"},
    {"KLIENT_TELEFON", "Телефони"},
    {"KLIENT_DATA_NARODZENNIA", "Дата народження"},
    {"KLIENT_BALANS", "Баланс"},
    {"KLIENT_ZNIZHKA", "Знижка, %"},
}};

} // namespace

ClientTableModel::ClientTableModel(FbDataSet& list, QObject* parent)
    : QAbstractTableModel(parent), m_list(list)
{
}

void ClientTableModel::reload()
{
    beginResetModel();
    endResetModel();
}

QString ClientTableModel::fieldOf(int column)
{
    if (column < 0 || column >= int(kColumns.size()))
        return {};
    return QLatin1String(kColumns[column].field);
}

int ClientTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_list.recordCount();
}

int ClientTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(kColumns.size());
}

QVariant ClientTableModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_list.recordCount())
        return {};
    const FbRows& rows = m_list.rows();
    const int field = rows.columnIndex(fieldOf(index.column()));
    if (field < 0)
        return {};
    const QVariant& value = rows.rows[index.row()][field];
    if (value.typeId() == QMetaType::QDate)
        return value.toDate().toString(QStringLiteral("dd.MM.yyyy"));
    if (value.typeId() == QMetaType::Double)
        return QString::number(value.toDouble(), 'g', 15).replace(QLatin1Char('.'), QLatin1Char(','));
    return value.toString();
}

QVariant ClientTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= int(kColumns.size()))
        return {};
    return QString::fromUtf8(kColumns[section].title);
}
