// What the product's window needs of its plug-in, whatever the format: the
// current values, edits wrapped in a begin and an end, and the version label.
// Each format implements it (the VST plug-in itself; the LV2 UI over the
// host's port writes), so the window knows nothing else of the plug-in.
#pragma once

#include <cstdint>

class IEditorConnection
{
public:
    // Window thread. The parameter's current value, normalised to 0..1.
    virtual float currentValue(int32_t index) = 0;
    // Window thread. A gesture on one parameter: begin, any number of changes
    // (normalised values), end; the host records them as automation.
    virtual void beginChange(int32_t index) = 0;
    virtual void change(int32_t index, float normalised) = 0;
    virtual void endChange(int32_t index) = 0;
    // "<effect name> v<major>.<minor>.<patch>" into text, at most 40
    // characters and a terminator; false when there is none.
    virtual bool getVersionLabel(char* text) = 0;

protected:
    ~IEditorConnection() = default;
};
