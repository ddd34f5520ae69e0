#include "tools/host/Progress.h"

#include <algorithm>
#include <string>

namespace vst2host {

Progress::Progress(int64_t total, std::FILE* stream, bool terminal, Clock::duration delay)
    : total_(total),
      stream_(stream),
      enabled_(terminal && total > 0 && stream != nullptr),
      showFrom_(Clock::now() + delay)
{}

void Progress::update(int64_t done)
{
    if (!enabled_)
        return;
    if (shown_ < 0 && Clock::now() < showFrom_)
        return;
    const int percent =
        static_cast<int>(std::clamp<int64_t>(100 * done / std::max<int64_t>(total_, 1), 0, 100));
    if (percent == shown_)
        return;
    shown_ = percent;
    constexpr int kWidth = 40;
    const int filled = percent * kWidth / 100;
    std::fprintf(stream_, "\rrendering [%s%s] %3d%%", std::string(filled, '#').c_str(),
                 std::string(kWidth - filled, '.').c_str(), percent);
    std::fflush(stream_);
}

Progress::~Progress()
{
    if (enabled_ && shown_ >= 0)
        std::fprintf(stream_, "\n");
}

} // namespace vst2host
