#include "tools/validate/Check.h"

#include "tools/host/PluginInstance.h"

namespace vst2host::validate {

std::unique_ptr<PluginInstance> CheckContext::load() const
{
    return std::make_unique<PluginInstance>(pluginPath);
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
