#include "eqdyn/band_response.h"
#include "eqdyn/decibels.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <type_traits>

namespace velmark {
namespace {

// Each formula is rewritten so that one logarithm per point suffices and no intermediate power
// of a frequency can overflow; the rewritten forms are algebraically the closed forms:
//   dB(N/D) = 20·log10(N) − 20·log10(D) with N, D square roots becomes 10·log10(N²/D²),
//   a shelf's factor A = 10^(G/40) in front of the root contributes exactly G/2 dB.
enum class Kind {
  kFlat,       // all-pass and unknown types
  kDbBell,     // Bell and Notch: amplitude / (1 + P²(f0/f − f/f0)²)
  kLowPass1,   // dB(f0 / √(f² + f0²))
  kLowPass2,   // dB(f0² / √(f⁴ + f0⁴))
  kLowPassQ,   // dB(1 / √((1 − x²)² + x²/P²))
  kHighPass1,  // dB(f / √(f² + f0²))
  kHighPass2,  // dB(f² / √(f⁴ + f0⁴))
  kHighPassQ,  // dB(x² / √((1 − x²)² + x²/P²))
  kBandPass,  // dB((x·A/P) / √((1 − x²)² + (x/P)²)) = G − 10·log10(1 + P²(1/x − x)²)
  kHighShelf,  // A·√((1 − Ay)² + κAy) / √((A − y)² + κAy)
  kLowShelf,   // A·√((A − y)² + κAy) / √((1 − Ay)² + κAy)
};

inline constexpr std::array<Kind, kEqTypeCount> kKindOfType = {
    Kind::kDbBell,    Kind::kHighShelf, Kind::kHighShelf, Kind::kHighShelf, Kind::kLowShelf,
    Kind::kLowShelf,  Kind::kLowShelf,  Kind::kLowPass1,  Kind::kLowPass2,  Kind::kLowPassQ,
    Kind::kHighPass1, Kind::kHighPass2, Kind::kHighPassQ, Kind::kBandPass,  Kind::kDbBell,
    Kind::kFlat,      Kind::kFlat};

// Shelving types 1..6: which corner table moves the corner frequency, by what fixed factor, and
// the damping term κ of κ·A·y (A/0.3 for the first-order shapes, A for the second-order ones,
// A/Qh² for the Q shapes, Qh = Q/2).
enum class Corner { kNone, kTable1, kTable2 };
enum class Damping { kFirstOrder, kSecondOrder, kQ };
struct ShelfForm {
  Corner corner;
  double corner_scale;  // high shelves divide f0 by scale × table entry, low ones multiply
  Damping damping;
};
inline constexpr std::array<ShelfForm, 6> kShelfForms = {{
    {Corner::kTable1, 1.0, Damping::kFirstOrder},    // 1 HiSh1
    {Corner::kTable2, 0.97, Damping::kSecondOrder},  // 2 HiSh2: the only one with 0.97
    {Corner::kNone, 1.0, Damping::kQ},               // 3 HiShQ
    {Corner::kTable1, 1.0, Damping::kFirstOrder},    // 4 LoSh1
    {Corner::kTable2, 1.0, Damping::kSecondOrder},   // 5 LoSh2
    {Corner::kNone, 1.0, Damping::kQ},               // 6 LoShQ
}};

inline constexpr double kNotchDepthDb = -45.0;

// A band reduced to the constants its formula needs.
struct Band {
  Kind kind = Kind::kFlat;
  double f0 = kFallbackFreqHz;  // f0, or the shelf corner fc
  double inv_f0 = 1.0 / kFallbackFreqHz;
  double log_scale = -10.0;  // dB = amp + log_scale · log10(argument)
  double amp = 0;            // dB-domain bell amplitude, band-pass gain, or shelf G/2
  double p2 = 0;             // P² (bell, notch, band-pass)
  double inv_p2 = 0;         // 1/P² (LP-Q, HP-Q)
  double a = 1;              // shelf A = 10^(G/40)
  double ka = 0;             // shelf κ·A
};

double CornerFactor(const ShelfForm& form, double gain_db) {
  const int c = ShelfCornerIndex(gain_db);
  switch (form.corner) {
    case Corner::kTable1:
      return form.corner_scale * ShelfCorner1[c];
    case Corner::kTable2:
      return form.corner_scale * ShelfCorner2[c];
    case Corner::kNone:
      break;
  }
  return 1.0;
}

Band PrepareShelf(int type, double f0, double g, double q) {
  const ShelfForm& form = kShelfForms[type - 1];
  const bool high = kKindOfType[type] == Kind::kHighShelf;
  Band b;
  b.kind = kKindOfType[type];
  const double factor = CornerFactor(form, g);
  b.f0 = high ? f0 / factor : f0 * factor;
  b.inv_f0 = 1.0 / b.f0;
  b.log_scale = 10.0;
  b.a = std::pow(10.0, g / 40.0);
  b.amp = g / 2.0;
  switch (form.damping) {
    case Damping::kFirstOrder:
      b.ka = b.a / 0.3;
      break;
    case Damping::kSecondOrder:
      b.ka = b.a;
      break;
    case Damping::kQ: {
      const double qh = q / 2.0;
      b.ka = b.a / (qh * qh);
      break;
    }
  }
  return b;
}

Band PrepareBand(int type, double f0, double gain_db, double q) {
  Band b;
  if (type < 0 || type >= kEqTypeCount) return b;  // unknown type: 0 dB
  b.kind = kKindOfType[type];
  f0 = SaneFrequency(f0);
  const double g = SaneGain(gain_db);
  q = SaneQ(q);
  if (b.kind == Kind::kHighShelf || b.kind == Kind::kLowShelf) return PrepareShelf(type, f0, g, q);

  b.f0 = f0;
  b.inv_f0 = 1.0 / f0;
  double p = q;  // types 7..12
  if (type == 0) {
    // Loud bells are drawn wider: k grows from 1 at 6 dB to 2.1 at 15 dB.
    const double mag = std::fabs(g);
    const double k = mag > 6.0 ? 1.0 + (mag - 6.0) * 1.1 / 9.0 : 1.0;
    p = q / k;
    b.amp = g;
  } else if (type >= 13) {
    p = q + 11.0;  // Q = code + 4, so P = code + 15
    b.amp = type == 14 ? kNotchDepthDb : g;
  }
  b.p2 = p * p;
  b.inv_p2 = 1.0 / b.p2;
  return b;
}

// Argument of the logarithm of each logarithmic kind, from f and 1/f (the grid keeps both, so
// the curve loops below multiply instead of dividing and can run several points at once).
template <Kind K>
inline double LogArg(const Band& b, double f, double inv_f) {
  if constexpr (K == Kind::kLowPass1 || K == Kind::kHighPass1) {
    const double r = K == Kind::kLowPass1 ? f * b.inv_f0 : b.f0 * inv_f;
    return 1.0 + r * r;
  } else if constexpr (K == Kind::kLowPass2 || K == Kind::kHighPass2) {
    const double r = K == Kind::kLowPass2 ? f * b.inv_f0 : b.f0 * inv_f;
    const double r2 = r * r;
    return 1.0 + r2 * r2;
  } else if constexpr (K == Kind::kLowPassQ || K == Kind::kHighPassQ) {
    const double x = f * b.inv_f0;
    const double x2 = x * x;
    const double d = (1.0 - x2) * (1.0 - x2) + x2 * b.inv_p2;
    return K == Kind::kLowPassQ ? d : d / (x2 * x2);
  } else if constexpr (K == Kind::kBandPass) {
    const double t = b.f0 * inv_f - f * b.inv_f0;  // 1/x − x
    return 1.0 + b.p2 * t * t;
  } else {
    static_assert(K == Kind::kHighShelf || K == Kind::kLowShelf);
    const double r = f * b.inv_f0;
    const double y = r * r;
    const double u = 1.0 - b.a * y, v = b.a - y, damp = b.ka * y;
    const double boost = u * u + damp, cut = v * v + damp;
    return K == Kind::kHighShelf ? boost / cut : cut / boost;
  }
}

inline double DbBell(const Band& b, double f, double inv_f) {
  const double t = b.f0 * inv_f - f * b.inv_f0;  // f0/f − f/f0
  return b.amp / (1.0 + b.p2 * t * t);
}

inline double FromLog10(const Band& b, double log10_arg) {
  return b.amp + b.log_scale * log10_arg;
}

template <Kind K>
void FillLogCurve(const Band& b, Curve& out) {
  for (int p = 0; p < kGridPoints; ++p) out[p] = LogArg<K>(b, kGridHz[p], kGridInvHz[p]);
  DecimalLogInPlace(out);
  for (int p = 0; p < kGridPoints; ++p) out[p] = FromLog10(b, out[p]);
}

// Calls fn with the band's kind as a compile-time constant; false for the non-log kinds.
template <typename Fn>
bool WithLogKind(Kind kind, Fn&& fn) {
  switch (kind) {
    case Kind::kLowPass1:
      fn(std::integral_constant<Kind, Kind::kLowPass1>{});
      return true;
    case Kind::kLowPass2:
      fn(std::integral_constant<Kind, Kind::kLowPass2>{});
      return true;
    case Kind::kLowPassQ:
      fn(std::integral_constant<Kind, Kind::kLowPassQ>{});
      return true;
    case Kind::kHighPass1:
      fn(std::integral_constant<Kind, Kind::kHighPass1>{});
      return true;
    case Kind::kHighPass2:
      fn(std::integral_constant<Kind, Kind::kHighPass2>{});
      return true;
    case Kind::kHighPassQ:
      fn(std::integral_constant<Kind, Kind::kHighPassQ>{});
      return true;
    case Kind::kBandPass:
      fn(std::integral_constant<Kind, Kind::kBandPass>{});
      return true;
    case Kind::kHighShelf:
      fn(std::integral_constant<Kind, Kind::kHighShelf>{});
      return true;
    case Kind::kLowShelf:
      fn(std::integral_constant<Kind, Kind::kLowShelf>{});
      return true;
    case Kind::kFlat:
    case Kind::kDbBell:
      break;
  }
  return false;
}

}  // namespace

double SaneFrequency(double hz) {
  if (!(hz >= kMinFreqHz)) return kFallbackFreqHz;
  return std::min(hz, kMaxFreqHz);
}

double SaneGain(double db) {
  if (!std::isfinite(db)) return 0.0;
  return std::clamp(db, -kMaxGainDb, kMaxGainDb);
}

double SaneQ(double q) {
  if (!(q >= kMinQ)) return kMinQ;
  return std::min(q, kMaxQ);
}

int ShelfCornerIndex(double gain_db) {
  const double code = std::nearbyint(2.0 * SaneGain(gain_db) + 30.0);
  return static_cast<int>(std::clamp(code, 0.0, 60.0));
}

double BandMagnitudeDb(int type, double f0, double gain_db, double q, double f) {
  const Band b = PrepareBand(type, f0, gain_db, q);
  f = SaneFrequency(f);
  const double inv_f = 1.0 / f;
  if (b.kind == Kind::kDbBell) return DbBell(b, f, inv_f);
  double db = 0.0;
  WithLogKind(b.kind,
              [&](auto kind) { db = FromLog10(b, DecimalLog(LogArg<kind.value>(b, f, inv_f))); });
  return db;
}

void BandCurveDb(int type, double f0, double gain_db, double q, Curve& out) {
  const Band b = PrepareBand(type, f0, gain_db, q);
  if (b.kind == Kind::kDbBell && b.amp != 0.0) {
    for (int p = 0; p < kGridPoints; ++p) out[p] = DbBell(b, kGridHz[p], kGridInvHz[p]);
    return;
  }
  // A bell of 0 dB is flat as well.
  if (!WithLogKind(b.kind, [&](auto kind) { FillLogCurve<kind.value>(b, out); })) out.fill(0.0);
}

}  // namespace velmark
