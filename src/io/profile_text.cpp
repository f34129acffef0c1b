#include "io/profile_text.h"

#include "io/mesh_file_keys.h"
#include "model/project_state.h"

#include <algorithm>
#include <cstring>

namespace ai {

namespace {

enum Section { None = -1, Init, FreeNodes, LoadNodes, Corners };

// Slots: the two counts, then per field the entries 1 to kEntries.
constexpr int kEntries = std::max(kMaxNodes, kMaxElements);
constexpr int kCountSlots = 2;
enum Field { FreeX, FreeY, LoadX, LoadY, Corner1, Corner2, Corner3, FieldCount };

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

// Names are compared in ASCII only: the file is 8-bit text of unknown code page.
bool sameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::ranges::equal(a, b, [](char x, char y) { return lower(x) == lower(y); });
}

// Removes `prefix` from the front of `name` when it starts with it.
bool consume(std::string_view& name, std::string_view prefix)
{
    if (name.size() < prefix.size() || !sameName(name.substr(0, prefix.size()), prefix))
        return false;
    name.remove_prefix(prefix.size());
    return true;
}

Section sectionNamed(std::string_view name)
{
    if (sameName(name, meshfile::InitSection))
        return Init;
    if (sameName(name, meshfile::FreeNodeSection))
        return FreeNodes;
    if (sameName(name, meshfile::LoadNodeSection))
        return LoadNodes;
    if (sameName(name, meshfile::ElementSection))
        return Corners;
    return None;
}

// An entry number as the writer writes it: 1 to kEntries, no sign, no leading zero.
// 0 when the text is anything else.
int entryNumber(std::string_view digits)
{
    if (digits.empty() || digits.size() > 4 || digits.front() == '0')
        return 0;
    int number = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return 0;
        number = number * 10 + (c - '0');
    }
    return number <= kEntries ? number : 0;
}

int entrySlot(int field, int entry)
{
    return entry >= 1 && entry <= kEntries ? kCountSlots + field * kEntries + (entry - 1) : -1;
}

// The slot of a key in a section, or -1 when a mesh file has no such key there.
int slotIndex(int section, std::string_view key)
{
    if (section == Init) {
        if (sameName(key, meshfile::NodeCountKey))
            return 0;
        return sameName(key, meshfile::ElementCountKey) ? 1 : -1;
    }
    int field = -1;
    if (section == FreeNodes || section == LoadNodes) {
        if (!consume(key, "node") || key.empty())
            return -1;
        const char axis = lower(key.front());
        if (axis != 'x' && axis != 'y')
            return -1;
        field = (section == FreeNodes ? FreeX : LoadX) + (axis == 'y' ? 1 : 0);
    } else if (section == Corners) {
        if (!consume(key, "mesh") || key.empty() || key.front() < '1' || key.front() > '3')
            return -1;
        field = Corner1 + (key.front() - '1');
    } else {
        return -1;
    }
    return entrySlot(field, entryNumber(key.substr(1)));
}

} // namespace

ProfileText::ProfileText(std::string_view text)
    : values_(static_cast<std::size_t>(kCountSlots + FieldCount * kEntries))
{
    // One pass, byte by byte over the short lines that make most files, with memchr over
    // the rest of a line that need not be looked at.
    const char* at = text.data();
    const char* const end = at + text.size();
    const auto lineEnd = [end](const char* from) {
        // Most lines are short: memchr pays for itself on long ones only.
        for (int i = 0; i < 32 && from < end; ++i, ++from)
            if (*from == '\n')
                return from;
        const void* newline = std::memchr(from, '\n', static_cast<std::size_t>(end - from));
        return newline != nullptr ? static_cast<const char*>(newline) : end;
    };
    int current = None; // keys before the first section header are skipped
    while (at < end) {
        while (at < end && isBlank(*at))
            ++at;
        if (at == end)
            break;
        if (*at == '\n') {
            ++at;
            continue;
        }
        const char* const start = at;
        if (*start == '[') {
            while (at < end && *at != ']' && *at != '\n')
                ++at;
            if (at < end && *at == ']')
                current = sectionNamed(trimmed(std::string_view(start + 1, at)));
            at = lineEnd(at);
            continue;
        }
        // Every key kept starts with "node" or "mesh": other lines need no looking at.
        const char first = lower(*start);
        if (current == None || (first != 'n' && first != 'm')) {
            at = lineEnd(start);
            continue;
        }
        while (at < end && *at != '=' && *at != '\n')
            ++at;
        if (at == end || *at == '\n')
            continue;
        const char* const equals = at;
        at = lineEnd(equals);
        const int slot = slotIndex(current, trimmed(std::string_view(start, equals)));
        if (slot < 0)
            continue;
        // The first value of a repeated key wins.
        auto& value = values_[static_cast<std::size_t>(slot)];
        if (!value)
            value = trimmed(std::string_view(equals + 1, at));
    }
}

std::optional<std::string_view> ProfileText::value(std::string_view section,
                                                   std::string_view key) const
{
    return at(slotIndex(sectionNamed(section), key));
}

std::optional<std::string_view> ProfileText::coordinate(std::string_view section, char axis,
                                                        int node) const
{
    const int nodes = sectionNamed(section);
    if (nodes != FreeNodes && nodes != LoadNodes)
        return std::nullopt;
    const int x = nodes == FreeNodes ? FreeX : LoadX;
    return at(entrySlot(axis == 'y' ? x + 1 : x, node));
}

std::optional<std::string_view> ProfileText::corner(int corner, int element) const
{
    if (corner < 1 || corner > 3)
        return std::nullopt;
    return at(entrySlot(Corner1 + corner - 1, element));
}

std::optional<std::string_view> ProfileText::at(int slot) const
{
    if (slot < 0)
        return std::nullopt;
    return values_[static_cast<std::size_t>(slot)];
}

} // namespace ai
