// Writes the bundle's Contents/Resources/moduleinfo.json from the product's
// description, so that hosts can list the plug-in without loading it and the
// list cannot drift from what the module's factory answers.
//
//   vantelor-vst3-moduleinfo <file>
#include <cstdio>
#include <string>

#include "product/VantelorDescription.h"
#include "vst3/Vst3Interface.h"
#include "vst3/VantelorVst3Ids.h"

namespace {

// A class id in the form the file uses: its four words as 32 hex digits,
// the same on every platform.
std::string cidText(const vantelor::ClassId& id)
{
    char text[33];
    std::snprintf(text, sizeof text, "%08X%08X%08X%08X", id.words[0], id.words[1], id.words[2],
                  id.words[3]);
    return text;
}

// The product's texts are plain ASCII without quotes or backslashes; the
// escape keeps the file valid whatever they become.
std::string quoted(const char* text)
{
    std::string out = "\"";
    for (const char* c = text; *c; ++c) {
        if (*c == '"' || *c == '\\')
            out += '\\';
        out += *c;
    }
    return out + "\"";
}

std::string classEntry(const vantelor::ClassId& id, const char* category, bool audioModule)
{
    std::string s = "    {\n";
    s += "      \"CID\": " + quoted(cidText(id).c_str()) + ",\n";
    s += "      \"Category\": " + quoted(category) + ",\n";
    s += "      \"Name\": " + quoted(vantelor::kProductName) + ",\n";
    s += "      \"Vendor\": " + quoted(vantelor::kVendorName) + ",\n";
    s += "      \"Version\": " + quoted(vantelor::kVersionText) + ",\n";
    s += "      \"SDKVersion\": " + quoted(vst3::kVstVersionString) + ",\n";
    s += "      \"Sub Categories\": [";
    if (audioModule)
        s += "\"Fx\", \"Spatial\"";
    s += "],\n";
    s += "      \"Class Flags\": " + std::to_string(audioModule ? vst3::kDistributable : 0) + ",\n";
    s += "      \"Cardinality\": " + std::to_string(vst3::PClassInfo::kManyInstances) + ",\n";
    s += "      \"Snapshots\": []\n";
    s += "    }";
    return s;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: vantelor-vst3-moduleinfo <file>\n");
        return 2;
    }
    std::string json = "{\n";
    json += "  \"Name\": " + quoted(vantelor::kProductName) + ",\n";
    json += "  \"Version\": " + quoted(vantelor::kVersionText) + ",\n";
    json += "  \"Factory Info\": {\n";
    json += "    \"Vendor\": " + quoted(vantelor::kVendorName) + ",\n";
    json += "    \"URL\": " + quoted(vantelor::kVendorUrl) + ",\n";
    json += "    \"E-Mail\": \"\",\n";
    json += "    \"Flags\": {\n";
    json += "      \"Unicode\": true,\n";
    json += "      \"Classes Discardable\": false,\n";
    json += "      \"Component Non Discardable\": false\n";
    json += "    }\n";
    json += "  },\n";
    json += "  \"Compatibility\": [],\n";
    json += "  \"Classes\": [\n";
    json += classEntry(vantelor::kVst3ProcessorId, vst3::kVstAudioEffectClass, true) + ",\n";
    json +=
        classEntry(vantelor::kVst3ControllerId, vst3::kVstComponentControllerClass, false) + "\n";
    json += "  ]\n}\n";

    std::FILE* file = std::fopen(argv[1], "wb");
    if (!file) {
        std::fprintf(stderr, "error: cannot write %s\n", argv[1]);
        return 2;
    }
    const bool written = std::fwrite(json.data(), 1, json.size(), file) == json.size();
    if (std::fclose(file) != 0 || !written) {
        std::fprintf(stderr, "error: cannot write %s\n", argv[1]);
        return 2;
    }
    return 0;
}
