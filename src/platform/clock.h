#pragma once

#include <QDateTime>

namespace vendura {

// The local clock of the counter machine (journal names and clean-up).
class Clock {
  public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

class SystemClock final : public Clock {
  public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

// Whole numbers drawn at random; ticket serials and keys come from here.
class RandomSource {
  public:
    virtual ~RandomSource() = default;
    // A number from 1 to 2000000001, both included.
    virtual quint32 ticketNumber() = 0;
};

// The operating system's cryptographic generator: a serial nobody can guess.
class SystemRandom final : public RandomSource {
  public:
    quint32 ticketNumber() override;
};

}  // namespace vendura
