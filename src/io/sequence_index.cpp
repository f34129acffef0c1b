#include "io/sequence_index.h"

#include "model/number_text.h"
#include "model/project_state.h"

#include <charconv>

namespace ai {

namespace {

constexpr std::string_view FormatKey = "sequence-index";
constexpr std::string_view FreeKey = "free";
constexpr std::string_view StepsKey = "steps";
constexpr std::string_view SelectedKey = "selected";
constexpr std::string_view StepKey = "step";
constexpr std::string_view PhotographKey = "photograph";
constexpr std::string_view MeshKey = "mesh";
constexpr std::string_view NotFoundKey = "notfound";

bool isAbsolute(std::string_view path)
{
    return path.starts_with('/') || path.starts_with('\\') ||
           (path.size() >= 2 && path[1] == ':' &&
            ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')));
}

std::string joined(std::string_view folder, std::string_view path)
{
    if (folder.empty() || isAbsolute(path))
        return std::string(path);
    return std::string(folder) + '/' + std::string(path);
}

std::string_view relative(std::string_view folder, std::string_view path)
{
    if (folder.empty() || path.size() <= folder.size() + 1 || !path.starts_with(folder))
        return path;
    const char separator = path[folder.size()];
    return separator == '/' || separator == '\\' ? path.substr(folder.size() + 1) : path;
}

// A whole number of at most five digits, no sign: enough for any count of the index.
std::optional<int> smallWhole(std::string_view text)
{
    int value = 0;
    if (text.empty() || text.size() > 5)
        return std::nullopt;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text[0] == '-')
        return std::nullopt;
    return value;
}

std::optional<std::vector<int>> nodeList(std::string_view text)
{
    std::vector<int> nodes;
    while (!text.empty()) {
        const std::size_t blank = text.find(' ');
        const auto node = smallWhole(text.substr(0, blank));
        if (!node || *node < 1 || *node > kMaxNodes || (!nodes.empty() && *node <= nodes.back()))
            return std::nullopt;
        nodes.push_back(*node);
        text = blank == std::string_view::npos ? std::string_view() : text.substr(blank + 1);
    }
    return nodes;
}

std::string quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

// Reads the lines in order, keeping what the header and the steps have said so far.
class IndexReader {
public:
    explicit IndexReader(std::string_view folder) : folder_(folder) {}

    // The error of the line, or "" when it is taken.
    std::string line(std::string_view text)
    {
        ++number_;
        if (text.size() > kMaxSequenceIndexLineBytes)
            return "ligne trop longue (plus de " +
                   formatWhole(static_cast<long long>(kMaxSequenceIndexLineBytes)) + " octets).";
        if (text.find('\0') != std::string_view::npos)
            return "caractère nul.";
        const std::size_t equals = text.find('=');
        const std::string_view key = text.substr(0, equals);
        const std::string_view value =
            equals == std::string_view::npos ? std::string_view() : text.substr(equals + 1);
        if (!formatSeen_)
            return format(key, value, equals != std::string_view::npos);
        if (equals == std::string_view::npos)
            return "ligne sans \"=\".";
        if (key == StepKey)
            return step(value);
        if (index_.steps.empty())
            return header(key, value);
        return stepEntry(key, value);
    }

    // The error of the end of the index, or "" when it is whole.
    std::string end()
    {
        if (!formatSeen_)
            return "ce fichier n'est pas un index de séquence.";
        if (const std::string missing = headerMissing(); !missing.empty())
            return missing;
        if (const std::string incomplete = stepIncomplete(); !incomplete.empty())
            return incomplete;
        if (static_cast<int>(index_.steps.size()) < stepCount_)
            return "l'étape " + formatWhole(static_cast<long long>(index_.steps.size()) + 1) +
                   " manque.";
        return {};
    }

    void skipLine() { ++number_; }
    int lineNumber() const { return number_; }
    SequenceIndex& index() { return index_; }

private:
    std::string format(std::string_view key, std::string_view value, bool hasEquals)
    {
        if (key != FormatKey || !hasEquals)
            return "ce fichier n'est pas un index de séquence.";
        if (smallWhole(value) != kSequenceIndexVersion)
            return "version " + quoted(value) + " de l'index de séquence inconnue.";
        formatSeen_ = true;
        return {};
    }

    std::string header(std::string_view key, std::string_view value)
    {
        if (key == FreeKey) {
            if (freeSeen_)
                return quoted(key) + " déjà donnée.";
            freeSeen_ = true;
            return path(value, index_.freePhotograph);
        }
        if (key == StepsKey || key == SelectedKey) {
            int& target = key == StepsKey ? stepCount_ : index_.selected;
            bool& seen = key == StepsKey ? stepsSeen_ : selectedSeen_;
            if (seen)
                return quoted(key) + " déjà donnée.";
            seen = true;
            const auto number = smallWhole(value);
            if (!number || *number < 1 || *number > kMaxSequenceSteps)
                return (key == StepsKey ? "nombre d'étapes " : "étape choisie ") + quoted(value) +
                       " invalide : de 1 à " + formatWhole(kMaxSequenceSteps) + " attendu.";
            target = *number;
            return {};
        }
        if (key == PhotographKey || key == MeshKey || key == NotFoundKey)
            return quoted(key) + " avant la première étape.";
        return "clé " + quoted(key) + " inconnue.";
    }

