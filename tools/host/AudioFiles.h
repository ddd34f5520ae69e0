#pragma once

#include <cstdint>
#include <string>

struct sf_private_tag;

namespace vst2host {

// Properties of an audio file as libsndfile reports them.
struct AudioFormat
{
    int channels = 0;
    int sampleRate = 0;
    int64_t frames = 0;
    int format = 0; // libsndfile major format | sample subtype
};

// Reads any file that libsndfile can read, as interleaved 32-bit floats.
class AudioReader
{
public:
    // Throws HostError when the file is missing or not a readable audio file.
    explicit AudioReader(const std::string& path);
    ~AudioReader();
    AudioReader(const AudioReader&) = delete;
    AudioReader& operator=(const AudioReader&) = delete;

    const AudioFormat& format() const { return format_; }

    // Reads up to `frames` frames into `interleaved` (frames x channels values);
    // returns the number of frames read, 0 at the end of the file.
    int64_t read(float* interleaved, int64_t frames);

private:
    sf_private_tag* file_ = nullptr;
    AudioFormat format_;
    std::string path_;
};

// Writes an audio file through a temporary file beside the destination, which
// replaces the destination only on commit(). A writer destroyed without commit
// removes its temporary file, so a failed render leaves nothing behind.
class AudioWriter
{
public:
    // `format` is a libsndfile format (major | subtype). Throws HostError when the
    // format cannot hold this channel count or rate, or the file cannot be created.
    AudioWriter(const std::string& path, int channels, int sampleRate, int format);
    ~AudioWriter();
    AudioWriter(const AudioWriter&) = delete;
    AudioWriter& operator=(const AudioWriter&) = delete;

    void write(const float* interleaved, int64_t frames);

    // Closes the file and moves it to its destination. Throws HostError on failure.
    void commit();

    // True when the format stores samples as integers (or a lossy code) and
    // so cannot hold values beyond full scale: they are clipped on writing.
    static bool clipsAtFullScale(int format);

private:
    void discard();

    sf_private_tag* file_ = nullptr;
    std::string path_;
    std::string tempPath_;
    int channels_ = 0;
};

// The container that a file name's extension names ("out.flac": FLAC), as a
// libsndfile major format. Throws HostError for a name without extension or
// with one that libsndfile cannot write, listing the extensions it can.
int containerForPath(const std::string& path);

// The format to write `path` in: the container its extension names, with the
// sample format `subtype` when given (0: the best the container holds for this
// many channels at this rate: 32-bit float where it can, else 24-bit, else
// 16-bit, else its own code). Throws HostError when the container cannot hold
// them, saying why.
int outputFormat(const std::string& path, int channels, int sampleRate, int subtype = 0);

// Name of a libsndfile format for messages, e.g. "FLAC, 24-bit PCM".
std::string formatName(int format);

} // namespace vst2host
