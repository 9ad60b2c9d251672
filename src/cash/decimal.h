#pragma once

#include "platform/result.h"

#include <QString>
#include <QtGlobal>

#include <compare>

namespace vendura {

// An exact decimal number of the calculators: a 64-bit count of hundred-millionths. Sums and
// differences are exact; products and quotients are rounded half away from zero to eight
// decimals. Anything beyond about ±92 thousand million is refused, never wrapped.
class Decimal {
  public:
    static constexpr int kDecimals = 8;
    static constexpr qint64 kScale = 100000000;

    constexpr Decimal() = default;
    static constexpr Decimal whole(qint64 n) { return Decimal(n * kScale); }
    static constexpr Decimal fromUnits(qint64 units) { return Decimal(units); }
    // Digits with at most one decimal separator, "," or "."; an optional leading "-".
    static Result<Decimal> parse(const QString& text);

    constexpr qint64 units() const { return units_; }
    constexpr bool isZero() const { return units_ == 0; }

    Result<Decimal> plus(Decimal o) const;
    Result<Decimal> minus(Decimal o) const;
    Result<Decimal> times(Decimal o) const;
    Result<Decimal> dividedBy(Decimal o) const;

    // "1.234,5": thousands ".", decimals "," and no trailing zeros.
    QString display() const;

    constexpr auto operator<=>(const Decimal&) const = default;

  private:
    constexpr explicit Decimal(qint64 units) : units_(units) {}
    qint64 units_ = 0;
};

}  // namespace vendura
