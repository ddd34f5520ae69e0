#include "dsp/BiQuad.h"

#include <cmath>

#include "dsp/NumericHelpers.h"
#include "dsp/PortableMath.h"

namespace {
constexpr float kPi = 3.1415927f;
constexpr float kTwoPi = 6.2831855f;

// Angular frequency of a normalised frequency, clamped to [0, pi]; NaN
// gives 0.
double clampedOmega(float freq)
{
    float w = freq * kTwoPi;
    if (w >= kPi)
        w = kPi;
    double w0 = w;
    if (!(w0 > 0.0))
        w0 = 0.0;
    return w0;
}

// Linear gain of a decibel value, optionally with inverted polarity.
double outputGain(float gainDb, bool invert)
{
    const double g = std::pow(10.0, gainDb * 0.05);
    return invert ? -g : g;
}

// Square root of the linear gain of a shelf or bell.
double shelfAmplitude(float db)
{
    return std::pow(10.0, db * 0.025);
}

struct Prototype
{
    double c;
    double alpha;
};

Prototype prototype(float freq, float q)
{
    const double w0 = clampedOmega(freq);
    return {std::cos(w0), std::sin(w0) / (2.0 * static_cast<double>(q))};
}
} // namespace

CBiQuad::~CBiQuad() = default;

void CBiQuad::design(double nb0, double nb1, double nb2, double na0, double na1, double na2)
{
    db0 = nb0;
    db1 = nb1;
    db2 = nb2;
    da0 = na0;
    da1 = na1;
    da2 = na2;
    updateCoefficients();
}

void CBiQuad::updateCoefficients()
{
    const double r = 1.0 / da0;
    b0 = static_cast<float>(db0 * r);
    b1 = static_cast<float>(db1 * r);
    b2 = static_cast<float>(db2 * r);
    a1 = static_cast<float>(da1 * r);
    a2 = static_cast<float>(da2 * r);
}

void CBiQuad::setPassThrough()
{
    db0 = 1.0;
    db1 = 0.0;
    db2 = 0.0;
    da0 = 1.0;
    da1 = 0.0;
    da2 = 0.0;
    b0 = 1.0f;
    b1 = 0.0f;
    b2 = 0.0f;
    a1 = 0.0f;
    a2 = 0.0f;
}

void CBiQuad::setGain(float gainDb, bool invert)
{
    const double G = outputGain(gainDb, invert);
    setPassThrough();
    da0 = 1.0;
    db0 = G;
    updateCoefficients();
}

// Cookbook low-pass.
void CBiQuad::setLowPass(float freq, float q, float gainDb, bool invert)
{
    const Prototype p = prototype(freq, q);
    const double G = outputGain(gainDb, invert);
    const double n = 1.0 - p.c;
    design(n * G / 2.0, n * G, n * G / 2.0, 1.0 + p.alpha, -2.0 * p.c, 1.0 - p.alpha);
}

// Cookbook high-pass.
void CBiQuad::setHighPass(float freq, float q, float gainDb, bool invert)
{
    const Prototype p = prototype(freq, q);
    const double G = outputGain(gainDb, invert);
    const double n = 1.0 + p.c;
    design(n * G / 2.0, -n * G, n * G / 2.0, 1.0 + p.alpha, -2.0 * p.c, 1.0 - p.alpha);
}

// Cookbook low shelf.
void CBiQuad::setLowShelf(float freq, float shelfDb, float q, float gainDb, bool invert)
{
    const double A = shelfAmplitude(shelfDb);
    const Prototype p = prototype(freq, q);
    const double G = outputGain(gainDb, invert);
    const double c = p.c;
    const double k = (2.0 * std::sqrt(A)) * p.alpha;
    design(A * ((A + 1.0) - (A - 1.0) * c + k) * G, 2.0 * A * ((A - 1.0) - (A + 1.0) * c) * G,
           A * ((A + 1.0) - (A - 1.0) * c - k) * G, (A + 1.0) + (A - 1.0) * c + k,
           -2.0 * ((A - 1.0) + (A + 1.0) * c), (A + 1.0) + (A - 1.0) * c - k);
}

// Cookbook high shelf.
void CBiQuad::setHighShelf(float freq, float shelfDb, float q, float gainDb, bool invert)
{
    const double A = shelfAmplitude(shelfDb);
    const Prototype p = prototype(freq, q);
    const double G = outputGain(gainDb, invert);
    const double c = p.c;
    const double k = (2.0 * std::sqrt(A)) * p.alpha;
    design(A * ((A + 1.0) + (A - 1.0) * c + k) * G, -2.0 * A * ((A - 1.0) + (A + 1.0) * c) * G,
           A * ((A + 1.0) + (A - 1.0) * c - k) * G, (A + 1.0) - (A - 1.0) * c + k,
           2.0 * ((A - 1.0) - (A + 1.0) * c), (A + 1.0) - (A - 1.0) * c - k);
}

// Cookbook peaking equaliser.
void CBiQuad::setPeak(float freq, float peakDb, float q, float gainDb, bool invert)
{
    const double A = shelfAmplitude(peakDb);
    const Prototype p = prototype(freq, q);
    const double G = outputGain(gainDb, invert);
    design((1.0 + p.alpha * A) * G, -2.0 * p.c * G, (1.0 - p.alpha * A) * G, 1.0 + p.alpha / A,
           -2.0 * p.c, 1.0 - p.alpha / A);
}

