#include "sales/lottery_catalog.h"

#include "platform/result.h"

namespace vendura {

LotteryCatalog::LotteryCatalog(const RecordSet& rows) {
    for (int i = 0; i < rows.size(); ++i) {
        Lottery l;
        l.code = rows.text(i, u"COD_LOT"_s).trimmed();
        l.description = rows.text(i, u"desc_lot"_s).trimmed();
        l.juegaEspecial = rows.text(i, u"Juegaespecial"_s).trimmed();
        l.especial = rows.text(i, u"especial"_s).trimmed();
        l.open = rows.text(i, u"abierta"_s).trimmed() != u"N"_s;
        lotteries_.push_back(l);
    }
}

const Lottery* LotteryCatalog::find(const QString& code) const {
    const QString wanted = code.trimmed();
    for (const Lottery& l : lotteries_) {
        if (l.code.compare(wanted, Qt::CaseInsensitive) == 0) return &l;
    }
    return nullptr;
}

QStringList LotteryCatalog::straightPlayEntries() const {
    QStringList entries;
    for (const Lottery& l : lotteries_) {
        if (l.juegaEspecial != u"S"_s) entries << l.entry();
    }
    return entries;
}

QString entryCode(const QString& entry) {
    return entry.left(3).trimmed();
}

QString codeList(const QStringList& selectedEntries) {
    QString codes;
    for (const QString& e : selectedEntries) codes += entryCode(e);
    return codes;
}

}  // namespace vendura
