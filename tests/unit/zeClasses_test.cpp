// Streams, string list and temporary names.
#include "foundation/zeClasses.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::vector<uint8_t> Bytes(int n, int seed = 0) {
  std::vector<uint8_t> v(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) v[static_cast<size_t>(i)] = static_cast<uint8_t>((i * 7 + seed) & 0xFF);
  return v;
}

std::vector<uint8_t> Contents(TzeMemoryStream& s) { return {s.Memory(), s.Memory() + s.GetSize()}; }

// A file in the temporary folder, removed when the test ends.
struct TempFile {
  std::string name = MakeTempName("tmp", "", "zeT_");
  explicit TempFile(const std::vector<uint8_t>& data) {
    TzeFileStream f(name, OpenCreate);
    f.Write(data.data(), static_cast<int32_t>(data.size()));
  }
  ~TempFile() { std::remove(name.c_str()); }
};

TEST(MemoryStream, PositionOnlyInsideWrittenBytes) {
  TzeMemoryStream s;
  const auto data = Bytes(10);
  s.Write(data.data(), 10);
  struct Case {
    int32_t target, expected;
  } cases[] = {
      {9, 9},   // last byte
      {0, 0},   // first byte
      {10, 0},  // at the end: ignored
      {-1, 0},  // negative: ignored
      {5, 5},
      {11, 5},  // beyond the end: ignored
  };
  for (const Case& c : cases) {
    s.SetPosition(c.target);
    EXPECT_EQ(s.GetPosition(), c.expected) << "SetPosition(" << c.target << ")";
  }
}

TEST(MemoryStream, EmptyStreamIgnoresPositioning) {
  TzeMemoryStream s;
  s.SetPosition(0);
  EXPECT_EQ(s.GetPosition(), 0);
  uint8_t b;
  EXPECT_EQ(s.Read(&b, 1), 0);
}

TEST(MemoryStream, ReadAtEndReturnsZeroAndKeepsPosition) {
  TzeMemoryStream s;
  const auto data = Bytes(4);
  s.Write(data.data(), 4);
  uint8_t buf[8];
  EXPECT_EQ(s.Read(buf, 8), 0);
  EXPECT_EQ(s.GetPosition(), 4);
  s.SetPosition(1);
  EXPECT_EQ(s.Read(buf, 8), 3);
  EXPECT_EQ(buf[0], data[1]);
  EXPECT_EQ(s.Read(buf, -1), 0);
}

TEST(MemoryStream, GrowsByNeedPlus4096AndKeepsContents) {
  TzeMemoryStream s;
  EXPECT_EQ(s.Capacity(), 4096);
  const auto first = Bytes(5000);
  EXPECT_EQ(s.Write(first.data(), 5000), 5000);
  EXPECT_EQ(s.Capacity(), 9096);
  EXPECT_EQ(s.GetSize(), 5000);
  EXPECT_EQ(s.GetPosition(), 5000);
  // An overwrite inside the stream neither grows nor shrinks it.
  s.SetPosition(10);
  const auto patch = Bytes(20, 99);
  s.Write(patch.data(), 20);
  EXPECT_EQ(s.GetSize(), 5000);
  EXPECT_EQ(s.GetPosition(), 30);
  auto expected = first;
  std::copy(patch.begin(), patch.end(), expected.begin() + 10);
  EXPECT_EQ(Contents(s), expected);
  EXPECT_EQ(s.Write(patch.data(), 0), 0);
  EXPECT_EQ(s.Write(patch.data(), -5), 0);
}

TEST(MemoryStream, ReadBufferRaisesOnShortRead) {
  TzeMemoryStream s;
  const auto data = Bytes(3);
  s.Write(data.data(), 3);
  s.SetPosition(0);
  uint8_t buf[4];
  EXPECT_NO_THROW(s.ReadBuffer(buf, 0));
  try {
    s.ReadBuffer(buf, 4);
    FAIL() << "no error";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "Cannot read buffer");
  }
}

TEST(CopyFrom, CountZeroCopiesWholeFileFromItsStart) {
  const auto data = Bytes(150000);  // more than two copy buffers
  TempFile file(data);
  TzeFileStream source(file.name, OpenReadDenyWrite);
  source.SetPosition(70000);
  TzeMemoryStream target;
  EXPECT_EQ(target.CopyFrom(source, 0), 150000);
  EXPECT_EQ(Contents(target), data);
}

