// plugin-host: loads any Linux VST 2.4, VST3 or CLAP plug-in and reports on
// it, renders audio files through it, measures its processing cost or
// validates it; a VST 2.4 plug-in's spatial behaviour and editor too. Also
// called vst2-host, its earlier name.
#include "tools/commands/Commands.h"
#include "tools/host/HostError.h"
#include "tools/host/ReportStream.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <cstring>
#include <exception>

namespace {

void addParameterOptions(CLI::App& command, vst2host::ParameterOptions& parameters)
{
    command.add_option("--program", parameters.program, "Program to select, by index or name");
    command
        .add_option("--set", parameters.sets,
                    "Parameter value as the plug-in displays it, e.g. \"Gain=-6\" (repeatable)")
        ->type_name("NAME=VALUE")
        ->expected(1)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    command
        .add_option("--set-normalized", parameters.normalized,
                    "Normalised parameter value in 0..1 (repeatable)")
        ->type_name("NAME=VALUE")
        ->expected(1)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
}

// What the PLUGIN argument of a command may be.
constexpr const char* kPluginHelp =
    "Plug-in: a VST 2.4 shared object, a .vst3 bundle or a .clap file";
constexpr const char* kVst2PluginHelp = "Plug-in: a VST 2.4 shared object";

} // namespace

