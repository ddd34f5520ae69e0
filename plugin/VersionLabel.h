// What an editor may ask of its plug-in beyond the host-facing AudioEffect
// calls: the label that names the product and its version.
#pragma once

class IVersionLabel
{
public:
    // "<effect name> v<major>.<minor>.<patch>" into text, at most 40
    // characters and a terminator; false when there is none.
    virtual bool getVersionLabel(char* text) = 0;

protected:
    ~IVersionLabel() = default;
};