TEST(CopyFrom, CopiesCountFromSourcePosition) {
  TzeMemoryStream source, target;
  const auto data = Bytes(100);
  source.Write(data.data(), 100);
  source.SetPosition(40);
  EXPECT_EQ(target.CopyFrom(source, 50), 50);
  EXPECT_EQ(Contents(target), std::vector<uint8_t>(data.begin() + 40, data.begin() + 90));
  EXPECT_EQ(source.GetPosition(), 90);
}

TEST(CopyFrom, ShortSourceRaisesItsReadErrorAfterWholeBuffers) {
  const auto data = Bytes(130000);  // two full buffers of 61440 and a partial third
  TempFile file(data);
  TzeFileStream source(file.name, OpenReadDenyWrite);
  TzeMemoryStream target;
  try {
    target.CopyFrom(source, 200000);
    FAIL() << "no error";
  } catch (const Exception& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot read file " + file.name);
  }
  EXPECT_EQ(target.GetSize(), 2 * TzeStream::kCopyBufferSize);
}

TEST(CopyFrom, EmptySourceCopiesNothing) {
  TzeMemoryStream source, target;
  EXPECT_EQ(target.CopyFrom(source, 0), 0);
  EXPECT_EQ(target.GetSize(), 0);
}

TEST(StringList, LoadFromBufferSplitsLines) {
  struct Case {
    const char* comment;
    std::string bytes;
    std::vector<std::string> items;
  } cases[] = {
      {"CR LF separated", "A = 1\r\nB=2", {"A = 1", "B=2"}},
      {"trailing CR LF", "A = 1\r\nB=2\r\n", {"A = 1", "B=2"}},
      {"blank line keeps its CR LF", "A=1\r\n\r\nB=2", {"A=1", "\r\nB=2"}},
      {"only line feeds", "\n\n\n", {}},
      {"zero byte ends a line", std::string("A=1\0B=2", 7), {"A=1", "B=2"}},
      {"a line may start with a zero byte", std::string("\0X\r", 3), {std::string("\0X", 2)}},
      {"line feeds inside a line stay", "A\nB\rC", {"A\nB", "C"}},
      {"bare CR lines", "A\rB\r", {"A", "B"}},
  };
  for (const Case& c : cases) {
    TzeStringList list;
    list.LoadFromBuffer(c.bytes.data(), static_cast<int32_t>(c.bytes.size()));
    std::vector<std::string> got;
    for (int32_t i = 0; i < list.Count(); ++i) got.push_back(list.Get(i));
    EXPECT_EQ(got, c.items) << c.comment;
  }
}

TEST(StringList, LoadFromBufferAppendsAndIgnoresEmptyInput) {
  TzeStringList list;
  list.Add("first");
  list.LoadFromBuffer("x=1", 3);
  list.LoadFromBuffer(nullptr, 5);
  list.LoadFromBuffer("y", 0);
  list.LoadFromBuffer("y", -1);
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Get(1), "x=1");
}

TEST(StringList, ValueOf) {
  struct Case {
    const char* comment;
    std::vector<std::string> items;
    std::string name, value;
  } cases[] = {
      {"key and value trimmed, case ignored", {" B = two "}, "b", "two"},
      {"':=' makes the key 'B :'", {"B := two"}, "B", ""},
      {"first occurrence counts", {"K=1", "k=2"}, "K", "1"},
      {"lines without '=' are skipped", {"K", "K=3"}, "K", "3"},
      {"value keeps further '='", {"K = a=b "}, "K", "a=b"},
      {"blank-line prefix trimmed", {"\r\nK=v"}, "k", "v"},
      {"name itself is not trimmed", {"K=v"}, " K", ""},
      {"empty name finds nothing", {"=v"}, "", ""},
      {"missing key", {"A=1"}, "B", ""},
      {"empty value", {"A=  "}, "A", ""},
  };
  for (const Case& c : cases) {
    TzeStringList list;
    for (const auto& item : c.items) list.Add(item);
    EXPECT_EQ(list.ValueOf(c.name), c.value) << c.comment;
  }
}

