#include "engine/CCPanner.h"

#include "engine/Processor.h"

#include <climits>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

namespace
{
// Sizes for the highest sample rate, so a rate change never reallocates.
constexpr int kFarDelayCapacity = 120;
constexpr int kCrossDelayCapacity = 47;

constexpr float kInitialAngle = 1e-8f;
constexpr float kOneSixtieth = 0.016666668f;
} // namespace

CCCPanner::CCCPanner()
    : sampleRate(CProcessor::kDefaultSampleRate),
      azimuth(kInitialAngle),
      elevation(kInitialAngle),
      smoothedAzimuth(0.0f),
      noise(&ownNoise),
      farDelay(kFarDelayCapacity),
      crossDelayA(kCrossDelayCapacity),
      crossDelayB(kCrossDelayCapacity)
{
    CCCPanner::reset();
    CCCPanner::updateFilters();
}

CCCPanner::~CCCPanner() = default;

void CCCPanner::process(const float* input, float* outLeft, float* outRight)
{
    processSample(*input, *outLeft, *outRight);
}

void CCCPanner::reset()
{
    azimuthSmoother.reset();
    outsideBassShelf.reset();
    farDelay.clear();
    farShelf.reset();
    crossDelayA.clear();
    crossDelayB.clear();
    crossShelfA.reset();
    crossShelfB.reset();
    elevationPeak.reset();
    elevationShelf.reset();
    smoothedAzimuth = 0.0f;
}

void CCCPanner::setSampleRate(float fs)
{
    const float clamped = clampSampleRate(fs);
    if (clamped == sampleRate)
        return;
    sampleRate = clamped;
    reset();
    updateFilters();
}

void CCCPanner::setAzimuth(float degrees)
{
    azimuth = clampAngle(degrees);
}

void CCCPanner::setElevation(float degrees)
{
    const float clamped = clampAngle(degrees);
    if (clamped == elevation)
        return;
    elevation = clamped;
    designElevationFilters(false);
}

void CCCPanner::updateFilters()
{
    // Low-frequency lift of the outside-span network.
    outsideBassShelf.setLowShelf(180.0f / sampleRate, 5.0f, 2.0f, 0.0f, false);
    azimuthSmoother.setTimeConstant(0.025f, sampleRate);
    // Far path: the extra travel time to the far ear, then head shadow.
    farDelay.setDelay(static_cast<int>(sampleRate * 0.000628f));
    farShelf.setHighShelf(2700.0f / sampleRate, -25.0f, 0.5f, -2.0f, false);
    // Cross-feed that cancels each path's leak into the opposite output.
    const int crossDelay = static_cast<int>(sampleRate * 0.000246f);
    crossDelayA.setDelay(crossDelay);
    crossDelayB.setDelay(crossDelay);
    crossShelfA.setHighShelf(2000.0f / sampleRate, -11.0f, 0.4f, -2.5f, false);
    crossShelfB.setHighShelf(2000.0f / sampleRate, -11.0f, 0.4f, -2.5f, false);
    designElevationFilters(true);
}

// Two designs exist: the one a full redesign (construction, rate change)
// uses, and the one an elevation move uses. They differ in the peak gains and
// in the downward shelf slope, and a rate change keeps the full-redesign
// voicing until the elevation moves again.
void CCCPanner::designElevationFilters(bool fullUpdate)
{
    const float e = elevation;
    if (e > 0.0f)
    {
        const float peakDb = (fullUpdate ? 0.25f : 0.07f) * e;
        elevationPeak.setPeak(7200.0f / sampleRate, peakDb, 2.0f, 0.0f, false);
        elevationShelf.setHighShelf(10000.0f / sampleRate, (e * -6.0f) * kOneSixtieth, 2.0f, 0.0f, false);
    }
    else
    {
        const float peakDb = (fullUpdate ? 0.35f : 0.25f) * e;
        const float shelfDb = (e * (fullUpdate ? -2.0f : -4.0f)) * kOneSixtieth;
        elevationPeak.setPeak(5500.0f / sampleRate, peakDb, 3.0f, 0.0f, false);
        elevationShelf.setHighShelf(1300.0f / sampleRate, shelfDb, 1.0f, 0.0f, false);
    }
}

