// The icon in the repository is the one the generator draws.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(Icon, CommittedIconIsTheGeneratorsOutput) {
  const std::string fresh = ::testing::TempDir() + "/brovantine_icon_test.ico";
  const std::string command = std::string(BRV_BINARY_DIR) + "/make_icon " + fresh;
  ASSERT_EQ(0, std::system(command.c_str()));
  const std::string committed = ReadFile(std::string(BRV_SOURCE_DIR) + "/app/win32/brovantine.ico");
  ASSERT_FALSE(committed.empty());
  EXPECT_EQ(committed, ReadFile(fresh));
  // One group of two 16-colour images: 32x32 then 16x16.
  ASSERT_GE(committed.size(), 38u);
  EXPECT_EQ(2, committed[4]);
  EXPECT_EQ(32, committed[6]);
  EXPECT_EQ(16, committed[8]);
  EXPECT_EQ(16, committed[6 + 16]);
  EXPECT_EQ(16, committed[8 + 16]);
}

}  // namespace
