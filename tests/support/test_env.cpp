#include "support/test_env.h"

#include <gtest/gtest.h>

namespace testenv {

std::filesystem::path ScratchDir(const std::string& name) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string leaf = name;
    if (info) leaf = std::string(info->test_suite_name()) + "." + info->name() + "." + name;
    auto dir = BinaryDir() / "scratch" / leaf;
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

}  // namespace testenv
