#include "plugin/VantelorVst.h"

#include <memory>

#include "editor/MyVSTEditor.h"

CMyVSTPlugin* createVantelorVst(audioMasterCallback audioMaster)
{
    auto plugin = std::make_unique<CMyVSTPlugin>(audioMaster);
    // The editor attaches itself and is owned by the effect from now on.
    new CMyVSTEditor(plugin.get(), plugin.get());
    return plugin.release();
}
