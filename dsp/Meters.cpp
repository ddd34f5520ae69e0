#include "dsp/Meters.h"

CVu::CVu()
{
    setDecay(1.0f, 22050.0f, 1);
}

CVu::~CVu() = default;

void CVu::setDecay(float seconds, float sampleRate, int decimation)
{
    const float fs = clampSampleRate(sampleRate);
    const float t = meter_detail::meterTime(seconds);
    const float k =
        1.0f / ((fs / static_cast<float>(meter_detail::meterDecimation(decimation))) * t);
    releaseCoef = floatExp(-k);
    riseCoef = floatExp(k);
}

// A needle that takes about 65 ms to rise and half a second to fall.
CAnalogVu::CAnalogVu()
{
    setTimes(0.065144174f, 0.5f, 44100.0f, 1);
    reset();
}

CAnalogVu::~CAnalogVu() = default;

void CAnalogVu::setTimes(float riseSeconds, float fallSeconds, float sampleRate, int decimation)
{
    const float fs = clampSampleRate(sampleRate);
    const float rise = meter_detail::meterTime(riseSeconds);
    const float fall = meter_detail::meterTime(fallSeconds);
    const float steps = static_cast<float>(meter_detail::meterDecimation(decimation));
    riseCoef = floatExp(-steps / (rise * 0.5f * fs));
    fallCoef = floatExp(-steps / (fall * fs));
}
