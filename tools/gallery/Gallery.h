// Every control of the library, in representative states, with a caption
// each, laid out in one frame. In a window the controls are live, and the
// meters follow a test signal through the level followers.
#pragma once

#include "toolkit/CControl.h"
#include "toolkit/CFrame.h"

#include <memory>

class CAnalogVuMeter;
class CVUDragMeter;
class CVUMeter;
class CPlotAxes;
class CVu;
class CAnalogVu;

namespace gallery {

constexpr int kWidth = 790;
constexpr int kHeight = 560;

class Gallery : public VSTGUI::CControlListener
{
public:
    // Adds the gallery's views to frame, which must be kWidth x kHeight.
    explicit Gallery(VSTGUI::CFrame* frame);
    ~Gallery() override;

    // Advances the test signal by seconds and shows it on the meters.
    void play(double seconds);

    void valueChanged(VSTGUI::CControl* control) override;

private:
    CPlotAxes* plot_ = nullptr;
    CPlotAxes* polar_ = nullptr;
    CVUMeter* peakMeter_ = nullptr;
    CVUMeter* reductionMeter_ = nullptr;
    CVUDragMeter* dragMeter_ = nullptr;
    CAnalogVuMeter* needle_ = nullptr;
    std::unique_ptr<CVu> peak_;
    std::unique_ptr<CVu> valley_;
    std::unique_ptr<CAnalogVu> vu_;
    double phase_ = 0;
    double time_ = 0;
};

} // namespace gallery