int main(int argc, char** argv)
{
    // Called by its earlier name, the program keeps that name in its messages.
    const char* called = argc > 0 && argv[0] != nullptr ? std::strrchr(argv[0], '/') : nullptr;
    called = called != nullptr ? called + 1 : (argc > 0 && argv[0] != nullptr ? argv[0] : "");
    vst2host::setProgramName(std::strcmp(called, "vst2-host") == 0 ? "vst2-host" : "plugin-host");
    const char* name = vst2host::programName();

    CLI::App app{"Command-line host for VST 2.4, VST3 and CLAP plug-ins", name};
    app.require_subcommand(1);

    vst2host::InfoOptions info;
    auto* infoCommand =
        app.add_subcommand("info", "Print a plug-in's identity, parameters, programs "
                                   "and capabilities");
    infoCommand->add_option("PLUGIN", info.plugin, kPluginHelp)->required();
    infoCommand->add_flag("--json", info.json, "Print JSON instead of text");

    vst2host::RenderOptions render;
    auto* renderCommand = app.add_subcommand("render", "Process an audio file, or the built-in "
                                                       "demo signal, through a plug-in");
    renderCommand->add_option("PLUGIN", render.plugin, kPluginHelp)->required();
    renderCommand->add_option("-i,--input", render.input,
                              "Input audio file (mono or stereo); the demo signal without it");
    renderCommand
        ->add_option(
            "-o,--output", render.output,
            "Output audio file; its extension chooses the format (wav, aiff, flac, ogg, ...)")
        ->required();
    addParameterOptions(*renderCommand, render.parameters);
    renderCommand
        ->add_option("--sweep", render.sweep,
                     "Move a parameter linearly over the file, in display units")
        ->type_name("NAME:FROM:TO");
    renderCommand->add_option("--block", render.block, "Block size in frames")
        ->check(CLI::Range(1, 65536))
        ->capture_default_str();
    renderCommand->add_flag(
        "--same-format", render.sameFormat,
        "Keep the input's sample format (bit depth or encoding) instead of the best "
        "the output's format holds; the extension still chooses the file format");
    auto* gainOption =
        renderCommand->add_option("--gain", render.gain, "Gain applied to the output, in dB")
            ->check(CLI::Range(-120.0, 60.0));
    renderCommand
        ->add_flag("--normalize", render.normalize,
                   "Scale the output so that its loudest sample is at full scale")
        ->excludes(gainOption);

    vst2host::BenchOptions bench;
    auto* benchCommand = app.add_subcommand("bench", "Measure the processing cost of plug-ins in "
                                                     "alternating rounds");
    benchCommand->add_option("PLUGIN", bench.plugins, "Plug-ins, of any of the formats")
        ->required();
    addParameterOptions(*benchCommand, bench.parameters);
    benchCommand->add_option("--block", bench.block, "Block size in frames")
        ->check(CLI::Range(1, 65536))
        ->capture_default_str();
    benchCommand
        ->add_option("--seconds", bench.seconds, "Measured audio time per plug-in, in seconds")
        ->check(CLI::Range(0.01, 3600.0))
        ->capture_default_str();
    benchCommand
        ->add_option("--sweep", bench.sweep,
                     "Automate a parameter while measuring: set before every block, moving "
                     "linearly from FROM to TO and back, in display units (plug-ins without it are "
                     "not automated)")
        ->type_name("NAME:FROM:TO");
    benchCommand
        ->add_option(
            "--input", bench.input,
            "What the plug-ins process: the demo material, white noise at half full scale, or "
            "digital silence")
        ->check(CLI::IsMember({"demo", "noise", "silence"}))
        ->capture_default_str();
    benchCommand
        ->add_option("--instances", bench.instances,
                     "Instances of each plug-in, each on its own input, processed in turn as a "
                     "session's tracks are; the cost is given per instance")
        ->check(CLI::Range(1, 1024))
        ->capture_default_str();
    benchCommand->add_flag(
        "--startup", bench.startup,
        "Measure instead what an instance costs to start: create, resume, one block and delete "
        "(median of 200), and the memory 100 instances keep resident after processing");
    benchCommand
        ->add_option("--sweep-seconds", bench.sweepSeconds,
                     "Audio time of one sweep from FROM to TO and back, in seconds")
        ->check(CLI::Range(0.01, 3600.0))
        ->capture_default_str();

    vst2host::EditorOptions editor;
    auto* editorCommand = app.add_subcommand("editor", "Show a plug-in's editor in a window");
    editorCommand->add_option("PLUGIN", editor.plugin, kVst2PluginHelp)->required();
    editorCommand
        ->add_option("--seconds", editor.seconds,
                     "Close after this many seconds (default: when the window is closed)")
        ->check(CLI::Range(0.0, 86400.0));
    editorCommand->add_option("--screenshot", editor.screenshot,
                              "Save a PNG of the window before closing");
    editorCommand
        ->add_option("--scale", editor.scale,
                     "Ask the editor to draw at this display scale (1 to 4), "
                     "as hosts on scaled displays do")
        ->check(CLI::Range(1.0, 4.0));

    vst2host::ValidateOptions validate;
    auto* validateCommand =
        app.add_subcommand("validate", "Check a plug-in as demanding hosts use it: "
                                       "texts, parameters, state, processing, real time");
    validateCommand->add_option("PLUGIN", validate.plugin, kPluginHelp)->required();
    validateCommand
        ->add_option(
            "--strictness", validate.strictness,
            "1 (basic) to 10 (strictest): which checks run, and what fails rather than warns")
        ->check(CLI::Range(1, 10))
        ->capture_default_str();
    validateCommand->add_option("--json", validate.json,
                                "Also write the results as JSON to this file");
    validateCommand->add_option("--seed", validate.seed, "Seed of the random values and signals")
        ->capture_default_str();
    validateCommand->add_option("--only", validate.only, "Run only the checks of these names")
        ->expected(1, -1);

    vst2host::MeasureOptions measure;
    auto* measureCommand = app.add_subcommand(
        "measure", "Measure a stereo spatial effect: pan law, elevation colour, width and "
                   "programs, written as CSV files");
    measureCommand->add_option("PLUGIN", measure.plugin, kVst2PluginHelp)->required();
    measureCommand->add_option("--out", measure.out, "Folder for the CSV files")->required();

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        std::fprintf(stderr, "%s: %s (see --help)\n", name, e.what());
        return 2;
    }

    vst2host::separateReport();
    try {
        if (*infoCommand)
            return vst2host::runInfo(info);
        if (*renderCommand)
            return vst2host::runRender(render);
        if (*benchCommand)
            return vst2host::runBench(bench);
        if (*validateCommand)
            return vst2host::runValidate(validate);
        if (*editorCommand)
            return vst2host::runEditor(editor);
        if (*measureCommand)
            return vst2host::runMeasure(measure);
    } catch (const vst2host::HostError& e) {
        std::fprintf(stderr, "%s: %s\n", name, e.what());
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", name, e.what());
        return 2;
    }
    return 2;
}
