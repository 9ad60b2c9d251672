#include "sales/ticket_model.h"

namespace vendura {

int TicketModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TicketModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TicketModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const ItemTicket& r = rows_[static_cast<size_t>(index.row())];
    if (role == Qt::TextAlignmentRole && index.column() == Monto) {
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    }
    if (role != Qt::DisplayRole) return {};
    switch (index.column()) {
        case Num:
            return r.numero;
        case Loterias:
            return r.loteria;
        case Monto:
            return r.monto ? r.monto->display() : kSinCupo;
        case Jugada:
            return r.jugada;
        case Especiales:
            return r.especial;
        case Item:
            return QString::number(r.item);
        case Tipo:
            return r.tipo;
        case Tipo2:
            return r.tipo2;
        default:
            return {};
    }
}

QVariant TicketModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const char* const headings[] = {"Núm",        "Loterias",  "Monto Bs.F.", "Jugada",
                                           "Especiales", "ITEM Nro ", "Tipo",        "Tipo2"};
    if (section < 0 || section >= ColumnCount) return {};
    return QString::fromUtf8(headings[section]);
}

bool TicketModel::removeRows(int row, int count, const QModelIndex& parent) {
    if (parent.isValid() || row < 0 || count <= 0 || row + count > rowCount()) return false;
    beginRemoveRows({}, row, row + count - 1);
    rows_.erase(rows_.begin() + row, rows_.begin() + row + count);
    endRemoveRows();
    return true;
}

void TicketModel::append(const std::vector<ItemTicket>& rows) {
    if (rows.empty()) return;
    const int first = rowCount();
    beginInsertRows({}, first, first + static_cast<int>(rows.size()) - 1);
    rows_.insert(rows_.end(), rows.begin(), rows.end());
    endInsertRows();
}

void TicketModel::breakGroup(const ItemTicket& removed) {
    if (!removed.tipo2.endsWith(u'*')) return;
    for (size_t i = 0; i < rows_.size(); ++i) {
        ItemTicket& r = rows_[i];
        if (r.tipo2 != removed.tipo2 || r.codigoLoteria() != removed.codigoLoteria()) continue;
        r.tipo2.chop(1);
        const QModelIndex changed = index(int(i), Tipo2);
        emit dataChanged(changed, changed);
    }
}

void TicketModel::clear() {
    beginResetModel();
    rows_.clear();
    endResetModel();
}

Money TicketModel::total() const {
    Money sum;
    for (const ItemTicket& r : rows_) {
        if (r.monto) sum += *r.monto;
    }
    return sum;
}

}  // namespace vendura
