#include "plugin/TextBounded.h"

#include <cstdio>
#include <cstring>

int formatBoundedV(char* buffer, std::size_t n, const char* format, std::va_list args)
{
    if (!buffer)
        return 0;
    buffer[n] = 0;
    if (!format) {
        buffer[0] = 0;
        return 0;
    }
    const int wanted = std::vsnprintf(buffer, n + 1, format, args);
    if (wanted < 0) {
        buffer[0] = 0;
        return 0;
    }
    buffer[n] = 0;
    return static_cast<std::size_t>(wanted) < n ? wanted : static_cast<int>(n);
}

int formatBounded(char* buffer, std::size_t n, const char* format, ...)
{
    std::va_list args;
    va_start(args, format);
    const int written = formatBoundedV(buffer, n, format, args);
    va_end(args);
    return written;
}

std::size_t lengthBounded(const char* text, std::size_t n)
{
    if (!text)
        return 0;
    std::size_t len = 0;
    while (len < n && text[len])
        ++len;
    return len;
}

void copyBounded(char* buffer, const char* source, std::size_t n)
{
    if (!buffer)
        return;
    const std::size_t len = lengthBounded(source, n);
    if (len > 0)
        std::memmove(buffer, source, len);
    std::memset(buffer + len, 0, n - len);
    buffer[n] = 0;
}

void putBounded(char* buffer, const char* source, std::size_t n)
{
    if (!buffer)
        return;
    const std::size_t len = lengthBounded(source, n);
    if (len > 0)
        std::memmove(buffer, source, len);
    buffer[len] = 0;
}

void appendBounded(char* buffer, const char* source, std::size_t n)
{
    if (!buffer)
        return;
    const std::size_t used = lengthBounded(buffer, n);
    const std::size_t len = lengthBounded(source, n - used);
    if (len > 0)
        std::memmove(buffer + used, source, len);
    buffer[used + len] = 0;
    buffer[n] = 0;
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
