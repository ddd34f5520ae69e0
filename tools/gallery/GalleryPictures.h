// The pictures the gallery's animated controls draw from, painted in memory
// at start-up and served to the toolkit's bitmaps by name: a knob strip
// ("gallery-knob.png") and a two-state switch ("gallery-switch.png").
#pragma once

namespace gallery {

constexpr int kKnobSide = 48;
constexpr int kKnobFrames = 31;
constexpr int kSwitchSide = 32;

// Registers the pictures with the toolkit; call once before making bitmaps.
void registerPictures();

} // namespace gallery
