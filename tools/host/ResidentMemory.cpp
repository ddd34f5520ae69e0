#include "tools/host/ResidentMemory.h"

#include <unistd.h>

#include <cstdio>

namespace vst2host {

long residentBytes()
{
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    if (statm == nullptr)
        return -1;
    long size = 0;
    long resident = -1;
    if (std::fscanf(statm, "%ld %ld", &size, &resident) != 2)
        resident = -1;
    std::fclose(statm);
    return resident < 0 ? -1 : resident * sysconf(_SC_PAGESIZE);
}

} // namespace vst2host
