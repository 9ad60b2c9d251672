#pragma once

#include "platform/record_set.h"
#include "sales/sale_result.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace vendura {

class LotteryCatalog;

// A special play the sales point may sell ("DSPjugadase").
struct SpecialPlay {
    QString code;  // at most 3 characters
    QString description;
    // "TRI TRIPLETAS": the caption of Frame2, whose first word is the code.
    QString caption() const { return code + QStringLiteral(" ") + description; }
};

// One variant of a special ("DSPjugadeta").
struct SpecialVariant {
    QString especial;
    QString jugada;  // one character
    QString description;
    // List2's entry: the description, 50 blanks, the code (its last character).
    QString entry() const { return description + QString(50, u' ') + jugada.trimmed(); }
};

// The special plays assigned to the sales point and their variants, read at load.
class SpecialCatalog {
  public:
    SpecialCatalog() = default;
    SpecialCatalog(const RecordSet& especiales, const RecordSet& detalles);

    const std::vector<SpecialPlay>& plays() const { return plays_; }
    const SpecialPlay* find(const QString& code) const;
    // List1: the lotteries of the day that offer the special, in catalogue order, leaving out
    // those reported closed since load (three characters a code in loteriascerradas).
    QStringList lotteryEntries(const QString& code, const LotteryCatalog& rsloterias,
                               const QString& loteriascerradas) const;
    // List2: the special's variants.
    QStringList variantEntries(const QString& code) const;
    QString variantDescription(const QString& code, const QString& jugada) const;

  private:
    std::vector<SpecialPlay> plays_;
    std::vector<SpecialVariant> variants_;
};

// primerapalabra: the text up to its first blank.
QString primerapalabra(const QString& text);
// The variant code of a List2 entry: its last character.
QString variantCode(const QString& entry);

// What is selected in the special-play panel of the sales screen, as the special generators
// read it: the special code (first word of Frame2's caption), the selected List1 entries and
// the selected List2 entries, each in list order.
struct SpecialSelection {
    QString especial;
    QStringList lotteryEntries;
    QStringList variantEntries;

    // @T_COD_LOT: the lottery codes joined with no separator.
    QString lotteryCodes() const;
    // @XJUGADA: the variant codes joined with no separator.
    QString variantCodes() const;
};

// The items one special play books, in the order the server numbers them: lottery by lottery
// in list order and, within a lottery, variant by variant in list order.
std::vector<PlannedItem> specialItems(const SpecialSelection& selection, const QString& number,
                                      Money amount, const SpecialCatalog& catalog);

}  // namespace vendura
