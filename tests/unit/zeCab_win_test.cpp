// The cabinet reader against the system's cabinet library (Wine's under test):
// listing, extraction into folders, sets of cabinets, hostile names, broken
// cabinets from the corpus, the error texts and the binding of the library.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <ostream>

#include "app/TestLog.h"
#include "film/CabIntf.h"
#include "film/CabTable.h"
#include "film/zeCab.h"
#include "film/zeCabConsts.h"
#include "foundation/Bytes.h"
#include "tests/unit/CabPatch.h"
#include "tests/unit/WinTestFiles.h"

namespace {

std::string CorpusCab(const std::string& name) { return WinPath(CORPUS_DIR) + "\\cab\\" + name; }
std::string Fixture(const std::string& name) { return WinPath(CAB_FIXTURE_DIR) + "\\" + name; }

uint16_t DosDate(int year, int month, int day) { return static_cast<uint16_t>(((year - 1980) << 9) | (month << 5) | day); }
uint16_t DosTime(int hour, int minute, int second) {
  return static_cast<uint16_t>((hour << 11) | (minute << 5) | (second / 2));
}

struct TListed {
  std::string Name;
  int32_t Size;
  uint16_t Folder, Date, Time, Attribs;
  bool operator==(const TListed& o) const {
    return Name == o.Name && Size == o.Size && Folder == o.Folder && Date == o.Date && Time == o.Time &&
           Attribs == o.Attribs;
  }
};
std::ostream& operator<<(std::ostream& out, const TListed& e) {
  return out << e.Name << " " << e.Size << " f" << e.Folder << " " << e.Date << " " << e.Time << " 0x" << std::hex
             << e.Attribs << std::dec;
}

// What the list procedure received; it asks to stop after StopAfter entries.
std::vector<TListed> Listed;
size_t StopAfter = 0;

void Collect(TzeCabReader&, const std::string& name, int32_t size, uint16_t folder, uint16_t date, uint16_t time,
             uint16_t attribs, bool& abort) {
  Listed.push_back({name, size, folder, date, time, attribs});
  if (StopAfter != 0 && Listed.size() >= StopAfter) abort = true;
}

// The file's size on disk, for the fixtures whose sizes follow from their sources.
int32_t SizeOf(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  return GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ? static_cast<int32_t>(data.nFileSizeLow)
                                                                           : -1;
}

// Files below a folder with their MD5s; folders are left out.
std::map<std::string, std::string> DigestsBelow(const std::string& folder) {
  std::map<std::string, std::string> digests;
  for (const std::string& path : TreeBelow(folder))
    if (path.back() != '\\') digests[path] = Md5OfFile(folder + path);
  return digests;
}

void Extract(const std::string& cabinet, const std::string& dest, int32_t options = 0) {
  TzeCabReader reader;
  reader.ExtractFiles(cabinet, dest, options);
}

// ---------------------------------------------------------------------------
// Callbacks and texts

TEST(CabOpen, OpenFlagsBecomeCreateFileArguments) {
  struct Case {
    int oflag;
    DWORD access, disposition, flags;
  } cases[] = {
      {0x8000, GENERIC_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL},  // _O_BINARY alone: how files are read
      {0x8121, GENERIC_WRITE, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN},  // extraction target
      {0x0002, GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL},
      {0x0003, GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL},
      {0x0501, GENERIC_WRITE, CREATE_NEW, FILE_ATTRIBUTE_NORMAL},       // _O_EXCL wins over _O_TRUNC
      {0x0301, GENERIC_WRITE, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL},
      {0x0201, GENERIC_WRITE, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL},
      {0x0400, GENERIC_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL},     // _O_EXCL without _O_CREAT
      {0x1102, GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS, FILE_ATTRIBUTE_TEMPORARY},
      {0x1002, GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL},  // short-lived needs _O_CREAT
      {0x0010, GENERIC_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_RANDOM_ACCESS},
      {0x0142, GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE},
      {0x0040, GENERIC_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL},     // _O_TEMPORARY needs _O_CREAT
  };
  for (const Case& c : cases) {
    const TCabOpenMode mode = CabOpenMode(c.oflag);
    EXPECT_EQ(mode.Access, c.access) << std::hex << c.oflag;
    EXPECT_EQ(mode.Disposition, c.disposition) << std::hex << c.oflag;
    EXPECT_EQ(mode.FlagsAndAttributes, c.flags) << std::hex << c.oflag;
  }
}

TEST(CabOpen, AppendStartsAtTheEndAndFailuresKeepTheOsError) {
  TempTree temp;
  const std::string path = temp / "append.bin";
  std::vector<char> name(path.begin(), path.end());
  name.push_back('\0');
  INT_PTR hf = CabOpen(name.data(), 0x0101, 0);  // _O_CREAT | _O_WRONLY
  ASSERT_NE(hf, -1);
  char bytes[] = "abc";
  EXPECT_EQ(CabWrite(hf, bytes, 3), 3u);
  EXPECT_EQ(CabClose(hf), 0);
  hf = CabOpen(name.data(), 0x0009, 0);  // _O_WRONLY | _O_APPEND
  ASSERT_NE(hf, -1);
  EXPECT_EQ(CabSeek(hf, 0, 1), 3);
  EXPECT_EQ(CabWrite(hf, bytes, 2), 2u);
  EXPECT_EQ(CabClose(hf), 0);
  EXPECT_EQ(ReadText(path), "abcab");

  CabLastError = 0;
  std::string missing = temp / "missing.bin";
  EXPECT_EQ(CabOpen(&missing[0], 0x8000, 0), -1);
  EXPECT_EQ(CabLastError, ERROR_FILE_NOT_FOUND);
}

TEST(EzeCabinet, MessageFollowsTheErrorRecord) {
  struct Case {
    int oper;
    BOOL present;
    bool fci;
    const char* text;
  } cases[] = {
      {0, TRUE, false, "No error [0x0000]"},
      {1, TRUE, false, "Cabinet not found [0x0001]"},
      {2, TRUE, false, "Cabinet file does not have the correct format [0x0002]"},
      {3, TRUE, false, "Cabinet file has an unknown version number [0x0003]"},
      {4, TRUE, false, "Cabinet file is corrupt [0x0004]"},
      {5, TRUE, false, "Could not allocate enough memory [0x0005]"},
      {6, TRUE, false, "Unknown compression type in a cabinet folder [0x0006]"},
      {7, TRUE, false, "Failure decompressing data from a cabinet file [0x0007]"},
      {8, TRUE, false, "Failure writing to target file [0x0008]"},
      {9, TRUE, false, "Cabinets in a set do not have the same RESERVE sizes [0x0009]"},
      {10, TRUE, false, "Cabinet returned on fdintNEXT_CABINET is incorrect [0x000A]"},
      {11, TRUE, false, "FDI aborted [0x000B]"},
      {12, TRUE, false, "FDI error [0x000C]"},
      {0x12345, TRUE, false, "FDI error [0x12345]"},  // more than four digits when needed
      {-1, TRUE, false, "FDI error [0xFFFFFFFF]"},
      {0, TRUE, true, "No error [0x0000]"},
      {1, TRUE, true, "Failure opening file to be stored in cabinet [0x0001]"},
      {2, TRUE, true, "Failure reading file to be stored in cabinet [0x0002]"},
      {3, TRUE, true, "Out of memory in FCI [0x0003]"},
      {4, TRUE, true, "Could not create a temporary file [0x0004]"},
      {5, TRUE, true, "Unknown compression type [0x0005]"},
      {6, TRUE, true, "Could not create cabinet file [0x0006]"},
      {7, TRUE, true, "Client requested abort [0x0007]"},
      {8, TRUE, true, "Failure compressing data [0x0008]"},
      {9, TRUE, true, "FCI error [0x0009]"},
      {8, FALSE, false, "FDI error"},  // no error present: the code is not looked at
      {8, FALSE, true, "FCI error"},
  };
  for (const Case& c : cases) {
    const ERF erf = {c.oper, 0, c.present};
    const EzeCabinet e(erf, c.fci);
    EXPECT_EQ(std::string(e.what()), c.text);
    EXPECT_EQ(e.ErrorCode, c.oper);
    EXPECT_EQ(e.ErrorPresent, c.present != FALSE);
    EXPECT_EQ(e.IsFCI, c.fci);
  }
  EXPECT_EQ(CabSetPositionText(), "Failure setting file stream position");
}

TEST(EzeCabinet, AppendsTheSystemsTextOfTheOsError) {
  const ERF erf = {8, 5, TRUE};
  const EzeCabinet e(erf, false);
  const std::string text = e.what();
  const std::string head = "Failure writing to target file [0x0008].\r\n";
  const std::string tail = " [0x0005].";
  ASSERT_EQ(text.compare(0, head.size(), head), 0) << text;
  ASSERT_EQ(text.compare(text.size() - tail.size(), tail.size(), tail), 0) << text;
  const std::string system = text.substr(head.size(), text.size() - head.size() - tail.size());
  EXPECT_EQ(system, SystemErrorText(5));
  EXPECT_FALSE(system.empty());
  EXPECT_NE(system.back(), '.');
  EXPECT_GT(static_cast<unsigned char>(system.back()), ' ');
  EXPECT_EQ(e.OSError, 5);

  // An error without an OS error has no second line.
  EXPECT_EQ(std::string(EzeCabinet(ERF{8, 0, TRUE}, false).what()), "Failure writing to target file [0x0008]");
}

TEST(ForceFolder, CreatesMissingParents) {
  TempTree temp;
  EXPECT_FALSE(ForceFolder(""));
  EXPECT_TRUE(ForceFolder(temp / "a\\b\\c\\"));
  EXPECT_TRUE(PathExists(temp / "a\\b\\c"));
  EXPECT_TRUE(ForceFolder(temp / "a\\b"));  // already there
  WriteBytes(temp / "file", {'x'});
  EXPECT_FALSE(ForceFolder(temp / "file\\sub"));  // a file stands where a folder should
  EXPECT_FALSE(SetExtractedFileInfo(temp / "nothing.txt", 0, 0, 0));
}

// ---------------------------------------------------------------------------
// The library's binding

TEST(CabinetDll, IsBoundByTheFirstContext) {
  UnloadCabinetDll();
  TzeCabReader reader;
  const HFDI context = reader.GetContext();
  EXPECT_NE(context, nullptr);
  EXPECT_TRUE(CabinetDllBound());
  EXPECT_EQ(reader.GetContext(), context);
  reader.DestroyContext();
  EXPECT_NE(reader.GetContext(), nullptr);
}

TEST(CabinetDll, MissingOrIncompleteLibraryIsReported) {
  TempTree temp;
  const std::string log = temp / "test.log";
  SetEnvironmentVariableA("VARORIVI_TESTLOG", log.c_str());
  OpenTestLog();
  {
    BoxCloser closer;
    LoadCabinetDll("zeNoSuchCabinet.dll");
    EXPECT_FALSE(CabinetDllLoaded());

    // A library without the nine entry points stays loaded but is never called:
    // creating a context fails with an exception instead.
    LoadCabinetDll("kernel32.dll");
    EXPECT_TRUE(CabinetDllLoaded());
    EXPECT_FALSE(CabinetDllBound());
    TzeCabReader reader;
    try {
      reader.GetContext();
      ADD_FAILURE() << "no exception";
    } catch (const EzeCabinet& e) {
      EXPECT_EQ(std::string(e.what()), "FDI error");
    }
    EXPECT_EQ(closer.Captions(), (std::vector<std::string>{"Error", "Error"}));
  }
  CloseTestLog();
  SetEnvironmentVariableA("VARORIVI_TESTLOG", nullptr);
  UnloadCabinetDll();

  const std::string lines = ReadText(log);
  const size_t notFound = lines.find(" box Error|Cabinet.dll not found\n");
  const size_t invalid = lines.find(" box Error|Cabinet.dll is invalid\n");
  EXPECT_NE(notFound, std::string::npos) << lines;
  EXPECT_NE(invalid, std::string::npos) << lines;
  EXPECT_LT(notFound, invalid);

  // Unloaded again, the next context binds the real library.
  TzeCabReader reader;
  EXPECT_NE(reader.GetContext(), nullptr);
}

// ---------------------------------------------------------------------------
// Listing

TEST(CabListFiles, ReportsEveryEntryInTableOrder) {
  const uint16_t d1997 = DosDate(1997, 3, 12);
  struct Case {
    std::string cab;
    std::vector<TListed> expected;
  } cases[] = {
      {Fixture("multi.cab"),
       {{"b.bin", SizeOf(Fixture("src\\multi\\b.bin")), 0, DosDate(2004, 2, 29), DosTime(23, 59, 58), 0x20},
        {"sub\\deep\\c.txt", SizeOf(Fixture("src\\multi\\sub\\deep\\c.txt")), 0, DosDate(1999, 12, 31), 0, 0x20},
        {"a.txt", SizeOf(Fixture("src\\multi\\a.txt")), 0, DosDate(2021, 6, 15), DosTime(13, 45, 30), 0x20}}},
      {CorpusCab("normal_2files_1folder.cab"),
       {{"hello.c", 77, 0, d1997, DosTime(11, 13, 52), 0x20}, {"welcome.c", 74, 0, d1997, DosTime(11, 15, 14), 0x20}}},
      {CorpusCab("dir.cab"),
       {{"plain.c", 77, 0, d1997, DosTime(11, 13, 52), 0x20}, {"1\\2\\3\\4.c", 74, 0, d1997, DosTime(11, 15, 14), 0x20}}},
      {CorpusCab("mszip_lzx_qtm.cab"),
       {{"mszip.txt", 57, 0, d1997, DosTime(11, 13, 52), 0x20},
        {"lzx.txt", 187, 1, d1997, DosTime(11, 13, 52), 0x20},
        {"qtm.txt", 59, 2, d1997, DosTime(11, 13, 52), 0x20}}},
      // Entries continued from or into other cabinets carry the special folder indexes.
      {CorpusCab("split-5.cab"),
       {{"small3.bin", 128, 0xFFFD, 19697, 18075, 0x20}, {"medium3.bin", 40000, 0xFFFD, 19697, 18075, 0x20}}},
      // The table is read where the header points, not where it usually lies.
      {CorpusCab("hidden-files.cab"),
       {{"hidden1.txt", 0, 0, d1997, DosTime(11, 13, 52), 0x20}, {"hidden2.txt", 0, 0, d1997, DosTime(11, 13, 52), 0x20}}},
  };
  for (const Case& c : cases) {
    Listed.clear();
    StopAfter = 0;
    TzeCabReader reader;
    EXPECT_TRUE(reader.ListFiles(c.cab, Collect)) << c.cab;
    EXPECT_EQ(Listed, c.expected) << c.cab;
  }
}

TEST(CabListFiles, AbortFlagEndsTheListing) {
  Listed.clear();
  StopAfter = 1;
  TzeCabReader reader;
  EXPECT_TRUE(reader.ListFiles(Fixture("multi.cab"), Collect));
  StopAfter = 0;
  ASSERT_EQ(Listed.size(), 1u);
  EXPECT_EQ(Listed[0].Name, "b.bin");
}

TEST(CabListFiles, FilesThatAreNoCabinetsAreNotListed) {
  for (const std::string& path : {CorpusCab("bad_signature.cab"), CorpusCab("dirwalk-vulns.txt"),
                                  CorpusCab("partial_shortheader.cab"), Fixture("src\\one\\hello.txt")}) {
    Listed.clear();
    TzeCabReader reader;
    EXPECT_FALSE(reader.ListFiles(path, Collect)) << path;
    EXPECT_TRUE(Listed.empty()) << path;
  }
}

TEST(CabListFiles, BrokenTablesRaiseInsteadOfReadingPastTheData) {
  TempTree temp;
  const TBytes one = ReadBytes(Fixture("one.cab"));
  struct Case {
    const char* what;
    TBytes bytes;
    std::string message;  // "" : the stream's read error for this file
  } cases[] = {
      {"table offset beyond the end", one, ""},
      {"table offset of 2 GiB", one, CabSetPositionText()},
      {"name without its zero byte in 781 bytes", RenameCabEntries(one, {std::string(800, 'n')}),
       "Cabinet file is corrupt"},
      {"more entries than the table holds", one, ""},
  };
  PutU32(&cases[0].bytes[cab::kHeaderCoffFiles], static_cast<uint32_t>(one.size() + 100));
  PutU32(&cases[1].bytes[cab::kHeaderCoffFiles], 0x80000000u);
  PutU16(&cases[3].bytes[cab::kHeaderCFiles], 2);
  for (const Case& c : cases) {
    const std::string path = temp / "broken.cab";
    WriteBytes(path, c.bytes);
    Listed.clear();
    TzeCabReader reader;
    try {
      reader.ListFiles(path, Collect);
      ADD_FAILURE() << c.what << ": no exception";
    } catch (const Exception& e) {
      EXPECT_EQ(std::string(e.what()), c.message.empty() ? "Cannot read file " + path : c.message) << c.what;
    }
    EXPECT_LE(Listed.size(), 1u) << c.what;
  }
}

TEST(CabListFiles, MissingFileRaisesTheOsError) {
  TzeCabReader reader;
  try {
    reader.ListFiles(Fixture("no-such.cab"), Collect);
    ADD_FAILURE() << "no exception";
  } catch (const Exception& e) {
    const std::string text = e.what();
    const std::string head = "System Error.  Code: 2.\r\n";
    EXPECT_EQ(text.compare(0, head.size(), head), 0) << text;
    EXPECT_EQ(text.substr(head.size()), SystemErrorText(2));
  }
}

// ---------------------------------------------------------------------------
// Extraction

TEST(CabExtractFiles, ExtractsCorpusCabinetsOfEveryCompression) {
  const std::string hello = "c2535936b8908b1f8a28b7724a2c2045", welcome = "67c981a019c21f3f4bb8f92efe4d95a1";
  struct Case {
    const char* cab;
    std::map<std::string, std::string> digests;
  } cases[] = {
      {"normal_2files_1folder.cab", {{"hello.c", hello}, {"welcome.c", welcome}}},
      {"dir.cab", {{"plain.c", hello}, {"1\\2\\3\\4.c", welcome}}},
      {"normal_2files_2folders.cab",
       {{"mszip1.txt", "59571918d5be925ad8aec9f5d7369cf5"},
        {"mszip2.txt", "cb18e329a9effc70aa07a7061844b584"},
        {"lzx1.txt", "67c5cd73e661fa667b8de3d8a5f6f3bf"},
        {"lzx2.txt", "5182c12627058cf1afd4e6ce8f10d635"}}},
      {"mszip_lzx_qtm.cab",
       {{"mszip.txt", "940cba86658fbceb582faecd2b5975d1"},
        {"lzx.txt", "703474293b614e7110b3eb8ac2762b53"},
        {"qtm.txt", "98fcfa4962a0f169a3c7fdbcb445cf17"}}},
      {"reserve_HFD.cab",
       {{"test1.txt", "2debfdcf79f03e4a65a667d21ef9de14"}, {"test2.txt", "d8e8fca2dc0f896fd7cb4cb0031ba249"}}},
      {"test-mszip.cab",
       {{"test.sh", "7a5b82cbc623ce6361e2cd281f462ddf"}, {"test.txt", "50c32e08ab3f0df064af1a8c98d1b6ce"}}},
      // A set of five whose folders run on across cabinets, named in another case.
      {"split-1.cab",
       {{"small1.bin", "2ad5ba0f497f1e597ab187a2dfaa2e29"},
        {"small2.bin", "1f862f9e36a32a74202c1120b9f06af7"},
        {"medium1.bin", "0a7bd124a4c03a30329bd9ff06f71df7"},
        {"medium2.bin", "b4b0a02ad6a1170d4b3db18cec616fcc"},
        {"small3.bin", "bbaecacfeba976165e9d77bbecb0cbde"},
        {"medium3.bin", "b98fe17e8afbcf05aefc5b2c4badbc28"}}},
  };
  for (const Case& c : cases) {
    TempTree dest;
    Extract(CorpusCab(c.cab), dest.Path());
    EXPECT_EQ(DigestsBelow(dest.Path()), c.digests) << c.cab;
  }
}

TEST(CabExtractFiles, WritesTheSourcesBackWithTheirFoldersTimesAndAttributes) {
  for (const char* set : {"one", "multi"}) {
    TempTree temp;
    const std::string dest = temp / "dest";  // missing, and without a trailing backslash
    const std::string cab = Fixture(std::string(set) + ".cab");
    Extract(cab, dest);
    Listed.clear();
    TzeCabReader reader;
    ASSERT_TRUE(reader.ListFiles(cab, Collect));
    std::vector<std::string> expected;
    for (const TListed& entry : Listed) {
      const std::string path = dest + "\\" + entry.Name;
      expected.push_back(entry.Name);
      EXPECT_EQ(ReadText(path), ReadText(Fixture("src\\" + std::string(set) + "\\" + entry.Name))) << entry.Name;

      // Creation and write time are the entry's date and time, read as local time.
      const HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
      ASSERT_NE(h, INVALID_HANDLE_VALUE);
      FILETIME created, written;
      GetFileTime(h, &created, nullptr, &written);
      CloseHandle(h);
      for (const FILETIME& utc : {created, written}) {
        FILETIME local;
        WORD date = 0, time = 0;
        FileTimeToLocalFileTime(&utc, &local);
        FileTimeToDosDateTime(&local, &date, &time);
        EXPECT_EQ(date, entry.Date) << entry.Name;
        EXPECT_EQ(time, entry.Time) << entry.Name;
      }
      EXPECT_EQ(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY, 0u) << entry.Name;
    }
    std::vector<std::string> got;
    for (const auto& file : DigestsBelow(dest + "\\")) got.push_back(file.first);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(got, expected) << set;
  }
}

TEST(CabExtractFiles, ReadOnlyTargetIsReplacedAndTakesTheCabinetsAttributes) {
  TempTree temp;
  const std::string target = temp / "hello.txt";
  const std::string source = ReadText(Fixture("src\\one\\hello.txt"));
  TBytes readOnlyCab = ReadBytes(Fixture("one.cab"));
  // Read-only plus the name-is-UTF-8 and executable bits, which are not kept.
  SetCabEntryField(readOnlyCab, 0, cab::kFileAttribs, 0x20 | 0x01 | 0x80 | 0x40);
  WriteBytes(temp / "readonly.cab", readOnlyCab);

  struct Case {
    std::string cab;
    bool readOnlyAfter;
  } cases[] = {{Fixture("one.cab"), false}, {temp / "readonly.cab", true}};
  for (const Case& c : cases) {
    // An older, read-only file, longer than the new one. (Wine run by root
    // writes read-only files all the same; elsewhere this also shows that the
    // attribute is cleared before the file is opened.)
    WriteBytes(target, TBytes(source.size() + 50, 'o'));
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);

    Extract(c.cab, temp.Path());
    EXPECT_EQ(ReadText(target), source) << c.cab;
    const DWORD attributes = GetFileAttributesA(target.c_str());
    EXPECT_EQ((attributes & FILE_ATTRIBUTE_READONLY) != 0, c.readOnlyAfter) << c.cab;
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
  }
}

