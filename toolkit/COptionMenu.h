// A control that shows one of a list of entries and lets the user pick
// another from a pop-up menu: a click (or Return or Space while it has the
// focus) opens the platform's pop-up below it. The value is the index of
// the current entry; the range is 0 to the number of entries - 1.
//
// Threads: the window's thread. The pick arrives from the window's event
// loop, as one edit gesture: beginEdit, setValue, valueChanged, endEdit.
#pragma once

#include "toolkit/CParamDisplay.h"
#include "toolkit/platform/IPlatformOptionMenu.h"

#include <memory>
#include <string>
#include <vector>

namespace VSTGUI {

class CMenuItem : public CBaseObject
{
public:
    enum Flags : int32_t
    {
        kNoFlags = 0,
        kDisabled = 1 << 0,
        kTitle = 1 << 1,
        kChecked = 1 << 2,
        kSeparator = 1 << 3,
    };

    explicit CMenuItem(const char* title, int32_t flags = kNoFlags)
        : title_(title ? title : ""), flags_(flags)
    {}

    const char* getTitle() const { return title_.c_str(); }
    void setTitle(const char* title) { title_ = title ? title : ""; }
    bool isEnabled() const { return !(flags_ & (kDisabled | kTitle | kSeparator)); }
    bool isSeparator() const { return (flags_ & kSeparator) != 0; }
    bool isChecked() const { return (flags_ & kChecked) != 0; }
    bool isTitle() const { return (flags_ & kTitle) != 0; }
    void setEnabled(bool state) { flags_ = state ? (flags_ & ~kDisabled) : (flags_ | kDisabled); }
    void setChecked(bool state) { flags_ = state ? (flags_ | kChecked) : (flags_ & ~kChecked); }
    int32_t getFlags() const { return flags_; }

private:
    std::string title_;
    int32_t flags_;
};

class COptionMenu : public CParamDisplay
{
public:
    COptionMenu(const CRect& size, CControlListener* listener, int32_t tag,
                CBitmap* background = nullptr, CBitmap* bgWhenClick = nullptr, int32_t style = 0);
    COptionMenu(const COptionMenu& other);
    ~COptionMenu() override;

    // Appends (index -1) or inserts an entry; the range follows the count.
    CMenuItem* addEntry(const char* title, int32_t index = -1,
                        int32_t itemFlags = CMenuItem::kNoFlags);
    CMenuItem* addSeparator(int32_t index = -1);
    bool removeEntry(int32_t index);
    bool removeAllEntry();
    int32_t getNbEntries() const { return static_cast<int32_t>(items_.size()); }
    CMenuItem* getEntry(int32_t index) const;
    CMenuItem* getCurrent() const { return getEntry(currentIndex_); }
    int32_t getCurrentIndex(bool countSeparator = false) const;
    bool setCurrent(int32_t index, bool countSeparator = true);

    // An index outside the entries is ignored.
    void setValue(float val) override;

    // Opens the platform's pop-up below the menu; false when it cannot (no
    // window, no entries, already open, a platform without pop-ups).
    virtual bool popup();
    bool isPopupOpen() const { return platformMenu_ != nullptr; }
    // The pop-up reports its pick (index -1: none).
    virtual void popupClosed(int32_t index);

    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    int32_t onKeyDown(VstKeyCode& keyCode) override;
    bool removed() override;
    void draw(CDrawContext* context) override;

    bool isTypeOf(const char* type) const override;
    CView* newCopy() const override { return new COptionMenu(*this); }

protected:
    std::vector<CMenuItem*> items_;
    int32_t currentIndex_ = -1;
    CBitmap* bgWhenClick_ = nullptr;
    std::shared_ptr<IPlatformOptionMenu> platformMenu_;
};

} // namespace VSTGUI
