// What only Windows shows of the file stream: its sharing modes, its handle, and
// the locale's case-insensitive comparison.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "foundation/zeClasses.h"

namespace {

struct SharedFile : ::testing::Test {
  std::string name = MakeTempName("tmp", "", "zeT_");
  void SetUp() override {
    TzeFileStream f(name, OpenCreate);
    f.Write("0123456789", 10);
  }
  void TearDown() override { DeleteFileA(name.c_str()); }
  bool CanOpen(DWORD access) {
    HANDLE h = CreateFileA(name.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    CloseHandle(h);
    return true;
  }
};

TEST_F(SharedFile, SharingModes) {
  struct Case {
    uint16_t mode;
    bool othersRead, othersWrite;
  } cases[] = {
      {OpenReadDenyWrite, true, false},
      {OpenReadExclusive, false, false},
      {0x0010, false, false},  // deny all
      {0x0030, false, true},   // others may only write
      {0x0040, true, true},    // others may read and write
  };
  for (const Case& c : cases) {
    TzeFileStream f(name, c.mode);
    EXPECT_EQ(CanOpen(GENERIC_READ), c.othersRead) << "mode " << c.mode;
    EXPECT_EQ(CanOpen(GENERIC_WRITE), c.othersWrite) << "mode " << c.mode;
  }
}

TEST_F(SharedFile, DenyWriteCanBeOpenedAgainForReadingOnly) {
  TzeFileStream first(name, OpenReadDenyWrite);
  EXPECT_NO_THROW(TzeFileStream(name, OpenReadDenyWrite));
  EXPECT_THROW(TzeFileStream(name, OpenCreate), Exception);
  EXPECT_THROW(TzeFileStream(name, 0x0002), Exception);
}

TEST_F(SharedFile, ExclusiveCannotBeOpenedAgain) {
  TzeFileStream first(name, OpenReadExclusive);
  EXPECT_THROW(TzeFileStream(name, OpenReadDenyWrite), Exception);
  EXPECT_THROW(TzeFileStream(name, OpenReadExclusive), Exception);
}

TEST_F(SharedFile, ReadingThroughTheHandleMovesTheStream) {
  TzeFileStream f(name, OpenReadDenyWrite);
  char buf[4];
  DWORD got = 0;
  ASSERT_TRUE(ReadFile(static_cast<HANDLE>(f.Handle()), buf, 4, &got, nullptr));
  EXPECT_EQ(f.GetPosition(), 4);
  f.ReadBuffer(buf, 2);
  EXPECT_EQ(std::string(buf, 2), "45");
}

TEST(AnsiSameText, IgnoresCaseBeyondAscii) {
  EXPECT_TRUE(AnsiSameText("Error", "eRRoR"));
  EXPECT_FALSE(AnsiSameText("Error", "Errors"));
  // Latin-1 letters under the default code page 1252: E-acute and e-acute.
  EXPECT_TRUE(AnsiSameText("\xC9t\xC9", "\xE9t\xE9"));
}

}  // namespace
