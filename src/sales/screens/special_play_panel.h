#pragma once

#include "sales/special_play.h"

#include <QGroupBox>

class QKeyEvent;
class QLineEdit;
class QListWidget;

namespace vendura {

class FocusColours;
class SalesScreen;

// Frame2: the special-play entry that takes the place of the straight-play entry in special
// mode: the lotteries that offer the special (List1), its variants (List2), the number
// (Numero) and the amount (Monto), and the options of Frame3.
class SpecialPlayPanel : public QGroupBox {
    Q_OBJECT
  public:
    SpecialPlayPanel(SalesScreen& screen, FocusColours& colours);

    // Fills the lists for the special; false (and the lists left empty) when there is nothing
    // the seller could sell.
    bool fill(const SpecialPlay& play, const SpecialCatalog& catalog,
              const LotteryCatalog& rsloterias, const QString& loteriascerradas);
    // Leaving special mode: the number and the amount are cleared.
    void clearEntry();
    void clearSelection();
    // A lottery reported closed leaves List1 too.
    void dropLottery(const QString& code);
    SpecialSelection selection() const;

    // The keys of the special-mode table that act on the panel.
    void focusLotteries();
    void focusVariants();
    void focusNumber();
    void moveVariant(int step);
    void invertLotteries();

    QListWidget* lotteries() const { return list1_; }
    QListWidget* variants() const { return list2_; }
    QLineEdit* numero() const { return numero_; }
    QLineEdit* monto() const { return monto_; }

    // Keys inside the panel's fields; true when the key was used or discarded.
    bool fieldKey(QObject* watched, QKeyEvent* key);

  private:
    bool listKey(QListWidget* list, QKeyEvent* key);
    bool numberKey(QKeyEvent* key);
    bool amountKey(QKeyEvent* key);
    void sell();

    SalesScreen& screen_;
    QListWidget* list1_ = nullptr;
    QListWidget* list2_ = nullptr;
    QLineEdit* numero_ = nullptr;
    QLineEdit* monto_ = nullptr;
    QString typedAmount_;
};

}  // namespace vendura
