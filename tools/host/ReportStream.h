#pragma once

#include <cstdio>

namespace vst2host {

// The stream for the host's own results. Plug-ins print diagnostics to
// standard output, which would corrupt a report or JSON read by another
// program; after separateReport() the process's standard output descriptor
// goes to standard error, and only this stream reaches the real standard
// output.
FILE* report();

// Call once at start-up, before any plug-in is loaded.
void separateReport();

// The name the program goes by in its messages ("plugin-host", or
// "vst2-host" when called by that name).
const char* programName();
void setProgramName(const char* name);

} // namespace vst2host
