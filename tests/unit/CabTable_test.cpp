// The cabinet pieces that need no cabinet library: walking the file table
// (against the corpus, broken files included, and crafted tables) and the
// path rules that keep extracted files inside their folder.
#include "film/CabTable.h"

#include <dirent.h>
#include <gtest/gtest.h>

#include "film/CabPaths.h"
#include "foundation/Bytes.h"
#include "tests/unit/CabPatch.h"

namespace {

#ifdef _WIN32
const std::string kCabDir = std::string("Z:") + CORPUS_DIR + "/cab/";
#else
const std::string kCabDir = std::string(CORPUS_DIR) + "/cab/";
#endif

enum TOutcome { Ok, BadSignature, BadPosition, UnterminatedName, ReadError };

struct TWalk {
  TOutcome Outcome;
  std::vector<TCabFileEntry> Entries;
};

TWalk Walk(TzeStream& stream, size_t stopAfter = 0) {
  TWalk walk;
  try {
    const TCabTableResult result = WalkCabFileTable(stream, [&](const TCabFileEntry& e, bool& abort) {
      walk.Entries.push_back(e);
      abort = stopAfter != 0 && walk.Entries.size() >= stopAfter;
    });
    walk.Outcome = result == TCabTableResult::Ok             ? Ok
                   : result == TCabTableResult::BadSignature ? BadSignature
                   : result == TCabTableResult::BadPosition  ? BadPosition
                                                             : UnterminatedName;
  } catch (const Exception&) {
    walk.Outcome = ReadError;
  }
  return walk;
}

TWalk WalkFile(const std::string& name) {
  TzeFileStream stream(kCabDir + name, OpenReadDenyWrite);
  return Walk(stream);
}

TWalk WalkBytes(const TBytes& bytes, size_t stopAfter = 0) {
  TzeMemoryStream stream;
  stream.Write(bytes.data(), static_cast<int32_t>(bytes.size()));
  stream.SetPosition(0);
  return Walk(stream, stopAfter);
}

std::vector<std::string> Names(const TWalk& walk) {
  std::vector<std::string> names;
  for (const TCabFileEntry& e : walk.Entries) names.push_back(e.Name);
  return names;
}

TEST(CabTable, DecodesEveryFieldOfAnEntry) {
  const TWalk walk = WalkFile("normal_2files_1folder.cab");
  ASSERT_EQ(walk.Outcome, Ok);
  ASSERT_EQ(walk.Entries.size(), 2u);
  const TCabFileEntry& welcome = walk.Entries[1];
  EXPECT_EQ(welcome.Name, "welcome.c");
  EXPECT_EQ(welcome.Size, 74);
  EXPECT_EQ(welcome.Folder, 0);
  EXPECT_EQ(welcome.Date, ((1997 - 1980) << 9) | (3 << 5) | 12);
  EXPECT_EQ(welcome.Time, (11 << 11) | (15 << 5) | (14 / 2));
  EXPECT_EQ(welcome.Attribs, 0x20);
  EXPECT_EQ(Names(WalkFile("split-1.cab")), (std::vector<std::string>{"small1.bin", "small2.bin", "medium1.bin"}));
  EXPECT_EQ(WalkFile("split-1.cab").Entries[2].Folder, 0xFFFE);
}

TEST(CabTable, BrokenCorpusFilesEndWithinTheirData) {
  struct Case {
    const char* file;
    TOutcome outcome;
    size_t entries;
  } cases[] = {
      {"bad_signature.cab", BadSignature, 0},            // "mscf"
      {"search_basic.cab", BadSignature, 0},             // a cabinet, but not at offset 0
      {"partial_shortheader.cab", ReadError, 0},         // 35 bytes
      {"cve-2015-4471-lzx-under-read.cab", BadPosition, 0},  // table offset of 2 GiB or more
      {"test-ncbytes-overflow.cab", BadPosition, 0},
      {"hidden-file-beyond-eof.cab", ReadError, 0},      // table beyond the end
      {"partial_shortfile1.cab", ReadError, 0},          // cut inside the first entry
      {"partial_shortfile2.cab", ReadError, 1},          // cut inside the second entry's name
      {"partial_str_shortfname.cab", ReadError, 0},
      {"search_tricky1.cab", ReadError, 3},              // a decoy header whose table runs off the end
      {"filename-read-violation-1.cab", Ok, 1},          // an empty name
      {"cve-2017-11423-fname-overread.cab", Ok, 1},      // a 256-byte name
      {"partial_nodata.cab", Ok, 2},                     // the table needs no data blocks
  };
  for (const Case& c : cases) {
    const TWalk walk = WalkFile(c.file);
    EXPECT_EQ(walk.Outcome, c.outcome) << c.file;
    EXPECT_EQ(walk.Entries.size(), c.entries) << c.file;
  }
  EXPECT_EQ(WalkFile("cve-2017-11423-fname-overread.cab").Entries[0].Name.size(), 256u);
}

TEST(CabTable, EveryCorpusFileIsWalkedWithoutReadingPastIt) {
  DIR* dir = opendir(kCabDir.c_str());
  ASSERT_NE(dir, nullptr);
  int count = 0;
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name.size() < 4 || name.compare(name.size() - 4, 4, ".cab") != 0) continue;
    ++count;
    const TWalk walk = WalkFile(name);  // the sanitizers watch every read
    for (const TCabFileEntry& e : walk.Entries) EXPECT_LT(e.Name.size(), 781u) << name;
  }
  closedir(dir);
  EXPECT_GT(count, 70);
}