namespace
{
// One panner per call: the arithmetic of processSample on plain floats.
struct SingleLane
{
    using V = float;
    static constexpr int kCount = 1;

    static V set(const float* lanes) { return lanes[0]; }
    static void get(V v, float* lanes) { lanes[0] = v; }
    template <class F>
    static V eachLane(V v, F f)
    {
        f(0, v);
        return v;
    }
    // sum += output, left then right.
    static void addOutputs(V left, V right, float* sum)
    {
        sum[0] = sum[0] + left;
        sum[1] = sum[1] + right;
    }

    // The panner's draws: denormalNoise on a generator that moves on by the
    // stride between frames.
    class Noise
    {
    public:
        Noise(const uint32_t* states, CCCPanner::NoiseStride s) : state(states[0]), last(states[0]), stride(s) {}
        V draw()
        {
            last = state;
            const int bit = static_cast<int>((state >> 16) & 2u);
            state = state * stride.multiplier + stride.increment;
            return static_cast<float>(bit - 1) * 1e-8f;
        }
        void finish(uint32_t* states) const { states[0] = last; }

    private:
        uint32_t state;
        uint32_t last;
        CCCPanner::NoiseStride stride;
    };
    static V magnitude(V v) { return std::fabs(v); }
    static V positivePart(V v) { return v > 0.0f ? v : 0.0f; }
    static V atMostOne(V v) { return v >= 1.0f ? 1.0f : v; }
    static V sine(V v) { return fastSin(v); }
    // Left of the span, right of it, or within it, as processSample decides.
    template <class Centre>
    static void choose(V a, V nearOut, V farOut, Centre centre, V& left, V& right)
    {
        if (a <= -30.0f)
        {
            left = nearOut;
            right = farOut;
        }
        else if (a >= 30.0f)
        {
            left = farOut;
            right = nearOut;
        }
        else
        {
            centre(left, right);
        }
    }
};

#if defined(__SSE2__) || defined(_M_X64)
// Two panners in the two low lanes of an SSE register. Packed operations
// round each lane exactly as the scalar ones do, and the branches of the
// scalar code that either lane takes are computed in full and selected per
// lane, so each lane gives the bits its panner alone would give.
struct Packed
{
    __m128 v;
    Packed() = default;
    Packed(__m128 x) : v(x) {}
    Packed(float x) : v(_mm_set1_ps(x)) {}
};

inline Packed operator+(Packed a, Packed b) { return _mm_add_ps(a.v, b.v); }
inline Packed operator-(Packed a, Packed b) { return _mm_sub_ps(a.v, b.v); }
inline Packed operator*(Packed a, Packed b) { return _mm_mul_ps(a.v, b.v); }

inline __m128 selectLanes(__m128 mask, __m128 whenSet, __m128 otherwise)
{
    return _mm_or_ps(_mm_and_ps(mask, whenSet), _mm_andnot_ps(mask, otherwise));
}

struct TwoLanes
{
    using V = Packed;
    static constexpr int kCount = 2;

