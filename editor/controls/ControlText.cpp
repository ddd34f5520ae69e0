#include "editor/controls/ControlText.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace controls {

int formatText(char* buffer, std::size_t n, const char* format, ...)
{
    if (!buffer)
        return 0;
    buffer[n] = 0;
    if (!format || n == 0)
        return 0;
    std::va_list args;
    va_start(args, format);
    const int written = std::vsnprintf(buffer, n + 1, format, args);
    va_end(args);
    if (written < 0) {
        buffer[0] = 0;
        return 0;
    }
    return written < static_cast<int>(n) ? written : static_cast<int>(n);
}

void copyText(char* buffer, const char* source, std::size_t n)
{
    if (!buffer)
        return;
    std::size_t i = 0;
    for (; source && i < n && source[i]; ++i)
        buffer[i] = source[i];
    for (; i <= n; ++i)
        buffer[i] = 0;
}

bool isSingleFloatFormat(const char* format)
{
    if (!format)
        return false;
    int conversions = 0;
    for (const char* p = format; *p; ++p) {
        if (*p != '%')
            continue;
        ++p;
        if (*p == '%')
            continue;
        while (*p && std::strchr("-+ #0", *p))
            ++p;
        while (*p >= '0' && *p <= '9')
            ++p;
        if (*p == '.') {
            ++p;
            while (*p >= '0' && *p <= '9')
                ++p;
        }
        if (!*p || !std::strchr("fFeEgGaA", *p))
            return false;
        ++conversions;
    }
    return conversions == 1;
}

} // namespace controls
