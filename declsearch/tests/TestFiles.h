// Writing fixture sources for the search tests.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

namespace declsearch_test {

inline void Write(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

} // namespace declsearch_test