TEST(StringList, IndexBoundsAndDelete) {
  TzeStringList list;
  for (const char* s : {"a", "b", "c"}) list.Add(s);
  EXPECT_EQ(list.Get(-1), "");
  EXPECT_EQ(list.Get(list.Count()), "");
  list.Delete(list.Count());
  list.Delete(-1);
  EXPECT_EQ(list.Count(), 3);
  list.Delete(0);
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Get(0), "b");
  EXPECT_EQ(list.IndexOf("c"), 1);
  EXPECT_EQ(list.IndexOf("C"), -1);  // byte for byte
  for (int i = 0; i < 40; ++i) EXPECT_EQ(list.Add("x"), 2 + i);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
}

TEST(TempName, FormatsLocalTimeIn17Digits) {
  EXPECT_EQ(FormatTimeStamp({2005, 3, 9, 14, 3, 7, 45}), "20050309140307045");
}

TEST(TempName, FolderPrefixStampAndExtension) {
  const std::string sys = SystemTempFolder();
  const char delim = sys.back();
  const std::string folder = sys.substr(0, sys.size() - 1);  // no trailing delimiter
  for (const std::string& dir : {folder, sys, std::string()}) {
    const std::string name = MakeTempName("cab", dir, "zeS_");
    ASSERT_EQ(name.size(), sys.size() + 4 + 17 + 4) << name;
    EXPECT_EQ(name.substr(0, sys.size() + 4), sys + "zeS_") << name;
    EXPECT_EQ(name.substr(name.size() - 4), ".cab");
    EXPECT_EQ(name.find_first_not_of("0123456789", sys.size() + 4), name.size() - 4) << name;
    EXPECT_FALSE(FileExists(name));
  }
  EXPECT_EQ(delim, sys.back());
}

TEST(TempName, SkipsNamesOfExistingFiles) {
  // Made one after another, each created at once as callers do: all distinct.
  std::vector<std::string> names;
  for (int i = 0; i < 5; ++i) {
    names.push_back(MakeTempName("tmp", "", "zeT_"));
    TzeFileStream f(names.back(), OpenCreate);
  }
  for (size_t i = 0; i < names.size(); ++i) {
    for (size_t j = i + 1; j < names.size(); ++j) EXPECT_NE(names[i], names[j]);
    std::remove(names[i].c_str());
  }
}

TEST(FileStream, MissingFileAndInvalidModesRaise) {
  const std::string missing = MakeTempName("none", "", "zeT_");
  EXPECT_THROW(TzeFileStream(missing, OpenReadDenyWrite), Exception);
  TempFile file(Bytes(4));
  for (uint16_t mode : {uint16_t(0x0003), uint16_t(0x0050), uint16_t(0x00F0)})
    EXPECT_THROW(TzeFileStream(file.name, mode), Exception) << "mode " << mode;
}

TEST(FileStream, PositionSizeAndReads) {
  const auto data = Bytes(1000);
  TempFile file(data);
  TzeFileStream f(file.name, OpenReadDenyWrite);
  EXPECT_EQ(f.GetSize(), 1000);
  f.SetPosition(600);
  EXPECT_EQ(f.GetSize(), 1000);
  EXPECT_EQ(f.GetPosition(), 600);  // GetSize puts the position back
  std::vector<uint8_t> buf(500);
  EXPECT_EQ(f.Read(buf.data(), 500), 400);
  EXPECT_EQ(buf[0], data[600]);
  EXPECT_THROW(f.ReadBuffer(buf.data(), 1), Exception);
  EXPECT_NO_THROW(f.ReadBuffer(buf.data(), 0));
  EXPECT_EQ(f.Write(buf.data(), 10), 0);  // opened for reading only
}

TEST(FileStream, CreateReplacesAnExistingFile) {
  TempFile file(Bytes(100));
  {
    TzeFileStream f(file.name, OpenCreate);
    EXPECT_EQ(f.GetSize(), 0);
    const auto data = Bytes(3);
    EXPECT_EQ(f.Write(data.data(), 3), 3);
  }
  TzeFileStream f(file.name, OpenReadExclusive);
  EXPECT_EQ(f.GetSize(), 3);
}

}  // namespace
