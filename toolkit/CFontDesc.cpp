#include "toolkit/CFontDesc.h"

namespace VSTGUI {

// Never released: views may hold them until the process ends.
const CFontRef kSystemFont = new CFontDesc("Arial", 12);
const CFontRef kNormalFontVeryBig = new CFontDesc("Arial", 18);
const CFontRef kNormalFontBig = new CFontDesc("Arial", 14);
const CFontRef kNormalFont = new CFontDesc("Arial", 12);
const CFontRef kNormalFontSmall = new CFontDesc("Arial", 11);
const CFontRef kNormalFontSmaller = new CFontDesc("Arial", 10);
const CFontRef kNormalFontVerySmall = new CFontDesc("Arial", 9);

} // namespace VSTGUI