    static V set(const float* lanes) { return _mm_setr_ps(lanes[0], lanes[1], 0.0f, 0.0f); }
    static void get(V v, float* lanes)
    {
        lanes[0] = _mm_cvtss_f32(v.v);
        lanes[1] = _mm_cvtss_f32(_mm_shuffle_ps(v.v, v.v, _MM_SHUFFLE(1, 1, 1, 1)));
    }
    template <class F>
    static V eachLane(V v, F f)
    {
        float lane0 = _mm_cvtss_f32(v.v);
        float lane1 = _mm_cvtss_f32(_mm_shuffle_ps(v.v, v.v, _MM_SHUFFLE(1, 1, 1, 1)));
        f(0, lane0);
        f(1, lane1);
        return _mm_setr_ps(lane0, lane1, 0.0f, 0.0f);
    }
    // sum += first panner's output, then += the second's, left and right
    // side by side.
    static void addOutputs(V left, V right, float* sum)
    {
        const __m128 both = _mm_unpacklo_ps(left.v, right.v);
        __m128 s = _mm_loadl_pi(_mm_setzero_ps(), reinterpret_cast<const __m64*>(sum));
        s = _mm_add_ps(s, both);
        s = _mm_add_ps(s, _mm_movehl_ps(both, both));
        _mm_storel_pi(reinterpret_cast<__m64*>(sum), s);
    }

    // Both panners' draws at once: the two generator states sit in the low
    // halves of the two 64-bit lanes, where the unsigned multiply keeps the
    // low 32 bits of each product as the scalar multiply does.
    class Noise
    {
    public:
        Noise(const uint32_t* states, CCCPanner::NoiseStride s)
            : state(_mm_set_epi32(0, static_cast<int>(states[1]), 0, static_cast<int>(states[0]))),
              last(state),
              multiplier(_mm_set1_epi32(static_cast<int>(s.multiplier))),
              increment(_mm_set1_epi32(static_cast<int>(s.increment)))
        {
        }
        V draw()
        {
            last = state;
            const __m128i bit = _mm_and_si128(_mm_srli_epi32(state, 16), _mm_set1_epi32(2));
            const __m128 sign = _mm_cvtepi32_ps(_mm_sub_epi32(bit, _mm_set1_epi32(1)));
            const __m128 n = _mm_mul_ps(sign, _mm_set1_ps(1e-8f));
            state = _mm_add_epi32(_mm_mul_epu32(state, multiplier), increment);
            return _mm_shuffle_ps(n, _mm_setzero_ps(), _MM_SHUFFLE(0, 0, 2, 0));
        }
        void finish(uint32_t* states) const
        {
            states[0] = static_cast<uint32_t>(_mm_cvtsi128_si32(last));
            states[1] = static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(last, 8)));
        }

    private:
        __m128i state;
        __m128i last;
        __m128i multiplier;
        __m128i increment;
    };
    static V magnitude(V v) { return _mm_andnot_ps(_mm_set1_ps(-0.0f), v.v); }
    static V positivePart(V v) { return _mm_and_ps(_mm_cmpgt_ps(v.v, _mm_setzero_ps()), v.v); }
    static V atMostOne(V v)
    {
        const __m128 one = _mm_set1_ps(1.0f);
        return selectLanes(_mm_cmpge_ps(v.v, one), one, v.v);
    }
    // fastSin lane by lane: the truncation gives INT_MIN out of range as
    // truncateToInt does.
    static V sine(V x)
    {
        const Packed ph = x * 0.15915494f;
        const __m128i i = _mm_cvttps_epi32(ph.v);
        const Packed diff = ph - Packed(_mm_cvtepi32_ps(i));
        __m128 frac = selectLanes(_mm_cmpge_ps(ph.v, _mm_setzero_ps()), diff.v, (diff + 1.0f).v);
        const __m128 unresolved = _mm_castsi128_ps(_mm_cmpeq_epi32(i, _mm_set1_epi32(INT_MIN)));
        frac = _mm_andnot_ps(unresolved, frac);
        const Packed t = Packed(frac) * 4.0f;
        const Packed upper = (t - 3.0f) * (t - 3.0f) - 1.0f;
        const Packed lower = (Packed(2.0f) - t) * t;
        return selectLanes(_mm_cmpge_ps(t.v, _mm_set1_ps(2.0f)), upper.v, lower.v);
    }
    // The pan law is computed only when a lane needs it.
    template <class Centre>
    static void choose(V a, V nearOut, V farOut, Centre centre, V& left, V& right)
    {
        const __m128 isLeft = _mm_cmple_ps(a.v, _mm_set1_ps(-30.0f));
        const __m128 isRight = _mm_cmpge_ps(a.v, _mm_set1_ps(30.0f));
        Packed centreLeft = 0.0f;
        Packed centreRight = 0.0f;
        if ((_mm_movemask_ps(_mm_or_ps(isLeft, isRight)) & 3) != 3)
            centre(centreLeft, centreRight);
        left = selectLanes(isLeft, nearOut.v, selectLanes(isRight, farOut.v, centreLeft.v));
        right = selectLanes(isLeft, farOut.v, selectLanes(isRight, nearOut.v, centreRight.v));
    }
};
#endif

