#include "io/profile_text.h"

#include <algorithm>

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

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

} // namespace

std::size_t ProfileText::NameHash::operator()(std::string_view name) const
{
    // FNV-1a over the lower-case name.
    std::size_t hash = 14695981039346656037ull;
    for (const char c : name)
        hash = (hash ^ static_cast<unsigned char>(lower(c))) * 1099511628211ull;
    return hash;
}

bool ProfileText::NameEqual::operator()(std::string_view a, std::string_view b) const
{
    return std::ranges::equal(a, b, [](char x, char y) { return lower(x) == lower(y); });
}

ProfileText::ProfileText(std::string text) : text_(std::move(text))
{
    Keys* current = nullptr;
    std::string_view rest = text_;
    while (!rest.empty()) {
        const auto end = rest.find('\n');
        const std::string_view line = trimmed(rest.substr(0, end));
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);

        if (line.starts_with('[')) {
            const auto close = line.find(']');
            if (close != std::string_view::npos)
                current = &sections_[trimmed(line.substr(1, close - 1))];
            continue;
        }
        const auto equals = line.find('=');
        if (current == nullptr || equals == std::string_view::npos)
            continue;
        const std::string_view key = trimmed(line.substr(0, equals));
        if (key.empty())
            continue;
        // emplace keeps the value already there: the first of a repeated key wins.
        current->emplace(key, trimmed(line.substr(equals + 1)));
    }
}

std::optional<std::string_view> ProfileText::value(std::string_view section,
                                                   std::string_view key) const
{
    const auto keys = sections_.find(section);
    if (keys == sections_.end())
        return std::nullopt;
    const auto it = keys->second.find(key);
    if (it == keys->second.end())
        return std::nullopt;
    return it->second;
}

} // namespace ai
