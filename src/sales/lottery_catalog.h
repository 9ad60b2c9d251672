#pragma once

#include "platform/record_set.h"

#include <QString>
#include <QStringList>

namespace vendura {

// One lottery as "xdsplot" describes it.
struct Lottery {
    QString code;           // COD_LOT, trimmed
    QString description;    // desc_lot, trimmed
    QString juegaEspecial;  // "N", "S" or "A"
    QString especial;
    bool open = false;

    // "ZUL - ZULIA 12:45 PM": an entry of the lottery lists.
    QString entry() const { return code + QStringLiteral(" - ") + description; }
};

// The lotteries of the day (rsloterias), looked up by code.
class LotteryCatalog {
  public:
    LotteryCatalog() = default;
    explicit LotteryCatalog(const RecordSet& rows);

    const std::vector<Lottery>& all() const { return lotteries_; }
    const Lottery* find(const QString& code) const;
    // Entries for L_Loterias: every lottery that is not sold through special plays only.
    QStringList straightPlayEntries() const;

  private:
    std::vector<Lottery> lotteries_;
};

// The lottery code of a list entry: its first three characters, trimmed.
QString entryCode(const QString& entry);
// The codes of the selected entries, in list order, joined with no separator (@T_COD_LOT).
QString codeList(const QStringList& selectedEntries);

}  // namespace vendura
