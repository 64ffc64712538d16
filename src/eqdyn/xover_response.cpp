#include "eqdyn/xover_response.h"

#include <array>
#include <cmath>
#include <type_traits>

#include "eqdyn/band_response.h"
#include "eqdyn/decibels.h"

namespace velmark {
namespace {

// A slope is w · dB of a prototype magnitude: Butterworth of one order or, for "-36dB/oct Lz",
// the product BW4 · BW2; Linkwitz-Riley and 4th-order Bessel shapes are squares (w = 2).
enum class Family { kNone, kButterworth, kBessel };
struct Slope {
  Family family;
  int order;        // Butterworth order n
  int extra_order;  // order of a second Butterworth factor, 0 if none
  double bessel;    // Bessel corner factor k
  double weight;
};

inline constexpr std::array<Slope, kXoverSlopeCount> kSlopes = {{
    {Family::kNone, 0, 0, 0, 0},         // "  No cut-off"
    {Family::kButterworth, 1, 0, 0, 1},  // "- 6 dB/oct Bw"
    {Family::kButterworth, 2, 0, 0, 1},  // "-12dB/oct Bw"
    {Family::kButterworth, 1, 0, 0, 2},  // "-12dB/oct Lz"
    {Family::kBessel, 2, 0, 0.52, 1},    // "-12dB/oct Bs"
    {Family::kButterworth, 3, 0, 0, 1},  // "-18dB/oct Bw"
    {Family::kButterworth, 4, 0, 0, 1},  // "-24dB/oct Bw"
    {Family::kButterworth, 2, 0, 0, 2},  // "-24dB/oct Lz"
    {Family::kBessel, 2, 0, 0.649, 2},   // "-24dB/oct Bs"
    {Family::kButterworth, 6, 0, 0, 1},  // "-36dB/oct Bw"
    {Family::kButterworth, 4, 2, 0, 1},  // "-36dB/oct Lz"
    {Family::kButterworth, 8, 0, 0, 1},  // "-48dB/oct Bw"
    {Family::kButterworth, 4, 0, 0, 2},  // "-48dB/oct Lz"
}};

// Butterworth: BWn = fc^n/√(f^2n + fc^2n) (low-pass) or f^n/√(f^2n + fc^2n) (high-pass), so
// dB(BWn) = −10·log10(1 + r^2n) with r = f/fc or fc/f.
template <int N>
inline double BwArg(double r) {
  const double r2 = r * r;
  double power = r2;
  for (int i = 1; i < N; ++i) power *= r2;
  return 1.0 + power;
}

// Calls fn(arg, scale) where the slope's dB at f is scale · log10(arg(f, 1/f)); the grid holds
// both f and 1/f, so the loops multiply instead of dividing.
template <typename Fn>
void WithSlope(const Slope& s, bool high_pass, double fc, Fn&& fn) {
  const double scale = -10.0 * s.weight;
  if (s.family == Family::kBessel) {
    // BS = 3/√((3 − u²)² + (3u)²), u = f/fb with fb = k·fc (low-pass); the high-pass
    // 3f²/√((fb² − 3f²)² + (3·f·fb)²) with fb = fc/k is the same expression in u = fb/f.
    const double fb = high_pass ? fc / s.bessel : fc * s.bessel, inv_fb = 1.0 / fb;
    fn(
        [=](double f, double inv_f) {
          const double u = high_pass ? fb * inv_f : f * inv_fb;
          const double u2 = u * u;
          return ((3.0 - u2) * (3.0 - u2) + 9.0 * u2) / 9.0;
        },
        scale);
    return;
  }
  const double inv_fc = 1.0 / fc;
  const auto ratio = [=](double f, double inv_f) { return high_pass ? fc * inv_f : f * inv_fc; };
  const auto bw = [&](auto order) {
    fn([=](double f, double inv_f) { return BwArg<order.value>(ratio(f, inv_f)); }, scale);
  };
  switch (s.order) {
    case 1:
      bw(std::integral_constant<int, 1>{});
      break;
    case 2:
      bw(std::integral_constant<int, 2>{});
      break;
    case 3:
      bw(std::integral_constant<int, 3>{});
      break;
    case 6:
      bw(std::integral_constant<int, 6>{});
      break;
    case 8:
      bw(std::integral_constant<int, 8>{});
      break;
    case 4:
      if (s.extra_order == 2) {
        fn(
            [=](double f, double inv_f) {
              const double r = ratio(f, inv_f);
              return BwArg<4>(r) * BwArg<2>(r);
            },
            scale);
      } else {
        bw(std::integral_constant<int, 4>{});
      }
      break;
    default:
      break;
  }
}

bool KnownSlope(int slope) {
  return slope >= 0 && slope < kXoverSlopeCount;
}

}  // namespace

int XoverSlopeIndex(double xover_type) {
  if (!std::isfinite(xover_type)) return -1;
  // Anything beyond the int range is far outside 0..12 anyway.
  constexpr double kLimit = 1e6;
  if (xover_type > kLimit || xover_type < -kLimit) return -1;
  return static_cast<int>(std::nearbyint(xover_type));
}

std::optional<double> XoverMagnitudeDb(int slope, bool high_pass, double fc, double f) {
  if (!KnownSlope(slope)) return std::nullopt;
  const Slope& s = kSlopes[slope];
  if (s.family == Family::kNone) return 0.0;
  f = SaneFrequency(f);
  double db = 0.0;
  WithSlope(s, high_pass, SaneFrequency(fc),
            [&](auto arg, double scale) { db = scale * DecimalLog(arg(f, 1.0 / f)); });
  return db;
}

bool XoverCurveDb(int slope, bool high_pass, double fc, Curve& out) {
  if (!KnownSlope(slope)) return false;
  const Slope& s = kSlopes[slope];
  if (s.family == Family::kNone) {
    out.fill(0.0);
    return true;
  }
  WithSlope(s, high_pass, SaneFrequency(fc), [&out](auto arg, double scale) {
    for (int p = 0; p < kGridPoints; ++p) out[p] = arg(kGridHz[p], kGridInvHz[p]);
    DecimalLogInPlace(out);
    for (int p = 0; p < kGridPoints; ++p) out[p] *= scale;
  });
  return true;
}

}  // namespace velmark