// A biquad's coefficients and memory held in registers for a block.
template <class Lanes>
struct SectionLanes
{
    using V = typename Lanes::V;
    V b0, b1, b2, a1, a2, s1, s2;

    V run(V x)
    {
        const V y = b0 * x + s1;
        s1 = b1 * x - a1 * y + s2;
        s2 = b2 * x - a2 * y;
        return y;
    }
};
} // namespace

template <class Lanes>
void CCCPanner::renderLanes(CCCPanner* const* panners, const float* const* inputs, float* sums, int32_t frames,
                            uint32_t* noiseStates, NoiseStride stride)
{
    using V = typename Lanes::V;
    constexpr int N = Lanes::kCount;
    float lanes[N];

    auto gather = [&](auto value) {
        for (int k = 0; k < N; ++k)
            lanes[k] = value(*panners[k]);
        return Lanes::set(lanes);
    };
    auto loadSection = [&](CBiQuad CCCPanner::*member) {
        SectionLanes<Lanes> s;
        s.b0 = gather([&](const CCCPanner& p) { return (p.*member).getB0(); });
        s.b1 = gather([&](const CCCPanner& p) { return (p.*member).getB1(); });
        s.b2 = gather([&](const CCCPanner& p) { return (p.*member).getB2(); });
        s.a1 = gather([&](const CCCPanner& p) { return (p.*member).getA1(); });
        s.a2 = gather([&](const CCCPanner& p) { return (p.*member).getA2(); });
        s.s1 = gather([&](const CCCPanner& p) { return (p.*member).getState1(); });
        s.s2 = gather([&](const CCCPanner& p) { return (p.*member).getState2(); });
        return s;
    };
    auto storeSection = [&](CBiQuad CCCPanner::*member, const SectionLanes<Lanes>& s) {
        float s1[N], s2[N];
        Lanes::get(s.s1, s1);
        Lanes::get(s.s2, s2);
        for (int k = 0; k < N; ++k)
            (panners[k]->*member).setState(s1[k], s2[k]);
    };
    // Each lane steps its own rings.
    struct DelayLanes
    {
        CDelay::Cursor lane[N];
    };
    auto beginDelay = [&](CDelay CCCPanner::*member) {
        DelayLanes d;
        for (int k = 0; k < N; ++k)
            d.lane[k] = (panners[k]->*member).beginBlock();
        return d;
    };
    auto endDelay = [&](CDelay CCCPanner::*member, const DelayLanes& d) {
        for (int k = 0; k < N; ++k)
            (panners[k]->*member).endBlock(d.lane[k]);
    };
    auto runDelay = [](DelayLanes& d, V x) {
        return Lanes::eachLane(x, [&](int k, float& v) { v = d.lane[k].process(v); });
    };
    DelayLanes farRing = beginDelay(&CCCPanner::farDelay);
    DelayLanes crossRingA = beginDelay(&CCCPanner::crossDelayA);
    DelayLanes crossRingB = beginDelay(&CCCPanner::crossDelayB);

    const V azimuth = gather([](const CCCPanner& p) { return p.azimuth; });
    const V smootherCoef = gather([](const CCCPanner& p) { return p.azimuthSmoother.getCoefficient(); });
    V smoother = gather([](const CCCPanner& p) { return p.azimuthSmoother.getState(); });
    V a = gather([](const CCCPanner& p) { return p.smoothedAzimuth; });
    SectionLanes<Lanes> bassShelf = loadSection(&CCCPanner::outsideBassShelf);
    SectionLanes<Lanes> peak = loadSection(&CCCPanner::elevationPeak);
    SectionLanes<Lanes> shelf = loadSection(&CCCPanner::elevationShelf);
    SectionLanes<Lanes> farShelf = loadSection(&CCCPanner::farShelf);
    SectionLanes<Lanes> crossA = loadSection(&CCCPanner::crossShelfA);
    SectionLanes<Lanes> crossB = loadSection(&CCCPanner::crossShelfB);

    typename Lanes::Noise noise(noiseStates, stride);

    for (int32_t i = 0; i < frames; ++i)
    {
        const V n = noise.draw();

        a = azimuth + n;
        smoother = (smoother - a) * smootherCoef + a;
        a = smoother;

        V d = Lanes::magnitude(a) - 30.0f;
        d = Lanes::positivePart(d) * 0.033333335f;
        d = Lanes::atMostOne(d);

        for (int k = 0; k < N; ++k)
            lanes[k] = inputs[k][i];
        const V x0 = Lanes::set(lanes) + n;
        const V bass = bassShelf.run(x0);
        V x = (V(1.0f) - d) * x0 + d * bass;
        x = peak.run(x);
        x = shelf.run(x);

        V y = runDelay(farRing, x);
        y = farShelf.run(y);

        const V cA = runDelay(crossRingA, crossA.run(x));
        const V cB = runDelay(crossRingB, crossB.run(y));

        const V nearOut = x - cB * d;
        const V farOut = y * d - cA * d;
        V left;
        V right;
        Lanes::choose(a, nearOut, farOut, [&](V& centreLeft, V& centreRight) {
            // t runs from 0 at -30 degrees to pi/2 at +30.
            const V t = (a * 0.033333335f + 1.0f) * 0.7853982f;
            centreLeft = Lanes::sine(t + 1.5707964f) * x;
            centreRight = Lanes::sine(t) * x;
        }, left, right);

        Lanes::addOutputs(left, right, sums + 2 * i);
    }

    float smoothed[N];
    float smootherState[N];
    Lanes::get(a, smoothed);
    Lanes::get(smoother, smootherState);
    for (int k = 0; k < N; ++k)
    {
        panners[k]->smoothedAzimuth = smoothed[k];
        panners[k]->azimuthSmoother.setState(smootherState[k]);
    }
    noise.finish(noiseStates);
    endDelay(&CCCPanner::farDelay, farRing);
    endDelay(&CCCPanner::crossDelayA, crossRingA);
    endDelay(&CCCPanner::crossDelayB, crossRingB);
    storeSection(&CCCPanner::outsideBassShelf, bassShelf);
    storeSection(&CCCPanner::elevationPeak, peak);
    storeSection(&CCCPanner::elevationShelf, shelf);
    storeSection(&CCCPanner::farShelf, farShelf);
    storeSection(&CCCPanner::crossShelfA, crossA);
    storeSection(&CCCPanner::crossShelfB, crossB);
}

void CCCPanner::renderBlock(CCCPanner* const* panners, int count, const float* const* inputs, float* sums,
                            int32_t frames, uint32_t* noiseStates, NoiseStride stride)
{
#if defined(__SSE2__) || defined(_M_X64)
    if (count == 2)
    {
        renderLanes<TwoLanes>(panners, inputs, sums, frames, noiseStates, stride);
        return;
    }
#endif
    for (int k = 0; k < count; ++k)
        renderLanes<SingleLane>(panners + k, inputs + k, sums, frames, noiseStates + k, stride);
}
