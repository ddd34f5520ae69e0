#include "product/VantelorDescription.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace vantelor {

bool formatVersionLabel(char* text)
{
    if (!text)
        return false;
    // Cut to the capacity, as every host-facing text is.
    std::snprintf(text, kVersionLabelCapacity + 1, "%s v%d.%d.%d", kProductName,
                  kVantelorVersionMajor, kVantelorVersionMinor, kVantelorVersionPatch);
    return true;
}

void formatValue(int32_t index, float units, char* text, std::size_t capacity)
{
    if (!text || !isParameter(index))
        return;
    // The table's formats are single floating conversions.
    std::snprintf(text, capacity + 1, kVantelorParameters[index].format,
                  static_cast<double>(units));
}

namespace {

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front())))
        s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
        s.remove_suffix(1);
    return s;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

} // namespace

bool parseValue(int32_t index, const char* text, float* units)
{
    if (!text || !units || !isParameter(index))
        return false;
    const ParameterDescription& p = kVantelorParameters[index];
    std::string_view s = trimmed(text);
    if (p.kind == Kind::toggle) {
        if (equalsIgnoringCase(s, "on")) {
            *units = 1.0f;
            return true;
        }
        if (equalsIgnoringCase(s, "off")) {
            *units = 0.0f;
            return true;
        }
    }
    // from_chars reads no plus sign and no locale: "+45" and "45" alike, and
    // a decimal point whatever the host's locale.
    if (!s.empty() && s.front() == '+')
        s.remove_prefix(1);
    float value = 0.0f;
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (error != std::errc() || end == s.data() || !std::isfinite(value))
        return false;
    const std::string_view rest = trimmed(std::string_view(end, s.data() + s.size() - end));
    if (!rest.empty() && !(p.label[0] != '\0' && equalsIgnoringCase(rest, p.label)))
        return false;
    *units = value;
    return true;
}

} // namespace vantelor
