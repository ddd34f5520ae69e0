#pragma once

#include "tools/host/AudioFiles.h"

#include <functional>
#include <string>
#include <vector>

namespace vst2host::testing {

struct Audio
{
    AudioFormat format;
    std::vector<float> samples; // interleaved

    float at(int64_t frame, int channel) const
    {
        return samples[static_cast<size_t>(frame * format.channels + channel)];
    }
};

inline Audio readAudio(const std::string& path)
{
    AudioReader reader(path);
    Audio audio{reader.format(), {}};
    audio.samples.resize(static_cast<size_t>(audio.format.frames * audio.format.channels));
    reader.read(audio.samples.data(), audio.format.frames);
    return audio;
}

// Writes a file whose sample (frame, channel) is value(frame, channel).
inline void writeAudio(const std::string& path, int channels, int rate, int format, int64_t frames,
                       const std::function<float(int64_t, int)>& value)
{
    std::vector<float> samples;
    for (int64_t i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c)
            samples.push_back(value(i, c));
    AudioWriter writer(path, channels, rate, format);
    writer.write(samples.data(), frames);
    writer.commit();
}

} // namespace vst2host::testing
