#include "runtime/files.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace suozhi {
namespace {

TEST(Files, WriteOpenInsertAndReadLines) {
  test::TempDir dir;
  const Text name = dir.File("f.txt");
  EXPECT_FALSE(rt::FileExists(name));
  {
    rt::File missing(name);  // not created when missing; every operation does nothing
    EXPECT_FALSE(missing.is_open());
    EXPECT_FALSE(missing.InsertLine("x"));
    EXPECT_FALSE(missing.ReadLine());
  }
  EXPECT_FALSE(rt::FileExists(name));
  ASSERT_TRUE(rt::WriteFile(name, rt::ToBytes("b\r\nc\x1A"
                                              "d\n")));
  {
    rt::File file(name);
    ASSERT_TRUE(file.is_open());
    EXPECT_TRUE(file.InsertLine("a"));
  }
  rt::File file(name);
  std::vector<Text> lines;
  while (auto line = file.ReadLine()) lines.push_back(*line);
  EXPECT_EQ(lines, (std::vector<Text>{"a", "b", "c", "d"}));
}

TEST(Files, MemoryFileReadsBackWhatWasWritten) {
  rt::MemoryFile m;
  m.Write("Set-Cookie: a=1\r\nX: y\r\n\r\n", 25);
  EXPECT_EQ(m.Length(), 25u);
  m.SeekToStart();
  EXPECT_EQ(*m.ReadLine(), "Set-Cookie: a=1");
  EXPECT_EQ(*m.ReadLine(), "X: y");
  EXPECT_EQ(*m.ReadLine(), "");
  EXPECT_TRUE(m.AtEnd());
  EXPECT_FALSE(m.ReadLine());
  m.SeekToStart();
  EXPECT_EQ(m.Read(3), rt::ToBytes("Set"));
  EXPECT_EQ(m.Read(100).size(), 22u);
}

TEST(Files, RunDirectoryIsTheProgramsOwn) {
  const Text dir = rt::RunDirectory();
  ASSERT_FALSE(dir.empty());
  EXPECT_NE(dir.back(), '/');
  EXPECT_TRUE(std::filesystem::exists(rt::NativePath(dir) + "/suozhi_tests"));
}

}  // namespace
}  // namespace suozhi
