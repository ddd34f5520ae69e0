// Pictures and other data compiled into the binary, found by name. The
// product registers its lookup once; the toolkit's bitmaps ask it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace VSTGUI {

struct CResourceData
{
    const uint8_t* data = nullptr;
    size_t size = 0;
};

using CResourceLookup = bool (*)(const char* name, CResourceData& out);

// Any thread. Replaces the lookup; null removes it.
void setResourceLookup(CResourceLookup lookup);
// False when no lookup is registered or the name is unknown.
bool findResource(const char* name, CResourceData& out);

class CResourceDescription
{
public:
    CResourceDescription(const char* name) : name_(name) {}
    const char* getName() const { return name_; }

private:
    const char* name_;
};

} // namespace VSTGUI
