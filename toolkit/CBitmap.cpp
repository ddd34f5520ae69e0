#include "toolkit/CBitmap.h"

#include "toolkit/CDrawContext.h"

namespace VSTGUI {

CBitmap::CBitmap(const CResourceDescription& desc)
{
    CResourceData resource;
    if (findResource(desc.getName(), resource))
        platformBitmap_ = createPlatformBitmapFromPNG(resource.data, resource.size);
}

CBitmap::~CBitmap() = default;

void CBitmap::draw(CDrawContext* context, const CRect& rect, const CPoint& offset, float alpha)
{
    if (context && platformBitmap_)
        context->drawBitmap(this, rect, offset, alpha);
}

} // namespace VSTGUI
