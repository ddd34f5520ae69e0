// The built plug-in with the recording host callback of the editor tests, and
// the editor requests a host makes.
#pragma once

#include "EditorTestSupport.h"
#include "tests/support/BuiltPlugin.h"
#include "tests/toolkit/X11TestSupport.h"

namespace vantelor_test {

class LoadedPlugin : public BuiltPlugin
{
public:
    LoadedPlugin() : BuiltPlugin(RecordingHost::callback) {}

    bool openEditor(const HostWindow& host) { return call(effEditOpen, 0, 0, host.parent()) == 1; }
    void idle() { call(effEditIdle); }
    void closeEditor() { call(effEditClose); }
};

} // namespace vantelor_test
