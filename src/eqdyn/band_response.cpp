#include "eqdyn/band_response.h"

#include <algorithm>
#include <array>
#include <cmath>

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
  double amp = 0;               // dB-domain bell amplitude, band-pass gain, or shelf G/2
  double p2 = 0;                // P² (bell, notch, band-pass)
  double inv_p2 = 0;            // 1/P² (LP-Q, HP-Q)
  double a = 1;                 // shelf A = 10^(G/40)
  double ka = 0;                // shelf κ·A
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

inline double Eval(const Band& b, double f) {
  switch (b.kind) {
    case Kind::kFlat:
      return 0.0;
    case Kind::kDbBell: {
      const double t = b.f0 / f - f / b.f0;
      return b.amp / (1.0 + b.p2 * t * t);
    }
    case Kind::kLowPass1: {
      const double r = f / b.f0;
      return -10.0 * std::log10(1.0 + r * r);
    }
    case Kind::kLowPass2: {
      const double r2 = (f / b.f0) * (f / b.f0);
      return -10.0 * std::log10(1.0 + r2 * r2);
    }
    case Kind::kHighPass1: {
      const double r = b.f0 / f;
      return -10.0 * std::log10(1.0 + r * r);
    }
    case Kind::kHighPass2: {
      const double r2 = (b.f0 / f) * (b.f0 / f);
      return -10.0 * std::log10(1.0 + r2 * r2);
    }
    case Kind::kLowPassQ:
    case Kind::kHighPassQ: {
      const double x = f / b.f0;
      const double x2 = x * x;
      const double d = (1.0 - x2) * (1.0 - x2) + x2 * b.inv_p2;
      return -10.0 * std::log10(b.kind == Kind::kLowPassQ ? d : d / (x2 * x2));
    }
    case Kind::kBandPass: {
      const double x = f / b.f0;
      const double t = 1.0 / x - x;
      return b.amp - 10.0 * std::log10(1.0 + b.p2 * t * t);
    }
    case Kind::kHighShelf:
    case Kind::kLowShelf: {
      const double y = (f / b.f0) * (f / b.f0);
      const double u = 1.0 - b.a * y, v = b.a - y, damp = b.ka * y;
      const double boost = u * u + damp, cut = v * v + damp;
      return b.amp + 10.0 * std::log10(b.kind == Kind::kHighShelf ? boost / cut : cut / boost);
    }
  }
  return 0.0;
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
  return Eval(PrepareBand(type, f0, gain_db, q), SaneFrequency(f));
}

void BandCurveDb(int type, double f0, double gain_db, double q, Curve& out) {
  const Band b = PrepareBand(type, f0, gain_db, q);
  if (b.kind == Kind::kFlat) {
    out.fill(0.0);
    return;
  }
  for (int p = 0; p < kGridPoints; ++p) out[p] = Eval(b, kGridHz[p]);
}

}  // namespace velmark