TEST(CabExtractFiles, TargetThatCannotBeCreatedStopsTheCopy) {
  TempTree dest;
  CreateDirectoryA((dest / "b.bin").c_str(), nullptr);  // the first entry's name, taken by a folder
  CabLastError = 0;
  Extract(Fixture("multi.cab"), dest.Path());
  EXPECT_EQ(TreeBelow(dest.Path()), std::vector<std::string>{"b.bin\\"});
  EXPECT_NE(CabLastError, 0);
}

TEST(CabExtractFiles, NonCabinetCreatesNothingAndRaisesNothing) {
  TempTree temp;
  EXPECT_NO_THROW(Extract(CorpusCab("dirwalk-vulns.txt"), temp / "dest"));
  EXPECT_NO_THROW(Extract(temp / "missing.cab", temp / "dest"));
  EXPECT_TRUE(TreeBelow(temp.Path()).empty());
}

// The corpus set names its members "cabd_multi_basic_ptN.cab": copies under those names.
void CopyMultiBasic(const TempTree& temp, int parts) {
  for (int i = 1; i <= parts; ++i) {
    const std::string n = std::to_string(i);
    CopyFileA(CorpusCab("multi_basic_pt" + n + ".cab").c_str(), (temp / ("cabd_multi_basic_pt" + n + ".cab")).c_str(),
              FALSE);
  }
}