    std::string step(std::string_view value)
    {
        if (index_.steps.empty()) {
            if (const std::string missing = headerMissing(); !missing.empty())
                return missing;
        } else if (const std::string incomplete = stepIncomplete(); !incomplete.empty()) {
            return incomplete;
        }
        const int expected = static_cast<int>(index_.steps.size()) + 1;
        if (expected > stepCount_)
            return "étape en trop : l'index en annonce " + formatWhole(stepCount_) + ".";
        if (smallWhole(value) != expected)
            return "étape " + formatWhole(expected) + " attendue, " + quoted(value) + " trouvée.";
        index_.steps.emplace_back();
        notFoundSeen_ = false;
        return {};
    }

    std::string stepEntry(std::string_view key, std::string_view value)
    {
        SequenceIndexStep& step = index_.steps.back();
        if (key == PhotographKey || key == MeshKey) {
            std::string& target = key == PhotographKey ? step.photograph : step.meshFile;
            if (!target.empty())
                return quoted(key) + " déjà donnée.";
            return path(value, target);
        }
        if (key == NotFoundKey) {
            if (notFoundSeen_)
                return quoted(key) + " déjà donnée.";
            notFoundSeen_ = true;
            auto nodes = nodeList(value);
            if (!nodes)
                return "liste de noeuds " + quoted(value) +
                       " invalide : des numéros de 1 à 1000 croissants attendus.";
            step.notFound = std::move(*nodes);
            return {};
        }
        return "clé " + quoted(key) + " inconnue.";
    }

    std::string path(std::string_view value, std::string& target) const
    {
        if (value.empty())
            return "chemin vide.";
        target = joined(folder_, value);
        return {};
    }

    std::string headerMissing() const
    {
        for (const auto& [seen, key] :
             {std::pair{freeSeen_, FreeKey}, std::pair{stepsSeen_, StepsKey},
              std::pair{selectedSeen_, SelectedKey}})
            if (!seen)
                return quoted(key) + " manque avant la première étape.";
        if (index_.selected > stepCount_)
            return "étape choisie " + formatWhole(index_.selected) + " au-delà des " +
                   formatWhole(stepCount_) + " étapes.";
        return {};
    }

    std::string stepIncomplete() const
    {
        if (index_.steps.empty())
            return {};
        const SequenceIndexStep& step = index_.steps.back();
        const std::string_view missing = step.photograph.empty() ? PhotographKey
                                         : step.meshFile.empty() ? MeshKey
                                                                 : std::string_view();
        if (missing.empty())
            return {};
        return quoted(missing) + " manque à l'étape " +
               formatWhole(static_cast<long long>(index_.steps.size())) + ".";
    }

    std::string_view folder_;
    SequenceIndex index_;
    int number_ = 0;
    int stepCount_ = 0;
    bool formatSeen_ = false;
    bool freeSeen_ = false;
    bool stepsSeen_ = false;
    bool selectedSeen_ = false;
    bool notFoundSeen_ = false;
};

} // namespace

std::string folderOf(std::string_view path)
{
    const std::size_t last = path.find_last_of("/\\");
    return last == std::string_view::npos ? std::string() : std::string(path.substr(0, last));
}

SequenceIndexReading readSequenceIndex(std::string_view bytes, std::string_view folder)
{
    if (bytes.size() > kMaxSequenceIndexBytes)
        return {std::nullopt, "L'index est trop grand (plus de " +
                                  formatWhole(static_cast<long long>(kMaxSequenceIndexBytes)) +
                                  " octets)."};
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3); // a byte-order mark left by an editor
    IndexReader reader(folder);
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        std::string_view text = bytes.substr(0, end);
        bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);
        if (text.ends_with('\r'))
            text.remove_suffix(1);
        if (text.empty()) {
            reader.skipLine();
            continue;
        }
        if (std::string error = reader.line(text); !error.empty())
            return {std::nullopt, "Ligne " + formatWhole(reader.lineNumber()) + " : " + error};
    }
    if (std::string error = reader.end(); !error.empty())
        return {std::nullopt, "Fin de l'index : " + error};
    return {std::move(reader.index()), {}};
}

std::optional<std::string> writeSequenceIndex(const SequenceIndex& index, std::string_view folder)
{
    std::string out;
    const auto entry = [&out](std::string_view key, std::string_view value) {
        out += key;
        out += '=';
        out += value;
        out += "\r\n";
    };
    const int stepCount = static_cast<int>(index.steps.size());
    entry(FormatKey, formatWhole(kSequenceIndexVersion));
    entry(FreeKey, relative(folder, index.freePhotograph));
    entry(StepsKey, formatWhole(stepCount));
    entry(SelectedKey, formatWhole(index.selected));
    for (int k = 1; k <= stepCount; ++k) {
        const SequenceIndexStep& step = index.steps[static_cast<std::size_t>(k - 1)];
        entry(StepKey, formatWhole(k));
        entry(PhotographKey, relative(folder, step.photograph));
        entry(MeshKey, relative(folder, step.meshFile));
        std::string nodes;
        for (const int node : step.notFound)
            nodes += (nodes.empty() ? "" : " ") + formatWhole(node);
        entry(NotFoundKey, nodes);
        if (out.size() > kMaxSequenceIndexBytes)
            return std::nullopt;
    }
    // Whatever would read back otherwise (a line end in a path, a limit passed) is refused
    // here rather than found when the sequence is opened.
    const SequenceIndexReading again = readSequenceIndex(out, folder);
    if (!again.index || *again.index != index)
        return std::nullopt;
    return out;
}

} // namespace ai
