#include "cash/lottery_activation.h"

#include "session/text.h"

namespace vendura {

std::vector<ActivationEntry> activationEntries(const RecordSet& rows) {
    std::vector<ActivationEntry> out;
    out.reserve(static_cast<size_t>(rows.size()));
    for (int i = 0; i < rows.size(); ++i) {
        out.push_back({rows.text(i, u"COD_LOT"_s), rightTrimmed(rows.text(i, u"desc_lot"_s)),
                       rows.text(i, u"Cerrada"_s) != u"S"_s});
    }
    return out;
}

ActivationChoice activationChoice(const QStringList& entries, const std::vector<bool>& selected) {
    ActivationChoice choice;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        choice.codes += entries[i].left(3);
        const bool on = static_cast<size_t>(i) < selected.size() && selected[size_t(i)];
        choice.flags += on ? u'A' : u'I';
    }
    return choice;
}

Result<CallAnswer> Dsplotactiva(DatabaseGateway& db, const QString& vendor) {
    return db.callPositional(u"Dsplotactiva"_s, {vendor});
}

Result<CallAnswer> activaloterias(DatabaseGateway& db, const QString& vendor,
                                  const ActivationChoice& choice) {
    return db.callPositional(u"activaloterias"_s, {vendor, choice.codes, choice.flags});
}

}  // namespace vendura
