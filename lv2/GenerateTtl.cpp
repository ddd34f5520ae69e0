// Writes the LV2 bundle's descriptions (manifest, plug-in, presets) from the
// parameter table and the factory programs, so that what an LV2 host shows
// cannot drift from what the plug-in does.
//
//   vantelor-lv2-ttl BUNDLE_DIR [--ui]
#include <cctype>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <string>

#include "lv2/VantelorPorts.h"
#include "product/VantelorDescription.h"

namespace {

using namespace vantelor_lv2;

// A float as a Turtle decimal that reads back as the same float.
std::string number(float value)
{
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    std::string s(text, result.ptr);
    if (s.find_first_of(".e") == std::string::npos)
        s += ".0";
    return s;
}

// A Turtle string literal.
std::string quoted(const std::string& text)
{
    std::string s = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\')
            s += '\\';
        s += c;
    }
    return s + "\"";
}

std::string presetUri(const char* name)
{
    std::string slug;
    for (const char* c = name; *c; ++c)
        slug += std::isalnum(static_cast<unsigned char>(*c))
                    ? static_cast<char>(std::tolower(static_cast<unsigned char>(*c)))
                    : '-';
    return std::string("<") + vantelor::kLv2PresetUriPrefix + slug + ">";
}

const char* const kPrefixes = "@prefix doap: <http://usefulinc.com/ns/doap#> .\n"
                              "@prefix lv2: <http://lv2plug.in/ns/lv2core#> .\n"
                              "@prefix pset: <http://lv2plug.in/ns/ext/presets#> .\n"
                              "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
                              "@prefix ui: <http://lv2plug.in/ns/extensions/ui#> .\n"
                              "@prefix units: <http://lv2plug.in/ns/extensions/units#> .\n"
                              "@prefix foaf: <http://xmlns.com/foaf/0.1/> .\n"
                              "@prefix opts: <http://lv2plug.in/ns/ext/options#> .\n\n";

std::string pluginRef()
{
    return std::string("<") + kPluginUri + ">";
}

void writeManifest(std::ostream& out, bool withUi)
{
    out << kPrefixes;
    out << pluginRef() << "\n    a lv2:Plugin ;\n    lv2:binary <" << kDspBinary
        << "> ;\n    rdfs:seeAlso <HF_Vantelor.ttl> .\n\n";
    if (withUi)
        out << "<" << kUiUri << ">\n    a ui:X11UI ;\n    ui:binary <" << kUiBinary
            << "> ;\n    rdfs:seeAlso <HF_Vantelor.ttl> .\n\n";
    for (const VantelorProgramDefinition& program : kVantelorFactoryPrograms)
        out << presetUri(program.name) << "\n    a pset:Preset ;\n    lv2:appliesTo " << pluginRef()
            << " ;\n    rdfs:seeAlso <presets.ttl> .\n\n";
}

// The unit a host shows beside a control.
const char* unitOf(const VantelorParameterDefinition& p)
{
    switch (p.unit) {
    case vantelor::Unit::degrees:
        return "units:degree";
    case vantelor::Unit::percent:
        return "units:pc";
    case vantelor::Unit::none:
        break;
    }
    return nullptr;
}

void writePlugin(std::ostream& out, bool withUi)
{
    out << kPrefixes;
    out << pluginRef() << "\n    a lv2:Plugin , lv2:SpatialPlugin , doap:Project ;\n"
        << "    doap:name " << quoted(vantelor::kProductName) << " ;\n"
        << "    doap:maintainer [ foaf:name " << quoted(vantelor::kVendorName) << " ] ;\n"
        << "    lv2:minorVersion " << kVantelorVersionMinor << " ;\n"
        << "    lv2:microVersion " << kVantelorVersionPatch << " ;\n"
        << "    lv2:optionalFeature lv2:hardRTCapable ;\n";
    if (withUi)
        out << "    ui:ui <" << kUiUri << "> ;\n";
    out << "    lv2:port";
    for (int i = 0; i < kNumVantelorParameters; ++i) {
        const VantelorParameterDefinition& p = kVantelorParameters[i];
        out << " [\n        a lv2:InputPort , lv2:ControlPort ;\n"
            << "        lv2:index " << i << " ;\n"
            << "        lv2:symbol \"" << p.symbol << "\" ;\n"
            << "        lv2:name " << quoted(p.name) << " ;\n"
            << "        lv2:default " << number(p.defaultValue) << " ;\n"
            << "        lv2:minimum " << number(p.min) << " ;\n"
            << "        lv2:maximum " << number(p.max);
        if (const char* unit = unitOf(p))
            out << " ;\n        units:unit " << unit;
        if (p.kind == vantelor::Kind::toggle)
            out << " ;\n        lv2:portProperty lv2:toggled";
        out << "\n    ] ,";
    }
    for (const AudioPortName& port : kAudioPorts) {
        out << " [\n        a " << (port.output ? "lv2:OutputPort" : "lv2:InputPort")
            << " , lv2:AudioPort ;\n"
            << "        lv2:index " << port.index << " ;\n"
            << "        lv2:symbol \"" << port.symbol << "\" ;\n"
            << "        lv2:name " << quoted(port.name) << "\n    ]";
        out << (port.index + 1 == kNumPorts ? " .\n" : " ,");
    }
    if (withUi)
        out << "\n<" << kUiUri << ">\n    a ui:X11UI ;\n"
            << "    lv2:requiredFeature ui:idleInterface , ui:parent ;\n"
            << "    lv2:optionalFeature ui:resize , ui:touch , opts:options , "
               "<http://lv2plug.in/ns/ext/urid#map> ;\n"
            << "    opts:supportedOption ui:scaleFactor ;\n"
            << "    lv2:extensionData ui:idleInterface .\n";
}

void writePresets(std::ostream& out)
{
    out << kPrefixes;
    for (const VantelorProgramDefinition& program : kVantelorFactoryPrograms) {
        out << presetUri(program.name) << "\n    a pset:Preset ;\n    lv2:appliesTo " << pluginRef()
            << " ;\n    rdfs:label " << quoted(program.name) << " ;\n"
            << "    lv2:port";
        for (int i = 0; i < kNumVantelorParameters; ++i)
            out << " [\n        lv2:symbol \"" << kVantelorParameters[i].symbol << "\" ;\n"
                << "        pset:value " << number(program.values[i]) << "\n    ]"
                << (i + 1 == kNumVantelorParameters ? " .\n\n" : " ,");
    }
}

bool writeFile(const std::string& path, void (*write)(std::ostream&, bool), bool withUi)
{
    std::ofstream out(path, std::ios::binary);
    write(out, withUi);
    out.close();
    if (!out) {
        std::fprintf(stderr, "vantelor-lv2-ttl: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3 || (argc == 3 && std::string(argv[2]) != "--ui")) {
        std::fprintf(stderr, "usage: vantelor-lv2-ttl BUNDLE_DIR [--ui]\n");
        return 2;
    }
    const std::string dir = argv[1];
    const bool withUi = argc == 3;
    const bool ok =
        writeFile(dir + "/manifest.ttl", writeManifest, withUi) &&
        writeFile(dir + "/HF_Vantelor.ttl", writePlugin, withUi) &&
        writeFile(
            dir + "/presets.ttl", [](std::ostream& out, bool) { writePresets(out); }, false);
    return ok ? 0 : 2;
}
