#include "io/profile_text.h"

namespace ai {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Names are compared in ASCII only: the file is 8-bit text of unknown code page.
char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string entryName(std::string_view section, std::string_view key)
{
    std::string name;
    name.reserve(section.size() + 1 + key.size());
    for (const char c : section)
        name.push_back(lower(c));
    name.push_back('\n');
    for (const char c : key)
        name.push_back(lower(c));
    return name;
}

} // namespace

ProfileText::ProfileText(std::string_view text)
{
    std::optional<std::string_view> section;
    while (!text.empty()) {
        const auto end = text.find('\n');
        const std::string_view line = trimmed(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);

        if (line.starts_with('[')) {
            const auto close = line.find(']');
            if (close != std::string_view::npos)
                section = trimmed(line.substr(1, close - 1));
            continue;
        }
        const auto equals = line.find('=');
        if (!section || equals == std::string_view::npos)
            continue;
        const std::string_view key = trimmed(line.substr(0, equals));
        if (key.empty())
            continue;
        // emplace keeps the value already there: the first of a repeated key wins.
        values_.emplace(entryName(*section, key), trimmed(line.substr(equals + 1)));
    }
}

std::optional<std::string_view> ProfileText::value(std::string_view section,
                                                   std::string_view key) const
{
    const auto it = values_.find(entryName(section, key));
    if (it == values_.end())
        return std::nullopt;
    return std::string_view(it->second);
}

} // namespace ai
