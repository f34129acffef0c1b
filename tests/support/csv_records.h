#pragma once

// Reading back the program's CSV tables in tests.
#include <gtest/gtest.h>

#include <charconv>
#include <limits>
#include <string>
#include <vector>

namespace ai::test {

// A CSV text's records and fields (no quoting: the program's tables need none). Every
// record must end with CR LF.
inline std::vector<std::vector<std::string>> csvRecords(const std::string& csv)
{
    std::vector<std::vector<std::string>> rows;
    for (std::size_t start = 0; start < csv.size();) {
        const std::size_t end = csv.find("\r\n", start);
        EXPECT_NE(end, std::string::npos) << "a record without CR LF";
        if (end == std::string::npos)
            break;
        std::vector<std::string> fields;
        std::size_t from = start;
        for (std::size_t comma; (comma = csv.find(',', from)) < end; from = comma + 1)
            fields.push_back(csv.substr(from, comma - from));
        fields.push_back(csv.substr(from, end - from));
        rows.push_back(std::move(fields));
        start = end + 2;
    }
    return rows;
}

// A field read back as a double, exactly, with a '.' whatever the locale.
inline double csvNumber(const std::string& field)
{
    double value = std::numeric_limits<double>::quiet_NaN();
    const auto result = std::from_chars(field.data(), field.data() + field.size(), value);
    EXPECT_TRUE(result.ec == std::errc() && result.ptr == field.data() + field.size()) << field;
    return value;
}

} // namespace ai::test
