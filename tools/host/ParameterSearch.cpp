#include "tools/host/ParameterSearch.h"

#include "tools/host/HostError.h"
#include "tools/host/HostedPlugin.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <sstream>

namespace vst2host {

namespace {

// Enough halvings to reach the resolution of a 32-bit float in 0..1.
constexpr int kBisectionSteps = 40;
// Points sampled when looking a word up among the display texts.
constexpr int kTextScanSteps = 400;

std::string formatNumber(double value)
{
    std::ostringstream out;
    out << value;
    return out.str();
}

std::string lowerCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The displayed number at one normalised value, turned so that it increases.
struct DisplayCurve
{
    std::optional<double> at(float x)
    {
        plugin.setParameter(index, x);
        return leadingNumber(plugin.paramDisplay(index));
    }

    HostedPlugin& plugin;
    int index;
};

// Bisection for a monotonic step function g on [0, 1]: the smallest x with
// g(x) >= t (firstAtLeast) or the largest x with g(x) <= t.
float bisect(DisplayCurve& curve, double sign, double t, bool firstAtLeast)
{
    double lo = 0.0;
    double hi = 1.0;
    for (int step = 0; step < kBisectionSteps; ++step) {
        const double mid = 0.5 * (lo + hi);
        const auto midValue = static_cast<float>(mid);
        if (midValue <= static_cast<float>(lo) || midValue >= static_cast<float>(hi))
            break;
        const double g = sign * curve.at(midValue).value_or(std::nan(""));
        // A display that is not numeric at some point never matches the target.
        if (firstAtLeast ? g >= t : !(g <= t))
            hi = mid;
        else
            lo = mid;
    }
    return static_cast<float>(firstAtLeast ? hi : lo);
}

} // namespace

std::optional<double> leadingNumber(const std::string& text)
{
    const std::string trimmed = trim(text);
    if (trimmed.empty())
        return std::nullopt;
    char* end = nullptr;
    const double value = std::strtod(trimmed.c_str(), &end);
    if (end == trimmed.c_str() || std::isnan(value))
        return std::nullopt;
    return value;
}

float normalizedForDisplay(HostedPlugin& plugin, int index, double target)
{
    const std::string name = plugin.paramName(index);
    DisplayCurve curve{plugin, index};
    const auto first = curve.at(0.0f);
    const auto last = curve.at(1.0f);
    if (!first || !last)
        throw HostError("parameter " + name +
                        " does not display a number; use its display text or "
                        "--set-normalized");
    const double low = std::min(*first, *last);
    const double high = std::max(*first, *last);
    if (!(target >= low && target <= high))
        throw HostError("value " + formatNumber(target) + " for " + name +
                        " is outside its range " + formatNumber(*first) + " .. " +
                        formatNumber(*last));
    if (*first == *last) {
        plugin.setParameter(index, 0.0f);
        return 0.0f;
    }

    const double sign = *last > *first ? 1.0 : -1.0;
    const double t = sign * target;
    const float lower = t <= sign * *first ? 0.0f : bisect(curve, sign, t, true);
    const float upper = t >= sign * *last ? 1.0f : bisect(curve, sign, t, false);

    float result = lower;
    const double lowerValue = sign * curve.at(lower).value_or(std::nan(""));
    const double upperValue = sign * curve.at(upper).value_or(std::nan(""));
    if (lower <= upper && lowerValue == t && upperValue == t) {
        // A rounded display shows the target over a range of values. At an end
        // of the parameter's range the end itself is exact; elsewhere the
        // middle is, for a linear parameter.
        const float middle = 0.5f * (lower + upper);
        if (lower == 0.0f || upper == 1.0f)
            result = lower == 0.0f ? 0.0f : 1.0f;
        else if (sign * curve.at(middle).value_or(std::nan("")) == t)
            result = middle;
    } else if (std::abs(upperValue - t) < std::abs(lowerValue - t)) {
        result = upper;
    }
    plugin.setParameter(index, result);
    return result;
}

float normalizedForText(HostedPlugin& plugin, int index, const std::string& value)
{
    if (const auto number = leadingNumber(value)) {
        DisplayCurve curve{plugin, index};
        if (curve.at(0.0f) && curve.at(1.0f))
            return normalizedForDisplay(plugin, index, *number);
    }
    // A word: the middle of the first run of values that display it.
    const std::string wanted = lowerCase(trim(value));
    int runStart = -1;
    int runEnd = -1;
    for (int step = 0; step <= kTextScanSteps; ++step) {
        plugin.setParameter(index, static_cast<float>(step) / kTextScanSteps);
        const bool match = lowerCase(plugin.paramDisplay(index)) == wanted;
        if (match && runStart < 0)
            runStart = step;
        if (match)
            runEnd = step;
        if (!match && runStart >= 0)
            break;
    }
    if (runStart < 0)
        throw HostError("parameter " + plugin.paramName(index) + " has no value displayed as \"" +
                        trim(value) + "\"");
    const float result = 0.5f * static_cast<float>(runStart + runEnd) / kTextScanSteps;
    plugin.setParameter(index, result);
    return result;
}

} // namespace vst2host
