#include "eqdyn/xover_response.h"

#include <array>
#include <cmath>

#include "eqdyn/band_response.h"

namespace velmark {
namespace {

// A slope is the weighted sum (in dB) of at most two prototype magnitudes.
enum class Family { kNone, kButterworth, kBessel };
struct Term {
  Family family = Family::kNone;
  int order = 0;      // Butterworth order n
  double bessel = 0;  // Bessel corner factor k
  double weight = 0;  // 2 for the squared (Linkwitz-Riley and 4th-order Bessel) shapes
};
struct Slope {
  Term first, second;
};

constexpr Term Bw(int n, double weight = 1.0) {
  return {Family::kButterworth, n, 0.0, weight};
}
constexpr Term Bs(double k, double weight = 1.0) {
  return {Family::kBessel, 2, k, weight};
}

constexpr Term kNoTerm{};

inline constexpr std::array<Slope, kXoverSlopeCount> kSlopes = {{
    {kNoTerm, kNoTerm},         // "  No cut-off"
    {Bw(1), kNoTerm},           // "- 6 dB/oct Bw"
    {Bw(2), kNoTerm},           // "-12dB/oct Bw"
    {Bw(1, 2.0), kNoTerm},      // "-12dB/oct Lz"
    {Bs(0.52), kNoTerm},        // "-12dB/oct Bs"
    {Bw(3), kNoTerm},           // "-18dB/oct Bw"
    {Bw(4), kNoTerm},           // "-24dB/oct Bw"
    {Bw(2, 2.0), kNoTerm},      // "-24dB/oct Lz"
    {Bs(0.649, 2.0), kNoTerm},  // "-24dB/oct Bs"
    {Bw(6), kNoTerm},           // "-36dB/oct Bw"
    {Bw(4), Bw(2)},             // "-36dB/oct Lz"
    {Bw(8), kNoTerm},           // "-48dB/oct Bw"
    {Bw(4, 2.0), kNoTerm},      // "-48dB/oct Lz"
}};

double IntPower(double x, int n) {
  double r = 1.0;
  for (int i = 0; i < n; ++i) r *= x;
  return r;
}

// dB of one prototype. Butterworth: fc^n/√(f^2n + fc^2n) (low-pass) and f^n/√(f^2n + fc^2n)
// (high-pass), i.e. −10·log10(1 + r^2n) with r = f/fc or fc/f. Bessel: 3/√((3 − u²)² + (3u)²)
// with u = f/(k·fc) (low-pass); the high-pass 3f²/√((fb² − 3f²)² + (3·f·fb)²) with fb = fc/k is
// the same expression in u = fb/f.
double TermDb(const Term& t, bool high_pass, double fc, double f) {
  switch (t.family) {
    case Family::kNone:
      return 0.0;
    case Family::kButterworth: {
      const double r = high_pass ? fc / f : f / fc;
      return -10.0 * t.weight * std::log10(1.0 + IntPower(r * r, t.order));
    }
    case Family::kBessel: {
      const double u = high_pass ? (fc / t.bessel) / f : f / (fc * t.bessel);
      const double u2 = u * u;
      const double d = ((3.0 - u2) * (3.0 - u2) + 9.0 * u2) / 9.0;
      return -10.0 * t.weight * std::log10(d);
    }
  }
  return 0.0;
}

double SlopeDb(const Slope& s, bool high_pass, double fc, double f) {
  const double first = TermDb(s.first, high_pass, fc, f);
  if (s.second.family == Family::kNone) return first;
  return first + TermDb(s.second, high_pass, fc, f);
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
  return SlopeDb(kSlopes[slope], high_pass, SaneFrequency(fc), SaneFrequency(f));
}

bool XoverCurveDb(int slope, bool high_pass, double fc, Curve& out) {
  if (!KnownSlope(slope)) return false;
  const Slope& s = kSlopes[slope];
  if (s.first.family == Family::kNone) {
    out.fill(0.0);
    return true;
  }
  fc = SaneFrequency(fc);
  for (int p = 0; p < kGridPoints; ++p) out[p] = SlopeDb(s, high_pass, fc, kGridHz[p]);
  return true;
}

}  // namespace velmark
