// Drives one plug-in instance with arbitrary dispatcher requests, parameter
// changes and small audio blocks. Each opcode gets an argument of the type it
// documents, filled from the input; optional pointers are sometimes null.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "plugin/VantelorVst.h"

namespace {

class Input
{
public:
    Input(const std::uint8_t* data, std::size_t size) : data(data), size(size) {}
    bool empty() const { return pos >= size; }
    template <typename T>
    T take()
    {
        T value{};
        const std::size_t n = size - pos < sizeof(T) ? size - pos : sizeof(T);
        std::memcpy(&value, data + pos, n);
        pos += n;
        return value;
    }
    void fill(void* target, std::size_t n)
    {
        const std::size_t available = size - pos < n ? size - pos : n;
        std::memcpy(target, data + pos, available);
        pos += available;
    }

private:
    const std::uint8_t* data;
    std::size_t size;
    std::size_t pos = 0;
};

VstIntPtr VSTCALLBACK host(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float)
{
    return opcode == audioMasterVersion ? kVstVersion : 0;
}

// Room for the longest documented text plus slack, with a guard region that
// must never be written.
struct TextBuffer
{
    static constexpr std::size_t kSize = 256;
    static constexpr std::size_t kGuard = 64;
    char bytes[kSize + kGuard];
    void prepare(Input& in)
    {
        in.fill(bytes, kSize);
        std::memset(bytes + kSize, 0x5a, kGuard);
    }
    void check() const
    {
        for (std::size_t i = kSize; i < kSize + kGuard; ++i)
            if (bytes[i] != 0x5a)
                __builtin_trap();
    }
};

VstInt32 pickOpcode(Input& in)
{
    const std::uint8_t selector = in.take<std::uint8_t>();
    if (selector < 240)
        return selector % 82; // the documented range and a little beyond
    return in.take<VstInt32>();
}

void dispatch(AEffect* e, Input& in)
{
    const VstInt32 opcode = pickOpcode(in);
    const VstInt32 index = in.take<VstInt32>();
    VstIntPtr value = in.take<VstIntPtr>();
    const float opt = in.take<float>();
    const bool nullPointer = (in.take<std::uint8_t>() & 7) == 0;

    TextBuffer text;
    text.prepare(in);
    // Names the plug-in reads must be terminated within the documented room.
    text.bytes[TextBuffer::kSize - 1] = 0;

    switch (opcode) {
    case effEditGetRect: {
        ERect* rect = nullptr;
        e->dispatcher(e, opcode, index, value, nullPointer ? nullptr : &rect, opt);
        break;
    }
    case effGetChunk: {
        void* chunk = nullptr;
        e->dispatcher(e, opcode, index, value, nullPointer ? nullptr : &chunk, opt);
        break;
    }
    case effSetSpeakerArrangement: {
        VstSpeakerArrangement in8{}, out8{};
        in8.numChannels = 2;
        out8.numChannels = 2;
        value = nullPointer ? 0 : reinterpret_cast<VstIntPtr>(&in8);
        e->dispatcher(e, opcode, index, value, nullPointer ? nullptr : &out8, opt);
        break;
    }
    case effGetSpeakerArrangement: {
        VstSpeakerArrangement* inArr = nullptr;
        VstSpeakerArrangement* outArr = nullptr;
        value = nullPointer ? 0 : reinterpret_cast<VstIntPtr>(&inArr);
        e->dispatcher(e, opcode, index, value, nullPointer ? nullptr : &outArr, opt);
        break;
    }
    case effEditOpen:
    case effEditClose:
    case effEditIdle:
    case effClose: // the instance's lifetime belongs to the harness
    case effProcessEvents:
    case effGetInputProperties:
    case effGetOutputProperties:
    case effOfflineNotify:
    case effOfflinePrepare:
    case effOfflineRun:
    case effProcessVarIo:
    case effGetParameterProperties:
    case effGetMidiProgramName:
    case effGetCurrentMidiProgram:
    case effGetMidiProgramCategory:
    case effGetMidiKeyName:
    case effBeginLoadBank:
    case effBeginLoadProgram:
    case effVendorSpecific:
    case effSetChunk:
        // Record-typed pointers: the plug-in does not read them, so a null or
        // zero-filled record of ample size stands in.
        if (opcode == effClose || opcode == effEditOpen)
            break; // no window handle can be made up
        {
            alignas(16) std::uint8_t record[1024] = {};
            if (opcode == effSetChunk)
                value = value & 0x3ff; // a chunk size within the record
            e->dispatcher(e, opcode, index, value, nullPointer ? nullptr : record, opt);
        }
        break;
    default:
        // Everything else takes a text buffer (or no pointer at all).
        e->dispatcher(e, opcode, index, value, nullPointer ? nullptr : text.bytes, opt);
        text.check();
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Input in(data, size);
    CMyVSTPlugin* plugin = createVantelorVst(host);
    AEffect* e = plugin->getAeffect();

    std::vector<float> buffers[4];
    for (auto& b : buffers)
        b.assign(64, 0.0f);

    for (int step = 0; step < 64 && !in.empty(); ++step) {
        switch (in.take<std::uint8_t>() % 4) {
        case 0:
        case 1:
            dispatch(e, in);
            break;
        case 2: {
            const VstInt32 index = in.take<VstInt32>() % 12;
            e->setParameter(e, index, in.take<float>());
            (void)e->getParameter(e, index);
            break;
        }
        default: {
            VstInt32 frames = in.take<std::int8_t>(); // negative counts included
            for (auto& b : buffers)
                in.fill(b.data(), b.size() * sizeof(float) / 4);
            float* inputs[2] = {buffers[0].data(), buffers[1].data()};
            float* outputs[2] = {buffers[2].data(), buffers[3].data()};
            const std::uint8_t layout = in.take<std::uint8_t>();
            if (layout & 1)
                outputs[1] = inputs[1]; // in-place processing
            if (layout & 2)
                inputs[0] = nullptr;
            if (frames > 64)
                frames = 64;
            e->processReplacing(e, (layout & 4) ? nullptr : inputs, outputs, frames);
            break;
        }
        }
    }
    e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f);
    return 0;
}