TEST(CabTable, CraftedTables) {
  const TBytes base = ReadBytes(kCabDir + "normal_2files_1folder.cab");
  TBytes tooFar = base, negative = base, tooMany = base, zeroFiles = base;
  PutU32(&tooFar[cab::kHeaderCoffFiles], static_cast<uint32_t>(base.size() + 10));
  PutU32(&negative[cab::kHeaderCoffFiles], 0xFFFFFFF0u);
  PutU16(&tooMany[cab::kHeaderCFiles], 0xFFFF);
  PutU16(&zeroFiles[cab::kHeaderCFiles], 0);
  struct Case {
    const char* what;
    TBytes bytes;
    TOutcome outcome;
    size_t entries;
  } cases[] = {
      {"names of 780 bytes fill the buffer", RenameCabEntries(base, {std::string(780, 'a'), "b"}), Ok, 2},
      {"a 781st byte leaves no room for the zero", RenameCabEntries(base, {"a", std::string(781, 'b')}),
       UnterminatedName, 1},
      {"table offset past the end", tooFar, BadPosition, 0},  // a memory stream cannot be placed there
      {"table offset that is negative as a position", negative, BadPosition, 0},
      // The third entry's name runs through the zero-free text of the data block.
      {"65535 entries in a table of two", tooMany, ReadError, 2},
      {"no entries", zeroFiles, Ok, 0},
      {"only the header", TBytes(base.begin(), base.begin() + cab::kHeaderSize), BadPosition, 0},
      {"header cut short", TBytes(base.begin(), base.begin() + cab::kHeaderSize - 1), ReadError, 0},
      {"empty", TBytes(), ReadError, 0},
  };
  for (const Case& c : cases) {
    const TWalk walk = WalkBytes(c.bytes);
    EXPECT_EQ(walk.Outcome, c.outcome) << c.what;
    EXPECT_EQ(walk.Entries.size(), c.entries) << c.what;
  }
}

TEST(CabTable, VisitorCanStopTheWalk) {
  const TBytes base = ReadBytes(kCabDir + "normal_2files_2folders.cab");
  const TWalk walk = WalkBytes(base, 2);
  EXPECT_EQ(walk.Outcome, Ok);
  EXPECT_EQ(Names(walk), (std::vector<std::string>{"mszip1.txt", "mszip2.txt"}));
}

TEST(CabPaths, JoinSplitAndFolderParts) {
  struct Case {
    std::initializer_list<std::string> pieces;
    std::string joined;
  } cases[] = {
      {{"C:\\dest\\", "file.txt"}, "C:\\dest\\file.txt"},
      {{"C:\\dest", "file.txt"}, "C:\\dest\\file.txt"},
      {{"C:\\dest\\", "\\file.txt"}, "C:\\dest\\file.txt"},
      {{"C:\\dest", "\\file.txt"}, "C:\\dest\\file.txt"},
      {{"", "C:\\dest", "", "a\\b"}, "C:\\dest\\a\\b"},
      {{"\\\\server\\", "x"}, "\\\\server\\x"},  // only one backslash is dropped at a seam
      {{"", ""}, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(JoinPath(c.pieces), c.joined);
  EXPECT_EQ(FolderPart("C:\\dest\\sub\\file.txt"), "C:\\dest\\sub\\");
  EXPECT_EQ(NamePart("C:\\dest\\sub\\file.txt"), "file.txt");
  EXPECT_EQ(FolderPart("file.txt"), "");
  EXPECT_EQ(NamePart("file.txt"), "file.txt");
}

TEST(CabPaths, OnlyNamesBelowTheFolderAreSafe) {
  struct Case {
    const char* name;
    bool safe;
  } cases[] = {
      {"file.txt", true},
      {"a\\b\\c.txt", true},
      {"a/b/c.txt", true},
      {"..file", true},           // dots inside a name are fine
      {"a..b\\c", true},
      {"console.txt", true},       // not a device: CON is
      {"com10", true},
      {"", false},
      {"..", false},
      {"..\\x", false},
      {"a\\..\\x", false},         // even when it stays inside
      {"a/../../x", false},
      {".\\x", false},
      {"a\\...\\x", false},        // trimmed to ".." or "."
      {".. \\x", false},
      {"a\\. .\\x", false},
      {"\\x", false},
      {"/x", false},
      {"\\\\server\\share\\x", false},
      {"\\\\?\\C:\\x", false},
      {"C:\\x", false},
      {"C:x", false},              // drive-relative
      {"x.txt:stream", false},     // an alternate data stream
      {"a\\\\b", false},           // empty component
      {"a\\", false},              // a folder, not a file
      {"CON", false},
      {"sub\\nul.txt", false},
      {"Com1", false},
      {"lpt9.log", false},
      {"aux .txt", false},
      {"CONOUT$", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsSafeCabEntryName(c.name), c.safe) << c.name;
}

TEST(CabPaths, CorpusDirectoryWalkNames) {
  // The collection of hostile names: everything with a real separator in a
  // bad place is refused; the ten names whose "slashes" are overlong UTF-8
  // sequences are plain bytes to the ANSI functions, single names in the folder.
  const TWalk walk = WalkFile("dirwalk-vulns.cab");
  ASSERT_EQ(walk.Outcome, Ok);
  ASSERT_EQ(walk.Entries.size(), 29u);
  int safe = 0;
  for (const TCabFileEntry& e : walk.Entries) {
    if (!IsSafeCabEntryName(e.Name)) continue;
    ++safe;
    EXPECT_EQ(e.Name.find_first_of("/\\"), std::string::npos) << e.Name;
  }
  EXPECT_EQ(safe, 10);
}

}  // namespace
