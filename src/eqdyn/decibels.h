#pragma once
// The decimal logarithm every response formula ends in. A full recomputation of a unit takes
// about 150000 of them, which dominate its cost, and the library's log cannot work on several
// points at once. Every response formula produces positive normal arguments; for those the
// logarithm below (the classic reduction x = 2^k · m, m in [√½, √2), with the well-known
// degree-7 minimax polynomial for log(1 + f)) is plain arithmetic that the compiler vectorises,
// with an error below one unit in the last place. Zero, subnormals, infinities, NaN and negative
// numbers go to the library.
//
// The scalar DecimalLog and the curve-wide DecimalLogInPlace do the same operations, so a curve and
// the same formula evaluated at one frequency agree exactly.

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>

#include "model/responses.h"

namespace velmark {
namespace detail {

inline constexpr double kInvLn10 = 1.0 / std::numbers::ln10;

constexpr bool IsPositiveNormal(double x) {
  return x >= std::numeric_limits<double>::min() && x <= std::numeric_limits<double>::max();
}

// ln x for a positive normal x.
inline double LogOfNormal(double x) {
  constexpr std::uint64_t kSqrtHalfBits = 0x3fe6a09e667f3bcd;
  constexpr std::uint64_t kMagic = 0x4330000000000000;  // 2^52: its low bits hold an integer
  // ln 2 split so that k · kLn2Hi is exact for every exponent k.
  constexpr double kLn2Hi = 6.93147180369123816490e-01, kLn2Lo = 1.90821492927058770002e-10;
  constexpr double kLg1 = 6.666666666666735130e-01, kLg2 = 3.999999999940941908e-01,
                   kLg3 = 2.857142874366239149e-01, kLg4 = 2.222219843214978396e-01,
                   kLg5 = 1.818357216161805012e-01, kLg6 = 1.531383769920937332e-01,
                   kLg7 = 1.479819860511658591e-01;
  const std::uint64_t bits = std::bit_cast<std::uint64_t>(x);
  // The top 12 bits of bits − bits(√½) are k as a 12-bit two's complement number; taking them
  // off x leaves m. Flipping their sign bit and subtracting 2048 gives k without a branch.
  const std::uint64_t top = (bits - kSqrtHalfBits) >> 52;
  const double m = std::bit_cast<double>(bits - (top << 52));
  const double k = std::bit_cast<double>((top ^ 0x800) | kMagic) - (0x1p52 + 2048.0);
  // log(1 + f) = f − f²/2 + s·(f²/2 + R(s²)) with s = f / (2 + f); R in two shorter chains.
  const double f = m - 1.0;
  const double s = f / (2.0 + f), z = s * s, w = z * z;
  const double even = w * (kLg2 + w * (kLg4 + w * kLg6));
  const double odd = z * (kLg1 + w * (kLg3 + w * (kLg5 + w * kLg7)));
  const double half_f2 = 0.5 * f * f;
  return k * kLn2Hi - ((half_f2 - (s * (half_f2 + (odd + even)) + k * kLn2Lo)) - f);
}

}  // namespace detail

inline double DecimalLog(double x) {
  if (!detail::IsPositiveNormal(x)) return std::log(x) * detail::kInvLn10;
  return detail::LogOfNormal(x) * detail::kInvLn10;
}

// True when every value is a positive normal number. Integer operations only, so that the
// check vectorises: with t = bits − bits(DBL_MIN), a positive normal x has t >> 53 below 1023.
inline bool AllPositiveNormal(const Curve& v) {
  std::uint64_t unusual = 0;
  for (int p = 0; p < kGridPoints; ++p) {
    const std::uint64_t t = std::bit_cast<std::uint64_t>(v[p]) - 0x0010000000000000;
    unusual |= ((t >> 53) + 1) & 0xC00;
  }
  return unusual == 0;
}

// v[p] = DecimalLog(v[p]) for every point.
inline void DecimalLogInPlace(Curve& v) {
  if (!AllPositiveNormal(v)) {
    for (double& x : v) x = DecimalLog(x);
    return;
  }
  for (double& x : v) x = detail::LogOfNormal(x) * detail::kInvLn10;
}

}  // namespace velmark
