#include "tools/host/AudioFiles.h"

#include "tools/host/HostError.h"

#include <sndfile.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <vector>

namespace vst2host {

namespace {

// What libsndfile says when it gives no reason is useless to a user.
std::string reasonOf(SNDFILE* file, const std::string& otherwise)
{
    const int code = sf_error(file);
    if (code == SF_ERR_NO_ERROR)
        return otherwise;
    return sf_strerror(file);
}

struct Container
{
    int major = 0;
    std::vector<int> subtypes; // the only ones allowed; empty: any, best first
};

// Every extension libsndfile names for a container it can write, and the
// usual names it does not list.
const std::map<std::string, Container>& containers()
{
    static const std::map<std::string, Container> table = [] {
        std::map<std::string, Container> extensions;
        int count = 0;
        sf_command(nullptr, SFC_GET_FORMAT_MAJOR_COUNT, &count, sizeof count);
        for (int i = 0; i < count; ++i) {
            SF_FORMAT_INFO info{};
            info.format = i;
            if (sf_command(nullptr, SFC_GET_FORMAT_MAJOR, &info, sizeof info) != 0 ||
                info.extension == nullptr)
                continue;
            // The first container listed for an extension is its usual one
            // ("wav": Microsoft WAV rather than NIST Sphere).
            extensions.emplace(info.extension, Container{info.format, {}});
        }
        const auto alias = [&](const char* name, int major, std::vector<int> subtypes) {
            for (const auto& [extension, container] : extensions)
                if (container.major == major) {
                    extensions.emplace(name, Container{major, std::move(subtypes)});
                    return;
                }
        };
        alias("aif", SF_FORMAT_AIFF, {});
        alias("wave", SF_FORMAT_WAV, {});
        alias("ogg", SF_FORMAT_OGG, {SF_FORMAT_VORBIS});
        alias("opus", SF_FORMAT_OGG, {SF_FORMAT_OPUS});
        alias("mp3", SF_FORMAT_MPEG, {SF_FORMAT_MPEG_LAYER_III});
        return extensions;
    }();
    return table;
}

std::string extensionOf(const std::string& path)
{
    const std::string name = std::filesystem::path(path).filename().string();
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0 || dot + 1 == name.size())
        return {};
    std::string extension = name.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

std::string supportedList()
{
    std::string list;
    for (const auto& entry : containers())
        list += (list.empty() ? "" : ", ") + entry.first;
    return list;
}

const Container& containerOf(const std::string& path)
{
    const std::string extension = extensionOf(path);
    const auto& table = containers();
    const auto found = table.find(extension);
    if (found == table.end())
        throw HostError("cannot write " + path + ": " +
                        (extension.empty()
                             ? std::string("the name has no extension to choose the file format by")
                             : "unknown file extension \"." + extension + "\"") +
                        "; supported: " + supportedList());
    return found->second;
}

bool acceptable(int format, int channels, int sampleRate)
{
    SF_INFO info{};
    info.format = format;
    info.channels = channels;
    info.samplerate = sampleRate;
    return sf_format_check(&info) != 0;
}

std::string majorName(int major)
{
    SF_FORMAT_INFO info{};
    info.format = major & SF_FORMAT_TYPEMASK;
    if (sf_command(nullptr, SFC_GET_FORMAT_INFO, &info, sizeof info) == 0 && info.name != nullptr)
        return info.name;
    return "format " + std::to_string(major);
}

std::string subtypeName(int format)
{
    SF_FORMAT_INFO info{};
    info.format = format & SF_FORMAT_SUBMASK;
    if (sf_command(nullptr, SFC_GET_FORMAT_INFO, &info, sizeof info) == 0 && info.name != nullptr)
        return info.name;
    return "encoding " + std::to_string(format & SF_FORMAT_SUBMASK);
}

} // namespace

int containerForPath(const std::string& path)
{
    return containerOf(path).major;
}

std::string formatName(int format)
{
    return majorName(format) + ", " + subtypeName(format);
}

int outputFormat(const std::string& path, int channels, int sampleRate, int subtype)
{
    const Container& container = containerOf(path);
    const std::string what =
        std::to_string(channels) + " channels at " + std::to_string(sampleRate) + " Hz";
    if (subtype != 0) {
        const int format = container.major | (subtype & SF_FORMAT_SUBMASK);
        if (!acceptable(format, channels, sampleRate))
            throw HostError("cannot write " + path + ": " + majorName(container.major) +
                            " cannot hold " + subtypeName(format) + " with " + what);
        return format;
    }
    std::vector<int> candidates = container.subtypes;
    if (candidates.empty()) {
        candidates = {SF_FORMAT_FLOAT, SF_FORMAT_PCM_24, SF_FORMAT_PCM_16, SF_FORMAT_VORBIS,
                      SF_FORMAT_MPEG_LAYER_III};
        int count = 0;
        sf_command(nullptr, SFC_GET_FORMAT_SUBTYPE_COUNT, &count, sizeof count);
        for (int i = 0; i < count; ++i) {
            SF_FORMAT_INFO info{};
            info.format = i;
            if (sf_command(nullptr, SFC_GET_FORMAT_SUBTYPE, &info, sizeof info) == 0)
                candidates.push_back(info.format);
        }
    }
    for (const int candidate : candidates)
        if (acceptable(container.major | candidate, channels, sampleRate))
            return container.major | candidate;
    throw HostError("cannot write " + path + ": " + majorName(container.major) + " cannot hold " +
                    what);
}

bool AudioWriter::clipsAtFullScale(int format)
{
    const int subtype = format & SF_FORMAT_SUBMASK;
    return subtype != SF_FORMAT_FLOAT && subtype != SF_FORMAT_DOUBLE;
}

AudioReader::AudioReader(const std::string& path) : path_(path)
{
    std::error_code ec;
    if (!std::filesystem::exists(path, ec))
        throw HostError("cannot read " + path + ": no such file");
    if (std::filesystem::is_directory(path, ec))
        throw HostError("cannot read " + path + ": is a directory");
    SF_INFO info{};
    file_ = sf_open(path.c_str(), SFM_READ, &info);
    if (file_ == nullptr)
        throw HostError("cannot read " + path + ": " +
                        reasonOf(nullptr, "not an audio file libsndfile reads"));
    format_.channels = info.channels;
    format_.sampleRate = info.samplerate;
    format_.frames = info.frames;
    format_.format = info.format;
}

AudioReader::~AudioReader()
{
    if (file_ != nullptr)
        sf_close(file_);
}

int64_t AudioReader::read(float* interleaved, int64_t frames)
{
    const sf_count_t got = sf_readf_float(file_, interleaved, frames);
    if (got < 0 || sf_error(file_) != SF_ERR_NO_ERROR)
        throw HostError("cannot read " + path_ + ": " + reasonOf(file_, "reading failed"));
    return got;
}

AudioWriter::AudioWriter(const std::string& path, int channels, int sampleRate, int format)
    : path_(path), channels_(channels)
{
    SF_INFO info{};
    info.channels = channels;
    info.samplerate = sampleRate;
    info.format = format;
    if (!sf_format_check(&info))
        throw HostError("cannot write " + path + ": " + formatName(format) + " cannot hold " +
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
        const std::string reason =
            reasonOf(nullptr, "libsndfile cannot create " + formatName(format));
        ::close(fd);
        std::remove(tempPath_.c_str());
        throw HostError("cannot write " + path + ": " + reason);
    }
    // Values beyond full scale are clipped rather than wrapped around when
    // converted to integers.
    if (clipsAtFullScale(format))
        sf_command(file_, SFC_SET_CLIPPING, nullptr, SF_TRUE);
}

AudioWriter::~AudioWriter()
{
    discard();
}

void AudioWriter::discard()
{
    if (file_ != nullptr) {
        sf_close(file_);
        file_ = nullptr;
    }
    if (!tempPath_.empty()) {
        std::remove(tempPath_.c_str());
        tempPath_.clear();
    }
}

void AudioWriter::write(const float* interleaved, int64_t frames)
{
    const sf_count_t written = sf_writef_float(file_, interleaved, frames);
    if (written != frames)
        throw HostError("cannot write " + path_ + ": " +
                        reasonOf(file_, "libsndfile took " + std::to_string(written) + " of " +
                                            std::to_string(frames) + " frames"));
}

void AudioWriter::commit()
{
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