const std::map<std::string, std::string> kMultiBasic = {{"test1.txt", "1ee6ef514d6234f79e3ef54a204901a2"},
                                                        {"test2.txt", "8e8ca89f5c5c7b80829f05ce451bf477"},
                                                        {"test3.txt", "e207982a9612cd1d9af933d5f00000f8"}};

TEST(CabExtractFiles, FollowsTheSetIntoItsNextCabinets) {
  TempTree temp;
  CopyMultiBasic(temp, 5);
  Extract(temp / "cabd_multi_basic_pt1.cab", temp / "dest");
  EXPECT_EQ(DigestsBelow(temp / "dest\\"), kMultiBasic);
}

TEST(CabExtractFiles, MissingMemberEndsTheSetWithoutLeavingCutFiles) {
  TempTree temp;
  CopyMultiBasic(temp, 2);
  Extract(temp / "cabd_multi_basic_pt1.cab", temp / "dest");
  // Whatever was finished is whole; the file that ran into the gap is gone.
  const auto digests = DigestsBelow(temp / "dest\\");
  EXPECT_LT(digests.size(), kMultiBasic.size());
  for (const auto& file : digests) EXPECT_EQ(file.second, kMultiBasic.at(file.first)) << file.first;
  EXPECT_EQ(digests.count("test3.txt"), 0u);
}

