#include "vst3/Vst3Text.h"

namespace vantelor_vst3 {

void copyToUtf16(vst3::char16* field, std::size_t capacity, const char* text)
{
    if (!field || capacity == 0)
        return;
    std::size_t i = 0;
    for (; text && text[i] != '\0' && i + 1 < capacity; ++i)
        field[i] = static_cast<vst3::char16>(static_cast<unsigned char>(text[i]));
    field[i] = 0;
}

void copyToChar8(char* field, std::size_t capacity, const char* text)
{
    if (!field || capacity == 0)
        return;
    std::size_t i = 0;
    for (; text && text[i] != '\0' && i + 1 < capacity; ++i)
        field[i] = text[i];
    field[i] = '\0';
}

bool utf16ToAscii(const vst3::char16* text, std::size_t capacity, char* out,
                  std::size_t outCapacity)
{
    if (!text || !out || outCapacity == 0)
        return false;
    std::size_t i = 0;
    for (; i < capacity && text[i] != 0; ++i) {
        if (text[i] > 127 || i + 1 >= outCapacity)
            return false;
        out[i] = static_cast<char>(text[i]);
    }
    out[i] = '\0';
    return true;
}

} // namespace vantelor_vst3
