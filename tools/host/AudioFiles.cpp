#include "tools/host/AudioFiles.h"

#include "tools/host/HostError.h"

#include <sndfile.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace vst2host {

AudioReader::AudioReader(const std::string& path) : path_(path) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec))
        throw HostError("cannot read " + path + ": no such file");
    if (std::filesystem::is_directory(path, ec))
        throw HostError("cannot read " + path + ": is a directory");
    SF_INFO info{};
    file_ = sf_open(path.c_str(), SFM_READ, &info);
    if (file_ == nullptr)
        throw HostError("cannot read " + path + ": " + sf_strerror(nullptr));
    format_.channels = info.channels;
    format_.sampleRate = info.samplerate;
    format_.frames = info.frames;
    format_.format = info.format;
}

AudioReader::~AudioReader() {
    if (file_ != nullptr)
        sf_close(file_);
}

int64_t AudioReader::read(float* interleaved, int64_t frames) {
    const sf_count_t got = sf_readf_float(file_, interleaved, frames);
    if (got < 0 || sf_error(file_) != SF_ERR_NO_ERROR)
        throw HostError("cannot read " + path_ + ": " + sf_strerror(file_));
    return got;
}

int AudioWriter::floatWav() { return SF_FORMAT_WAV | SF_FORMAT_FLOAT; }

AudioWriter::AudioWriter(const std::string& path, int channels, int sampleRate, int format)
    : path_(path), channels_(channels) {
    SF_INFO info{};
    info.channels = channels;
    info.samplerate = sampleRate;
    info.format = format;
    if (!sf_format_check(&info))
        throw HostError("cannot write " + path + ": the output format cannot hold " +
                        std::to_string(channels) + " channels at " + std::to_string(sampleRate) +
                        " Hz");

    // The temporary file sits in the destination's directory so that the final
    // rename stays within one file system and is atomic.
    std::string pattern = path + ".partial-XXXXXX";
    const int fd = mkstemp(pattern.data());
    if (fd < 0)
        throw HostError("cannot write " + path + ": " + std::strerror(errno));
    tempPath_ = pattern;
    file_ = sf_open_fd(fd, SFM_WRITE, &info, SF_TRUE);
    if (file_ == nullptr) {
        const std::string reason = sf_strerror(nullptr);
        ::close(fd);
        std::remove(tempPath_.c_str());
        throw HostError("cannot write " + path + ": " + reason);
    }
}

AudioWriter::~AudioWriter() { discard(); }

void AudioWriter::discard() {
    if (file_ != nullptr) {
        sf_close(file_);
        file_ = nullptr;
    }
    if (!tempPath_.empty()) {
        std::remove(tempPath_.c_str());
        tempPath_.clear();
    }
}

void AudioWriter::write(const float* interleaved, int64_t frames) {
    if (sf_writef_float(file_, interleaved, frames) != frames)
        throw HostError("cannot write " + path_ + ": " + sf_strerror(file_));
}

void AudioWriter::commit() {
    const int closeError = sf_close(file_);
    file_ = nullptr;
    if (closeError != 0)
        throw HostError("cannot write " + path_ + ": " + sf_error_number(closeError));
    // mkstemp creates the file readable by its owner only; give it the usual
    // permissions of a new file.
    const mode_t mask = umask(0);
    umask(mask);
    ::chmod(tempPath_.c_str(), 0666 & ~mask);
    if (std::rename(tempPath_.c_str(), path_.c_str()) != 0)
        throw HostError("cannot write " + path_ + ": " + std::strerror(errno));
    tempPath_.clear();
}

} // namespace vst2host