// Cookbook all-pass.
void CBiQuad::setAllPass(float freq, float q, float gainDb, bool invert)
{
    const Prototype p = prototype(freq, q);
    const double G = outputGain(gainDb, invert);
    design((1.0 - p.alpha) * G, -2.0 * p.c * G, (1.0 + p.alpha) * G, 1.0 + p.alpha, -2.0 * p.c,
           1.0 - p.alpha);
}

// Peaking section with prescribed Nyquist-frequency gain: reference gain 1,
// band edges where the gain is half the peak in decibels, the Nyquist gain
// taken from the analog prototype so the top octave is not cramped.
void CBiQuad::setMatchedPeak(float freq, float peakDb, float q, float gainDb)
{
    // A 0 dB bell would make the band-edge ratios 0/0.
    const double e = std::fabs(peakDb) >= 0.0001f ? peakDb * 0.05 : 0.000005;
    const double G = std::pow(10.0, e);

    float wf = freq * kTwoPi;
    if (wf >= kPi)
        wf = kPi;
    const double w0 = wf;
    const double K = std::pow(10.0, gainDb * 0.05);

    const double rootG = std::sqrt(G);
    const double GB2 = rootG * rootG;
    const double G2 = G * G;
    const double dw = w0 / static_cast<double>(q);

    const double F = G2 - GB2;
    const double F00 = GB2 - 1.0;
    const double G00 = G2 - 1.0;

    constexpr double kPiSquared = 9.869604950382893;
    constexpr double kPiD = 3.1415927410125732;
    const double P = (kPiSquared - w0 * w0) * (kPiSquared - w0 * w0);

    const double R = std::sqrt(F00 / F) * dw;
    const double G1 = std::sqrt(((R * G) * (R * G) * kPiD * kPiD + P) / (R * R * kPiD * kPiD + P));

    const double tanHalf = portableTan(w0 / 2.0);
    const double T = tanHalf * tanHalf;
    const double G11 = G2 - G1 * G1;
    const double W2 = std::sqrt(G11 / G00) * T;

    const double w1 = std::sqrt(4.0 * w0 * w0 + dw * dw) * 0.5 - dw * 0.5;
    const double tanHalf1 = portableTan(w1 / 2.0);
    const double T1 = tanHalf1 * tanHalf1;

    // Each squared difference is formed before it is scaled: the last bit of
    // every coefficient depends on this order.
    const double Bsq = (GB2 * G2 * sqr(T1 - W2) - G2 * sqr(G1 * T1 - W2)) / (F * T1) -
                       (GB2 * G2 * sqr(T - W2) - GB2 * sqr(G1 * T - W2)) / (F * T);
    const double B = std::sqrt(Bsq);
    const double Asq = (Bsq * T + sqr(G1 * T - W2) - G2 * sqr(T - W2)) / (G2 * T);
    const double A = std::sqrt(Asq);

    design((W2 + G1 + B) * K, -2.0 * K * (G1 - W2), (G1 - B + W2) * K, 1.0 + W2 + A,
           -2.0 * (1.0 - W2), 1.0 + W2 - A);
}

// First K-weighting stage: a +4 dB high shelf at 1682 Hz.
void CBiQuad::setKWeightingShelf(float sampleRate)
{
    const double fs = static_cast<double>(clampSampleRate(sampleRate));
    const double Vh = std::pow(10.0, 0.2);
    const double Vb = std::sqrt(Vh);
    const double K = portableTan(5284.158990383148 / fs);
    constexpr double r = 1.4142135865763297;
    const double K2 = K * K;
    design(Vh + Vb * K * r + K2, 2.0 * (K2 - Vh), Vh - Vb * K * r + K2, 1.0 + K * r + K2,
           2.0 * (K2 - 1.0), 1.0 - K * r + K2);
}

// Second K-weighting stage: a 38 Hz high-pass whose numerator stays
// unscaled, as in the loudness standard.
void CBiQuad::setKWeightingHighPass(float sampleRate)
{
    const double fs = static_cast<double>(clampSampleRate(sampleRate));
    const double K = portableTan(119.38052415847778 / fs);
    const double K2 = K * K;
    const double d = 1.0 / (1.0 + 2.0 * K + K2);
    design(1.0, -2.0, 1.0, 1.0, 2.0 * (K2 - 1.0) * d, (1.0 - 2.0 * K + K2) * d);
}

float CBiQuad::getPowerResponse(float freq) const
{
    const float s = floatSin(freq * kPi);
    const double twoS = 2.0 * static_cast<double>(s);
    const double phi = twoS * twoS;
    const double sb = db0 + db1 + db2;
    const double sa = da0 + da1 + da2;
    const double N = sb * sb + phi * (db0 * db2 * phi - (db1 * (db0 + db2) + 4.0 * db0 * db2));
    const double D = sa * sa + phi * (da0 * da2 * phi - (da1 * (da0 + da2) + 4.0 * da0 * da2));
    return static_cast<float>(N / D);
}