TEST(CabExtractFiles, OptionBitZeroReadsOneCabinetOnly) {
  TempTree dest;
  Extract(CorpusCab("split-1.cab"), dest.Path(), 1);
  const auto digests = DigestsBelow(dest.Path());
  // split-1 begins three files; the set holds six.
  EXPECT_FALSE(digests.empty());
  EXPECT_LT(digests.size(), 6u);
  EXPECT_EQ(digests.count("medium3.bin"), 0u);
}

TEST(CabExtractFiles, SetsThatLeadBackToAReadCabinetEnd) {
  TempTree temp;
  const TBytes one = ReadBytes(Fixture("one.cab"));
  const TBytes pair = ReadBytes(Fixture("pair.cab"));
  // The entry runs on into the next cabinet, which is this one again: the
  // library asks for it, finds the wrong cabinet and asks once more.
  TBytes continued = WithNextCabinet(one, "self.cab", "disk");
  SetCabEntryField(continued, 0, cab::kFileIFolder, 0xFFFE);
  SetCabEntryField(continued, 0, cab::kFileCbFile, 1000);
  struct Case {
    const char* what;
    std::vector<std::pair<std::string, TBytes>> files;  // the first is extracted
    std::vector<std::string> extracted;
  } cases[] = {
      {"names itself", {{"self.cab", WithNextCabinet(one, "self.cab", "disk")}}, {"hello.txt"}},
      {"names itself in another case", {{"self.cab", WithNextCabinet(one, "SELF.CAB", "disk")}}, {"hello.txt"}},
      {"runs a file on into itself", {{"self.cab", continued}}, {}},
      {"two that name each other",
       {{"a.cab", WithNextCabinet(one, "b.cab", "disk")}, {"b.cab", WithNextCabinet(pair, "a.cab", "disk")}},
       {"first.txt", "hello.txt", "second.txt"}},
  };
  for (const Case& c : cases) {
    TempTree dir;
    for (const auto& file : c.files) WriteBytes(dir / file.first, file.second);
    Extract(dir / c.files[0].first, dir / "dest");
    std::vector<std::string> got;
    for (const auto& file : DigestsBelow(dir / "dest\\")) got.push_back(file.first);
    EXPECT_EQ(got, c.extracted) << c.what;
  }
}

