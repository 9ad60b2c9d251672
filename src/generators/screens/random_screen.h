#pragma once

#include "generators/screens/generator_screen.h"

#include <array>

class QPushButton;
class QTimer;

namespace vendura {

class RandomSource;

// Form14 "Jugada a la Suerte": three digits change ten times a second (hundreds and units 0 to
// 8, tens 1 to 9); the button or Enter stops them and sells the number shown as a straight play
// on the lotteries selected on the sales screen. The digits stay frozen: a further amount sells
// the same number again.
class RandomScreen : public GeneratorScreen {
    Q_OBJECT
  public:
    RandomScreen(SalesScreen& sales, RandomSource& random);
    void sell() override;
    QString number() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void draw();

    RandomSource& random_;
    std::array<QLabel*, 3> digits_{};
    QPushButton* command1_ = nullptr;
    QTimer* timer1_ = nullptr;
};

}  // namespace vendura
