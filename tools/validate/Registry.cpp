#include "tools/validate/Check.h"

#include "tools/host/PluginInstance.h"
#include "tools/host/formats/OpenPlugin.h"

namespace vst2host::validate {

std::unique_ptr<PluginInstance> CheckContext::load() const
{
    return std::make_unique<PluginInstance>(pluginPath);
}

std::unique_ptr<HostedPlugin> CheckContext::loadAny() const
{
    return openPlugin(pluginPath);
}

const std::vector<Check>& allChecks()
{
    static const std::vector<Check> checks = [] {
        std::vector<Check> all;
        addIdentityChecks(all);
        addParameterChecks(all);
        addStateChecks(all);
        addProcessingChecks(all);
        addAutomationChecks(all);
        addRealTimeChecks(all);
        addEditorChecks(all);
        return all;
    }();
    return checks;
}

} // namespace vst2host::validate
