#include "shell/natural_order.h"

#include <algorithm>

namespace ai {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The run of digits starting at `at`, without its leading zeros, and where it ends.
std::string_view digitsFrom(std::string_view s, std::size_t& at)
{
    std::size_t begin = at;
    while (at < s.size() && isDigit(s[at]))
        ++at;
    while (begin + 1 < at && s[begin] == '0')
        ++begin;
    return s.substr(begin, at - begin);
}

} // namespace

bool naturallyBefore(std::string_view a, std::string_view b)
{
    std::size_t i = 0, j = 0;
    int zeros = 0; // the first difference in leading zeros, to break a tie
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            const std::size_t startA = i, startB = j;
            const std::string_view x = digitsFrom(a, i);
            const std::string_view y = digitsFrom(b, j);
            // Without leading zeros, a longer run is a larger number.
            if (x.size() != y.size())
                return x.size() < y.size();
            if (x != y)
                return x < y;
            if (zeros == 0)
                zeros = static_cast<int>(i - startA) - static_cast<int>(j - startB);
            continue;
        }
        if (a[i] != b[j])
            return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[j]);
        ++i;
        ++j;
    }
    if (a.size() - i != b.size() - j)
        return a.size() - i < b.size() - j;
    return zeros < 0;
}

void sortNaturally(std::vector<std::string>& names)
{
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return naturallyBefore(a, b); });
}

std::string_view fileNameOf(std::string_view path)
{
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

} // namespace ai
