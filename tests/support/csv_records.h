#pragma once

#include <gtest/gtest.h>

#include <charconv>
#include <string>
#include <vector>

namespace ai::test {

// A CSV text's records and fields, as the program writes them: no quoting, CR LF after each.
inline std::vector<std::vector<std::string>> csvRecords(const std::string& csv)
{
    std::vector<std::vector<std::string>> rows{{""}};
    for (std::size_t i = 0; i < csv.size(); ++i) {
        if (csv.compare(i, 2, "\r\n") == 0)
            rows.push_back({""}), ++i;
        else if (csv[i] == ',')
            rows.back().emplace_back();
        else
            rows.back().back() += csv[i];
    }
    EXPECT_EQ(rows.back(), std::vector<std::string>{""}) << "a record without CR LF";
    rows.pop_back();
    return rows;
}

// A field read back as a double, exactly, with a '.' whatever the locale.
inline double csvNumber(const std::string& field)
{
    double value = 0.0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    EXPECT_TRUE(error == std::errc() && end == field.data() + field.size()) << field;
    return value;
}

} // namespace ai::test
