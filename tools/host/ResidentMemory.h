// How much memory this process holds in physical pages: what a host's
// instances cost once their pages have been touched.
#pragma once

namespace vst2host {

// The process's resident memory in bytes, or -1 when it cannot be read.
long residentBytes();

} // namespace vst2host
