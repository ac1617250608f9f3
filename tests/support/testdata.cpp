#include "testdata.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

namespace vespin::test {

std::filesystem::path TestDataPath(const std::string& relative) {
    return std::filesystem::path(VESPIN_TESTDATA_DIR) / relative;
}

std::vector<uint8_t> ReadTestFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool RunningOnCi() {
    const char* ci = std::getenv("CI");
    return ci != nullptr && std::strcmp(ci, "true") == 0;
}

} // namespace vespin::test