// ---------------------------------------------------------------------------
// Hostile names

TEST(CabExtractFiles, NamesLeadingOutOfTheDestinationAreNotExtracted) {
  TempTree sandbox;
  const std::string dest = sandbox / "a\\b\\dest\\";
  const std::string root = sandbox.Path();              // Z:\...\zeT_...\ .
  const std::string rootNoDrive = root.substr(2);       // \...\zeT_...\ .
  std::string rootSlashes = rootNoDrive;
  std::replace(rootSlashes.begin(), rootSlashes.end(), '\\', '/');
  const TBytes pair = ReadBytes(Fixture("pair.cab"));
  // Each would put escaped.txt somewhere in the sandbox but outside dest.
  const std::string hostile[] = {
      "..\\escaped.txt",
      "..\\..\\..\\escaped.txt",
      "sub\\..\\..\\escaped.txt",
      "../../escaped.txt",
      "sub/../../../escaped.txt",
      ".. \\escaped.txt",   // Windows trims the blank
      "...\\..\\escaped.txt",
      root + "escaped.txt",         // drive and absolute path
      rootNoDrive + "escaped.txt",  // absolute on the current drive
      rootSlashes + "escaped.txt",
      "\\\\?\\" + root + "escaped.txt",
  };
  for (const std::string& name : hostile) {
    WriteBytes(sandbox / "hostile.cab", RenameCabEntries(pair, {"first.txt", name}));
    Extract(sandbox / "hostile.cab", dest);
    const std::vector<std::string> expected = {"a\\", "a\\b\\", "a\\b\\dest\\", "a\\b\\dest\\first.txt",
                                               "hostile.cab"};
    EXPECT_EQ(TreeBelow(root), expected) << name;
    RemoveTree(sandbox / "a");
  }

  // The corpus's collection: its first entry is already refused.
  Extract(CorpusCab("dirwalk-vulns.cab"), dest);
  EXPECT_EQ(TreeBelow(root), std::vector<std::string>{"hostile.cab"});
}

