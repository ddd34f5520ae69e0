// A small LV2 host on lilv for the tests: the bundle this build made, loaded
// as a host loads it, and one instance with its ports connected to buffers
// the test owns.
#pragma once

#include <lilv/lilv.h>
#include <lv2/urid/urid.h>

#include <string>
#include <vector>

#include "lv2/VantelorPorts.h"

#ifndef VANTELOR_LV2_BUNDLE
#error "VANTELOR_LV2_BUNDLE must name the built bundle (a compile definition)"
#endif

namespace vantelor_test {

// The world with our bundle loaded, and the nodes the tests ask about.
class Lv2World
{
public:
    Lv2World()
    {
        world = lilv_world_new();
        LilvNode* bundle = lilv_new_file_uri(world, nullptr, VANTELOR_LV2_BUNDLE "/");
        lilv_world_load_bundle(world, bundle);
        lilv_node_free(bundle);
        LilvNode* uri = lilv_new_uri(world, vantelor_lv2::kPluginUri);
        plugin = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(world), uri);
        lilv_node_free(uri);
        urid.handle = this;
        urid.map = [](LV2_URID_Map_Handle h, const char* text) -> LV2_URID {
            auto& uris = static_cast<Lv2World*>(h)->uris;
            for (size_t i = 0; i < uris.size(); ++i)
                if (uris[i] == text)
                    return static_cast<LV2_URID>(i + 1);
            uris.emplace_back(text);
            return static_cast<LV2_URID>(uris.size());
        };
    }
    ~Lv2World()
    {
        for (LilvNode* n : nodes)
            lilv_node_free(n);
        lilv_world_free(world);
    }
    Lv2World(const Lv2World&) = delete;
    Lv2World& operator=(const Lv2World&) = delete;

    // A node that lives as long as the world.
    const LilvNode* node(const char* uri)
    {
        nodes.push_back(lilv_new_uri(world, uri));
        return nodes.back();
    }

    // The value of one property of a subject as a string ("" when absent).
    std::string get(const LilvNode* subject, const char* predicate)
    {
        LilvNode* value = lilv_world_get(world, subject, node(predicate), nullptr);
        std::string text = value ? lilv_node_as_string(value) : "";
        lilv_node_free(value);
        return text;
    }

    LilvWorld* world = nullptr;
    const LilvPlugin* plugin = nullptr;
    LV2_URID_Map urid{};
    std::vector<std::string> uris;

private:
    std::vector<LilvNode*> nodes;
};

// One instance of the plug-in with its own control values and audio buffers.
class Lv2Instance
{
public:
    Lv2Instance(const LilvPlugin* plugin, double rate, size_t maxFrames = 8192)
        : in(2, std::vector<float>(maxFrames)), out(2, std::vector<float>(maxFrames))
    {
        instance = lilv_plugin_instantiate(plugin, rate, nullptr);
        if (!instance)
            return;
        for (unsigned i = 0; i < kNumVantelorParameters; ++i)
            lilv_instance_connect_port(instance, i, &controls[i]);
        lilv_instance_connect_port(instance, vantelor_lv2::kInLeft, in[0].data());
        lilv_instance_connect_port(instance, vantelor_lv2::kInRight, in[1].data());
        lilv_instance_connect_port(instance, vantelor_lv2::kOutLeft, out[0].data());
        lilv_instance_connect_port(instance, vantelor_lv2::kOutRight, out[1].data());
    }
    ~Lv2Instance()
    {
        if (instance)
            lilv_instance_free(instance);
    }
    Lv2Instance(const Lv2Instance&) = delete;
    Lv2Instance& operator=(const Lv2Instance&) = delete;

    void run(uint32_t frames) { lilv_instance_run(instance, frames); }

    LilvInstance* instance = nullptr;
    float controls[kNumVantelorParameters] = {};
    std::vector<std::vector<float>> in;
    std::vector<std::vector<float>> out;
};

} // namespace vantelor_test
