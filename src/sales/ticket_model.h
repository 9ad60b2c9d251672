#pragma once

#include "tickets/item_ticket.h"

#include <QAbstractTableModel>

#include <vector>

namespace vendura {

// The ticket being built (L_ticket): one ItemTicket per row, eight columns.
class TicketModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Column { Num, Loterias, Monto, Jugada, Especiales, Item, Tipo, Tipo2, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool removeRows(int row, int count, const QModelIndex& parent = {}) override;

    void append(const std::vector<ItemTicket>& rows);
    // A generator's group printed as one line (play label ending in "*") is whole no more once
    // one of its rows has gone: the group's other rows on that lottery lose the "*", so the
    // printed ticket lists their numbers.
    void breakGroup(const ItemTicket& removed);
    void clear();
    const std::vector<ItemTicket>& rows() const { return rows_; }
    const ItemTicket& at(int row) const { return rows_.at(static_cast<size_t>(row)); }
    // The total of the ticket: every row's amount, "Sin Cupo" rows counting for nothing.
    Money total() const;

  private:
    std::vector<ItemTicket> rows_;
};

}  // namespace vendura