TEST(CabExtractFiles, NextCabinetIsOnlyLookedForBesideTheCabinet) {
  TempTree sandbox;
  CreateDirectoryA((sandbox / "in").c_str(), nullptr);
  WriteBytes(sandbox / "outside.cab", ReadBytes(Fixture("pair.cab")));
  WriteBytes(sandbox / "in\\start.cab", WithNextCabinet(ReadBytes(Fixture("one.cab")), "..\\outside.cab", "disk"));
  Extract(sandbox / "in\\start.cab", sandbox / "in\\dest");
  EXPECT_EQ(TreeBelow(sandbox / "in\\dest\\"), std::vector<std::string>{"hello.txt"});
}

// Every corpus cabinet, good or broken, is listed and extracted without a
// crash or a hang, and nothing lands outside the destination folder.
TEST(CabCorpus, EveryCabinetIsHandledCleanly) {
  WIN32_FIND_DATAA data;
  const HANDLE find = FindFirstFileA(CorpusCab("*.cab").c_str(), &data);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  int count = 0;
  do {
    const std::string name = data.cFileName;
    // Its single member is a 14 MB cabinet: a stress input, not a unit test's.
    if (name == "large-files-cab.cab") continue;
    ++count;
    TempTree sandbox;
    Listed.clear();
    TzeCabReader reader;
    try {
      reader.ListFiles(CorpusCab(name), Collect);
    } catch (const Exception&) {
      // a broken table is reported, which is all that is asked
    }
    EXPECT_NO_THROW(reader.ExtractFiles(CorpusCab(name), sandbox / "dest", 0)) << name;
    for (const std::string& path : TreeBelow(sandbox.Path()))
      EXPECT_EQ(path.compare(0, 5, "dest\\"), 0) << name << ": " << path;
  } while (FindNextFileA(find, &data));
  FindClose(find);
  EXPECT_GT(count, 70);
}

}  // namespace
