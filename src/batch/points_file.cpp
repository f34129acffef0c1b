#include "batch/points_file.h"

#include "model/number_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <vector>

namespace ai::batch {

namespace {

constexpr std::string_view kHeaderHelp =
    "la première ligne doit nommer les colonnes : x,y ou x,y,loaded_x,loaded_y.";

std::string_view trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::vector<std::string_view> fields(std::string_view line, char separator)
{
    std::vector<std::string_view> out;
    for (std::size_t from = 0;;) {
        const std::size_t end = line.find(separator, from);
        out.push_back(trimmed(line.substr(from, end - from)));
        if (end == std::string_view::npos)
            return out;
        from = end + 1;
    }
}

bool names(std::string_view field, std::string_view name)
{
    return field == name ||
           (field.size() == name.size() + 3 && field.starts_with(name) && field.ends_with("_px"));
}

// A number with a decimal point, or a decimal comma where ';' separates the fields.
std::optional<double> number(std::string_view field, char separator)
{
    std::string text(field);
    if (separator == ';')
        std::replace(text.begin(), text.end(), ',', '.');
    double value = 0.0;
    if (text.starts_with('+'))
        text.erase(0, 1);
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        !std::isfinite(value * kTwipsPerPixel))
        return std::nullopt;
    return value;
}

// A pixel coordinate in view units, held as the value of its 15-digit text.
double viewUnits(double pixels) { return roundTo15Digits(pixels * kTwipsPerPixel); }

} // namespace

std::optional<std::string> readPointsFile(std::string_view bytes, ProjectState& state)
{
    // Spreadsheets may start the file with a byte order mark.
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    std::vector<std::array<double, 4>> points;
    std::size_t columns = 0;
    // A spreadsheet set to a decimal comma separates its fields with ';'.
    char separator = ',';
    int lineNumber = 0;
    for (std::size_t from = 0; from < bytes.size();) {
        const std::size_t end = std::min(bytes.find('\n', from), bytes.size());
        std::string_view line = bytes.substr(from, end - from);
        from = end + 1;
        ++lineNumber;
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (trimmed(line).empty())
            continue;
        if (columns == 0 && line.find(';') != std::string_view::npos)
            separator = ';';
        const auto values = fields(line, separator);
        if (columns == 0) {
            const bool guesses =
                values.size() == 4 && names(values[2], "loaded_x") && names(values[3], "loaded_y");
            if ((values.size() != 2 && !guesses) || !names(values[0], "x") ||
                !names(values[1], "y"))
                return std::string(kHeaderHelp);
            columns = values.size();
            continue;
        }
        const std::string where = "ligne " + formatWhole(lineNumber) + " : ";
        if (values.size() != columns)
            return where + formatWhole(static_cast<long long>(values.size())) +
                   " valeur(s) au lieu de " + formatWhole(static_cast<long long>(columns)) + ".";
        std::array<double, 4> point{};
        for (std::size_t i = 0; i < columns; ++i) {
            const auto value = number(values[i], separator);
            if (!value)
                return where + "« " + std::string(values[i]) +
                       " » n'est pas un nombre (point décimal).";
            point[i] = *value;
        }
        if (columns == 2)
            point[2] = point[0], point[3] = point[1];
        points.push_back(point);
        if (points.size() > static_cast<std::size_t>(kMaxNodes))
            return "plus de " + formatWhole(kMaxNodes) + " points : une étude en prend " +
                   formatWhole(kMaxNodes) + " au plus.";
    }
    if (columns == 0)
        return std::string(kHeaderHelp);
    if (points.empty())
        return std::string("aucun point après la ligne des noms de colonnes.");

    int n = 0;
    for (const auto& [x, y, loadedX, loadedY] : points) {
        const auto slot = static_cast<std::size_t>(++n);
        state.FreeNodes[slot] = {viewUnits(x), viewUnits(y)};
        state.LoadNodes[slot] = {viewUnits(loadedX), viewUnits(loadedY)};
        state.LoadLocations[slot] = LoadLocation{};
        state.NodeSums[slot] = NodeSum{0.0, 0.0};
    }
    state.NodeCount = n;
    return std::nullopt;
}

} // namespace ai::batch
