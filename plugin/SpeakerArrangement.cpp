// Speaker-arrangement records: allocated zero-filled with room for at least
// the eight speakers the record declares, so indexing `speakers` below eight is
// always valid, and freed with std::free.
#include <cstdlib>
#include <cstring>

#include "plugin/AudioEffectX.h"

namespace {

// Channel counts beyond this are refused rather than allocated.
constexpr VstInt32 kMaxArrangementChannels = 1024;

std::size_t arrangementBytes(VstInt32 channels)
{
    const std::size_t header =
        sizeof(VstSpeakerArrangement) - sizeof(VstSpeakerArrangement::speakers);
    const std::size_t bytes =
        header + static_cast<std::size_t>(channels) * sizeof(VstSpeakerProperties);
    return bytes < sizeof(VstSpeakerArrangement) ? sizeof(VstSpeakerArrangement) : bytes;
}

} // namespace

bool AudioEffectX::allocateArrangement(VstSpeakerArrangement** arrangement, VstInt32 nbChannels)
{
    if (!arrangement || nbChannels < 0 || nbChannels > kMaxArrangementChannels)
        return false;
    deallocateArrangement(arrangement);
    void* memory = std::calloc(1, arrangementBytes(nbChannels));
    if (!memory)
        return false;
    *arrangement = static_cast<VstSpeakerArrangement*>(memory);
    (*arrangement)->numChannels = nbChannels;
    return true;
}

bool AudioEffectX::deallocateArrangement(VstSpeakerArrangement** arrangement)
{
    if (!arrangement)
        return false;
    std::free(*arrangement);
    *arrangement = nullptr;
    return true;
}

bool AudioEffectX::copySpeaker(VstSpeakerProperties* to, VstSpeakerProperties* from)
{
    if (!to || !from)
        return false;
    to->azimuth = from->azimuth;
    to->elevation = from->elevation;
    to->radius = from->radius;
    to->reserved = from->reserved;
    std::size_t len = 0;
    while (len < sizeof(to->name) - 1 && from->name[len])
        ++len;
    std::memcpy(to->name, from->name, len);
    std::memset(to->name + len, 0, sizeof(to->name) - len);
    to->type = from->type;
    std::memcpy(to->future, from->future, sizeof(to->future));
    return true;
}

bool AudioEffectX::matchArrangement(VstSpeakerArrangement** to, VstSpeakerArrangement* from)
{
    if (!to || !from || *to == from)
        return false;
    if (!allocateArrangement(to, from->numChannels))
        return false;
    (*to)->type = from->type;
    // Records are variable-length: walk them through plain pointers.
    VstSpeakerProperties* target = (*to)->speakers;
    VstSpeakerProperties* source = from->speakers;
    for (VstInt32 i = 0; i < from->numChannels; ++i) {
        if (!copySpeaker(target + i, source + i))
            return false;
    }
    return true;
}
