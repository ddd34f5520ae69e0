#include "toolkit/CBitmap.h"

#include "toolkit/CDrawContext.h"

#include <cstring>

namespace VSTGUI {

namespace {

std::unique_ptr<IPlatformBitmap> decodeResource(const char* name)
{
    CResourceData resource;
    if (!findResource(name, resource))
        return nullptr;
    return createPlatformBitmapFromPNG(resource.data, resource.size);
}

} // namespace

std::string doubleSizeResourceName(const char* name)
{
    if (!name)
        return {};
    std::string result(name);
    const size_t dot = result.rfind('.');
    const size_t slash = result.find_last_of("/\\");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return result + "@2x";
    return result.insert(dot, "@2x");
}

CBitmap::CBitmap(const CResourceDescription& desc)
    : doubleSizeName_(doubleSizeResourceName(desc.getName()))
{
    platformBitmap_ = decodeResource(desc.getName());
    if (platformBitmap_) {
        width_ = platformBitmap_->getWidth();
        height_ = platformBitmap_->getHeight();
    } else if (hasDoubleSize()) {
        // Only the 2x drawing exists: its size halved is the picture's.
        width_ = doubleSize_->getWidth() / 2.0;
        height_ = doubleSize_->getHeight() / 2.0;
    }
}

CBitmap::~CBitmap() = default;

bool CBitmap::hasDoubleSize() const
{
    if (!doubleSizeTried_) {
        doubleSizeTried_ = true;
        if (!doubleSizeName_.empty())
            doubleSize_ = decodeResource(doubleSizeName_.c_str());
    }
    return doubleSize_ != nullptr;
}

IPlatformBitmap* CBitmap::getBestPlatformBitmapForScaleFactor(double scaleFactor,
                                                              double* bitmapScale) const
{
    // Halfway between the two the larger one wins: shrinking keeps detail
    // that enlarging cannot make up.
    const bool wantDouble = scaleFactor >= 1.5 || !platformBitmap_;
    if (wantDouble && hasDoubleSize()) {
        if (bitmapScale)
            *bitmapScale = 2.0;
        return doubleSize_.get();
    }
    if (bitmapScale)
        *bitmapScale = 1.0;
    return platformBitmap_.get();
}

void CBitmap::draw(CDrawContext* context, const CRect& rect, const CPoint& offset, float alpha)
{
    if (context && isLoaded())
        context->drawBitmap(this, rect, offset, alpha);
}

} // namespace VSTGUI
