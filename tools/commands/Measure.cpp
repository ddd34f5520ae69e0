#include "tools/commands/Commands.h"
#include "tools/host/HostError.h"
#include "tools/host/Measurements.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace vst2host {

namespace {

std::ofstream openCsv(const std::filesystem::path& path)
{
    std::ofstream file(path);
    if (!file)
        throw HostError("cannot write " + path.string());
    file.precision(6);
    file << std::fixed;
    return file;
}

void close(std::ofstream& file, const std::filesystem::path& path)
{
    file.close();
    if (!file)
        throw HostError("cannot write " + path.string());
}

// Names may hold commas and quotes: quoted, quotes doubled.
std::string quoted(const std::string& text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + "\"";
}

std::string number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

void writePanLaw(const MeasureOptions& options, const std::filesystem::path& dir)
{
    const PanLaw law = measurePanLaw(options.plugin, {0.0, -60.0, 60.0});
    const auto path = dir / "pan-law.csv";
    std::ofstream file = openCsv(path);
    file << "elevation_deg,azimuth_deg,left_db,right_db\n";
    for (const PanLawPoint& p : law.points)
        file << p.elevation << ',' << p.azimuth << ',' << p.leftDb << ',' << p.rightDb << '\n';
    close(file, path);
    std::printf("%s: %zu points", path.string().c_str(), law.points.size());
    for (double elevation : law.skippedElevations)
        std::printf("; elevation %s outside the plug-in's range", number(elevation).c_str());
    std::printf("\n");
}

void writeElevation(const MeasureOptions& options, const std::filesystem::path& dir)
{
    const ElevationResponse response =
        measureElevationResponse(options.plugin, {-60.0, -30.0, 0.0, 30.0, 60.0});
    const auto path = dir / "elevation.csv";
    std::ofstream file = openCsv(path);
    file << "frequency_hz";
    for (double elevation : response.elevations)
        file << ",elevation_" << number(elevation) << "_db";
    file << '\n';
    for (size_t f = 0; f < response.frequencies.size(); ++f) {
        file << response.frequencies[f];
        for (const auto& levels : response.levelDb)
            file << ',' << levels[f];
        file << '\n';
    }
    close(file, path);
    std::printf("%s: %zu elevations x %zu frequencies\n", path.string().c_str(),
                response.elevations.size(), response.frequencies.size());
}

void writeWidth(const MeasureOptions& options, const std::filesystem::path& dir)
{
    const std::vector<WidthPoint> points = measureWidth(options.plugin);
    const auto path = dir / "width.csv";
    std::ofstream file = openCsv(path);
    file << "width_normalized,width_display,correlation,side_db,mid_db\n";
    for (const WidthPoint& p : points)
        file << p.normalized << ',' << p.display << ',' << p.correlation << ',' << p.sideDb << ','
             << p.midDb << '\n';
    close(file, path);
    std::printf("%s: %zu widths\n", path.string().c_str(), points.size());
}

void writePrograms(const MeasureOptions& options, const std::filesystem::path& dir)
{
    const std::vector<ProgramMeasurement> programs = measurePrograms(options.plugin);
    const auto path = dir / "programs.csv";
    std::ofstream file = openCsv(path);
    const size_t sources = programs.empty() ? 0 : programs.front().sources.size();
    file << "index,name";
    for (size_t s = 1; s <= sources; ++s)
        file << ",source" << s << "_azimuth,source" << s << "_elevation,source" << s
             << "_width,source" << s << "_active";
    file << ",left_db,right_db\n";
    for (const ProgramMeasurement& p : programs) {
        file << p.index << ',' << quoted(p.name);
        for (const ProgramSource& s : p.sources)
            file << ',' << s.azimuth << ',' << s.elevation << ',' << s.width << ','
                 << (s.active ? 1 : 0);
        file << ',' << p.leftDb << ',' << p.rightDb << '\n';
    }
    close(file, path);
    std::printf("%s: %zu programs\n", path.string().c_str(), programs.size());
}

} // namespace

int runMeasure(const MeasureOptions& options)
{
    requireVst2(options.plugin, "measure");
    const std::filesystem::path dir = options.out;
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error)
        throw HostError("cannot create " + dir.string() + ": " + error.message());

    writePanLaw(options, dir);
    // Elevation and width belong to spatial effects that have them; a
    // plug-in without them still gets the rest measured.
    try {
        writeElevation(options, dir);
    } catch (const HostError& e) {
        std::printf("no elevation response: %s\n", e.what());
    }
    try {
        writeWidth(options, dir);
    } catch (const HostError& e) {
        std::printf("no width measurement: %s\n", e.what());
    }
    writePrograms(options, dir);
    return 0;
}

} // namespace vst2host
