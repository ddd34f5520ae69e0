#include "toolkit/platform/win32/ResourceCount.h"

#include <atomic>

namespace VSTGUI::Win32 {

namespace {

constexpr int kKinds = static_cast<int>(ResourceKind::kCount);
std::atomic<int64_t> gCreated[kKinds];
std::atomic<int64_t> gReleased[kKinds];
std::atomic<int64_t> gPaints{0};
std::atomic<int64_t> gLastPaintCreated{0};

int slot(ResourceKind kind)
{
    const int i = static_cast<int>(kind);
    return i >= 0 && i < kKinds ? i : 0;
}

} // namespace

void noteCreated(ResourceKind kind)
{
    gCreated[slot(kind)].fetch_add(1, std::memory_order_relaxed);
}

void noteReleased(ResourceKind kind)
{
    gReleased[slot(kind)].fetch_add(1, std::memory_order_relaxed);
}

int64_t liveResources(ResourceKind kind)
{
    return gCreated[slot(kind)].load() - gReleased[slot(kind)].load();
}

int64_t createdResources(ResourceKind kind)
{
    return gCreated[slot(kind)].load();
}

void notePaint(int64_t direct2DCreated)
{
    gLastPaintCreated.store(direct2DCreated, std::memory_order_relaxed);
    gPaints.fetch_add(1, std::memory_order_relaxed);
}

int64_t paintCount()
{
    return gPaints.load();
}

int64_t direct2DCreatedByLastPaint()
{
    return gLastPaintCreated.load();
}

} // namespace VSTGUI::Win32
