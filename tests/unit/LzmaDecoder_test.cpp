// The LZMA-alone decoder against third-party streams (good ones decode to the
// documented bytes, bad ones end with a result code), its policies (window size,
// stored size, memory limit), chunking independence, stream failures and, in the
// native build, round trips through liblzma's encoder.
#include "film/LzmaDecoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "foundation/Bytes.h"
#include "foundation/zeClasses.h"

#ifdef VARORIVI_HAVE_LIBLZMA
#include <lzma.h>
#endif

namespace {

// --- MD5, to compare outputs with the checksums the corpus documents ----------
class TMd5 {
 public:
  explicit TMd5(const std::vector<uint8_t>& data) {
    std::vector<uint8_t> m(data);
    const uint64_t bits = static_cast<uint64_t>(data.size()) * 8;
    m.push_back(0x80);
    while (m.size() % 64 != 56) m.push_back(0);
    for (int i = 0; i < 8; ++i) m.push_back(static_cast<uint8_t>(bits >> (8 * i)));
    for (size_t off = 0; off < m.size(); off += 64) Block(m.data() + off);
  }
  std::string Hex() const {
    static const char* digits = "0123456789abcdef";
    std::string s;
    for (uint32_t v : FH)
      for (int i = 0; i < 4; ++i) {
        const uint8_t b = static_cast<uint8_t>(v >> (8 * i));
        s += digits[b >> 4];
        s += digits[b & 15];
      }
    return s;
  }

 private:
  static uint32_t Rotl(uint32_t x, int c) { return (x << c) | (x >> (32 - c)); }
  void Block(const uint8_t* p) {
    static const int kShift[64] = {7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22,
                                   5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20,
                                   4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23,
                                   6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21};
    static const uint32_t k[64] = {
        // floor(2^32 * |sin(i + 1)|)
        0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
        0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
        0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
        0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
        0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
        0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
        0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
        0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};
    uint32_t w[16];
    for (int i = 0; i < 16; ++i) w[i] = GetU32(p + 4 * i);
    uint32_t a = FH[0], b = FH[1], c = FH[2], d = FH[3];
    for (int i = 0; i < 64; ++i) {
      uint32_t f;
      int g;
      if (i < 16) {
        f = (b & c) | (~b & d);
        g = i;
      } else if (i < 32) {
        f = (d & b) | (~d & c);
        g = (5 * i + 1) % 16;
      } else if (i < 48) {
        f = b ^ c ^ d;
        g = (3 * i + 5) % 16;
      } else {
        f = c ^ (b | ~d);
        g = (7 * i) % 16;
      }
      const uint32_t t = d;
      d = c;
      c = b;
      b = b + Rotl(a + f + k[i] + w[g], kShift[i]);
      a = t;
    }
    FH[0] += a;
    FH[1] += b;
    FH[2] += c;
    FH[3] += d;
  }
  uint32_t FH[4] = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};
};

std::string Md5(const std::vector<uint8_t>& data) { return TMd5(data).Hex(); }

// --- files ---------------------------------------------------------------------
std::string CorpusFile(const std::string& name) {
  std::string path = std::string(VARORIVI_CORPUS_DIR) + "/lzma/" + name;
#ifdef _WIN32
  // Wine maps the Unix root to drive Z:.
  if (!path.empty() && path[0] == '/') {
    for (char& c : path)
      if (c == '/') c = '\\';
    path = "Z:" + path;
  }
#endif
  return path;
}

std::vector<uint8_t> ReadFile(const std::string& name) {
  TzeFileStream f(name, OpenReadDenyWrite);
  std::vector<uint8_t> data(static_cast<size_t>(f.GetSize()));
  f.ReadBuffer(data.data(), static_cast<int32_t>(data.size()));
  return data;
}

// A file in the temporary folder, removed when the test ends.
struct TempFile {
  std::string name = MakeTempName("tmp", "", "zeT_");
  TempFile() = default;
  explicit TempFile(const std::vector<uint8_t>& data) {
    TzeFileStream f(name, OpenCreate);
    f.Write(data.data(), static_cast<int32_t>(data.size()));
  }
  ~TempFile() { std::remove(name.c_str()); }
};

// Runs the file-to-file routine from fileName into a temporary file.
TLzmaResult DecodeFile(const std::string& fileName, std::vector<uint8_t>& out) {
  TempFile output;
  TLzmaResult r;
  {
    TzeFileStream in(fileName, OpenReadDenyWrite);
    TzeFileStream outFile(output.name, OpenCreate);
    r = DecodeLzmaStream(in, outFile);
  }
  out = ReadFile(output.name);
  return r;
}

// Feeds data in pieces of inChunk bytes and takes output in pieces of outChunk.
TLzmaResult DecodeChunked(const std::vector<uint8_t>& data, size_t inChunk, size_t outChunk,
                          std::vector<uint8_t>& out) {
  out.clear();
  if (data.size() < kLzmaHeaderSize) return TLzmaResult::BadHeader;
  TLzmaHeader header;
  TLzmaResult r = ParseLzmaHeader(data.data(), header);
  if (r != TLzmaResult::Ok) return r;
  TLzmaDecoder decoder;
  r = decoder.Init(header);
  if (r != TLzmaResult::Ok) return r;
  std::vector<uint8_t> buffer(outChunk);
  size_t pos = kLzmaHeaderSize;
  while (!decoder.Finished()) {
    const size_t n = std::min(inChunk, data.size() - pos);
    size_t used, written;
    r = decoder.Decode(data.data() + pos, n, &used, buffer.data(), buffer.size(), &written);
    if (r != TLzmaResult::Ok) return r;
    pos += used;
    out.insert(out.end(), buffer.begin(), buffer.begin() + static_cast<ptrdiff_t>(written));
    if (used == 0 && written == 0 && pos == data.size()) return TLzmaResult::TruncatedInput;
  }
  return TLzmaResult::Ok;
}

std::vector<uint8_t> Prefix(const std::vector<uint8_t>& v, size_t n) { return {v.begin(), v.begin() + n}; }

// --- the corpus ----------------------------------------------------------------
struct TCorpusCase {
  const char* file;
  TLzmaResult result;
  size_t size;      // bytes decoded (for failures: not checked)
  const char* md5;  // of the decoded bytes; nullptr: not checked
};

const char* const kHelloWorldMd5 = "fbf68a8e34b2ded53bba54e68794b4fe";  // "Hello\nWorld!\n"
const char* const kATxtMd5 = "57a42eb7f425c13fa644f2618a097ab7";
const char* const kFooTxtMd5 = "a18438f9f7a640a9cacc03a189fb4b90";

const TCorpusCase kCorpus[] = {
    // Good streams: exactly the documented bytes.
    {"good-unknown_size-with_eopm.lzma", TLzmaResult::Ok, 13, kHelloWorldMd5},
    {"good-known_size-without_eopm.lzma", TLzmaResult::Ok, 13, kHelloWorldMd5},
    {"good-known_size-with_eopm.lzma", TLzmaResult::Ok, 13, kHelloWorldMd5},  // marker at the size: not read
    {"a.lzma", TLzmaResult::Ok, 327, kATxtMd5},                               // 8 MiB dictionary, 327-byte window
    {"a_eos.lzma", TLzmaResult::Ok, 327, kATxtMd5},
    {"a_eos_and_size.lzma", TLzmaResult::Ok, 327, kATxtMd5},
    {"a_lp1_lc2_pb1.lzma", TLzmaResult::Ok, 327, kATxtMd5},  // props 0x37: lc1 lp1 pb1
    {"fox.lzma", TLzmaResult::Ok, 45, "0d7006cd055e94cf614587e1d2ae0c8e"},
    {"hello.txt.lzma", TLzmaResult::Ok, 12, "f0ef7081e1539ac00ef5b761b4fb01b3"},
    {"empty.txt.lzma", TLzmaResult::Ok, 0, "d41d8cd98f00b204e9800998ecf8427e"},  // end marker only
    {"foo.txt.lzma", TLzmaResult::Ok, 173595, kFooTxtMd5},
    {"range-coder-edge-case.lzma", TLzmaResult::Ok, 3040092, "4e0bc82583444c67e78b0ef56c58ba46"},  // code == range
    // Refused by policy: ~2 GiB dictionary and no stored size to bound the window.
    {"hugedict.txt.lzma", TLzmaResult::WindowTooLarge, 0, nullptr},
    // Accepted on purpose: a stored size smaller than the data stops decoding right
    // there, and what follows is never read; the film's own block sizes judge
    // whether the payload is complete.
    // "Hello\nWorld!", "Hel" (ends mid-match), "Hello\nYel" and the first 290 B of a.txt:
    {"bad-too_small_size-without_eopm-1.lzma", TLzmaResult::Ok, 12, "b030576734fa93edefd1b298086e617e"},
    {"bad-too_small_size-without_eopm-2.lzma", TLzmaResult::Ok, 3, "6b6e667a40e816c4da7bb4ab64cbb82b"},
    {"bad-too_small_size-without_eopm-3.lzma", TLzmaResult::Ok, 9, "3d48273d39e0b43c7e3b7f60102ec1e8"},
    {"bad_incorrect_size.lzma", TLzmaResult::Ok, 290, "63e0909838c750d296b36acbc399e80d"},
    // Bad streams: a result code, never a crash.
    {"bad-unknown_size-without_eopm.lzma", TLzmaResult::TruncatedInput, 0, nullptr},  // no end marker
    {"bad-too_big_size-with_eopm.lzma", TLzmaResult::EarlyEndMarker, 0, nullptr},     // marker after 13 of 14
    {"bad_eos_incorrect_size.lzma", TLzmaResult::EarlyEndMarker, 0, nullptr},         // marker after 327 of 328
    {"bad_corrupted.lzma", TLzmaResult::DistanceTooFar, 0, nullptr},                  // changed bytes
    {"bad_dist_out_of_range.lzma", TLzmaResult::DistanceTooFar, 0, nullptr},          // reaches before byte 0
};

TEST(LzmaDecoder, CorpusFileToFile) {
  for (const TCorpusCase& c : kCorpus) {
    SCOPED_TRACE(c.file);
    std::vector<uint8_t> out;
    EXPECT_EQ(DecodeFile(CorpusFile(c.file), out), c.result);
    if (c.result == TLzmaResult::Ok) {
      EXPECT_EQ(out.size(), c.size);
      EXPECT_EQ(Md5(out), c.md5);
    }
  }
}

TEST(LzmaDecoder, CorpusDecodesToTheExpectedFiles) {
  struct {
    const char* stream;
    const char* expected;
  } cases[] = {
      {"a.lzma", "a.txt"},
      {"a_lp1_lc2_pb1.lzma", "a.txt"},
      {"hello.txt.lzma", "hello.txt"},
      {"foo.txt.lzma", "foo.txt"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stream);
    std::vector<uint8_t> out;
    ASSERT_EQ(DecodeFile(CorpusFile(c.stream), out), TLzmaResult::Ok);
    EXPECT_TRUE(out == ReadFile(CorpusFile(c.expected)));
  }
}

TEST(LzmaDecoder, InMemoryAgreesWithFileToFile) {
  for (const TCorpusCase& c : kCorpus) {
    SCOPED_TRACE(c.file);
    const std::vector<uint8_t> data = ReadFile(CorpusFile(c.file));
    std::vector<uint8_t> out;
    EXPECT_EQ(DecodeLzmaBuffer(data.data(), data.size(), out), c.result);
    if (c.result == TLzmaResult::Ok) {
      EXPECT_EQ(Md5(out), c.md5);
    }
  }
}

TEST(LzmaDecoder, OneByteAtATime) {
  // One input byte per call and one output byte per call: every symbol and every
  // match is cut at each possible place.
  const std::vector<uint8_t> data = ReadFile(CorpusFile("foo.txt.lzma"));
  std::vector<uint8_t> out;
  ASSERT_EQ(DecodeChunked(data, 1, 1, out), TLzmaResult::Ok);
  EXPECT_EQ(out.size(), 173595u);
  EXPECT_EQ(Md5(out), kFooTxtMd5);
}

TEST(LzmaDecoder, ChunkingDoesNotChangeTheResult) {
  struct {
    const char* file;
    size_t inChunk, outChunk;
  } cases[] = {
      {"range-coder-edge-case.lzma", 47, 65536},         // just under one symbol's worst case
      {"range-coder-edge-case.lzma", 48, 273},           // exactly one worst case; one longest match out
      {"range-coder-edge-case.lzma", 4099, 1},           // odd input, byte-wise output
      {"foo.txt.lzma", 1 << 20, 1 << 20},                // all at once
      {"bad-too_small_size-without_eopm-3.lzma", 1, 2},  // stored size ends mid-match
      {"bad-unknown_size-without_eopm.lzma", 3, 5},      // truncation still found
      {"bad_dist_out_of_range.lzma", 2, 3},              // distance error still found
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.file) + " in " + std::to_string(c.inChunk) + " out " + std::to_string(c.outChunk));
    const std::vector<uint8_t> data = ReadFile(CorpusFile(c.file));
    std::vector<uint8_t> whole, chunked;
    const TLzmaResult expected = DecodeLzmaBuffer(data.data(), data.size(), whole);
    EXPECT_EQ(DecodeChunked(data, c.inChunk, c.outChunk, chunked), expected);
    if (expected == TLzmaResult::Ok) {
      EXPECT_TRUE(chunked == whole);
    }
  }
}

TEST(LzmaDecoder, InputAfterTheEndIsNotTaken) {
  // With a stored size decoding stops at that size; with an end marker, after the
  // coder's flush. Either way the bytes behind the stream stay unread.
  for (const char* name : {"good-known_size-without_eopm.lzma", "good-unknown_size-with_eopm.lzma", "a.lzma"}) {
    SCOPED_TRACE(name);
    std::vector<uint8_t> data = ReadFile(CorpusFile(name));
    const size_t streamSize = data.size();
    data.insert(data.end(), 100, 0xAB);
    TLzmaHeader header;
    ASSERT_EQ(ParseLzmaHeader(data.data(), header), TLzmaResult::Ok);
    TLzmaDecoder decoder;
    ASSERT_EQ(decoder.Init(header), TLzmaResult::Ok);
    size_t used;
    ASSERT_EQ(decoder.DecodeToWindow(data.data() + kLzmaHeaderSize, data.size() - kLzmaHeaderSize, &used),
              TLzmaResult::Ok);
    EXPECT_TRUE(decoder.Ended());
    EXPECT_EQ(kLzmaHeaderSize + used, streamSize);
  }
}

// --- header and window policy ------------------------------------------------------
TEST(LzmaDecoder, HeaderFields) {
  const std::vector<uint8_t> data = ReadFile(CorpusFile("a_lp1_lc2_pb1.lzma"));
  TLzmaHeader h;
  ASSERT_EQ(ParseLzmaHeader(data.data(), h), TLzmaResult::Ok);
  EXPECT_EQ(h.Lc, 1u);
  EXPECT_EQ(h.Lp, 1u);
  EXPECT_EQ(h.Pb, 1u);
  EXPECT_EQ(h.DictionarySize, 65536u);
  EXPECT_EQ(h.DecodedSize, 327u);
}

TEST(LzmaDecoder, WindowIsTheSmallerOfDictionaryAndStoredSize) {
  struct {
    uint32_t dict;
    uint64_t size;
    uint64_t window;
  } cases[] = {
      {8u << 20, 14213840, 8u << 20},              // the recorder's payloads: the dictionary
      {8u << 20, 327, kLzmaMinWindow},             // tiny output: the minimum window
      {0x7F7F7F7F, 173595, 173595},                // huge dictionary, small stored size
      {0x7F7F7F7F, kLzmaSizeUnknown, 0x7F7F7F7F},  // no stored size: the dictionary
      {0, kLzmaSizeUnknown, kLzmaMinWindow},       // a dictionary below the minimum
      {1u << 20, 0, kLzmaMinWindow},               // empty output
  };
  for (const auto& c : cases) {
    TLzmaHeader h;
    h.DictionarySize = c.dict;
    h.DecodedSize = c.size;
    EXPECT_EQ(LzmaWindowSize(h), c.window) << c.dict << " " << c.size;
  }
}

TEST(LzmaDecoder, HugeDictionaryDecodesWhenTheSizeIsStored) {
  // hugedict.txt.lzma with its size written into the header: the window is the
  // output's 173,595 bytes, not the ~2 GiB the dictionary field asks for.
  std::vector<uint8_t> data = ReadFile(CorpusFile("hugedict.txt.lzma"));
  PutU64(data.data() + 5, 173595);
  std::vector<uint8_t> out;
  ASSERT_EQ(DecodeLzmaBuffer(data.data(), data.size(), out), TLzmaResult::Ok);
  EXPECT_EQ(Md5(out), kFooTxtMd5);
}

TEST(LzmaDecoder, MemoryLimitIsCheckedBeforeAllocating) {
  const std::vector<uint8_t> data = ReadFile(CorpusFile("foo.txt.lzma"));  // 8 MiB window
  TLzmaHeader h;
  ASSERT_EQ(ParseLzmaHeader(data.data(), h), TLzmaResult::Ok);
  TLzmaDecoder decoder;
  EXPECT_EQ(decoder.Init(h, LzmaMemoryNeeded(h) - 1), TLzmaResult::WindowTooLarge);
  size_t used;
  EXPECT_EQ(decoder.DecodeToWindow(data.data() + 13, data.size() - 13, &used), TLzmaResult::WindowTooLarge);
  EXPECT_EQ(used, 0u);
  EXPECT_EQ(decoder.Init(h, LzmaMemoryNeeded(h)), TLzmaResult::Ok);
}

TEST(LzmaDecoder, PropertiesByte) {
  // The end marker alone codes the same bits whatever lc, lp and pb are, so the
  // empty stream with another properties byte still decodes to nothing.
  const std::vector<uint8_t> empty = ReadFile(CorpusFile("empty.txt.lzma"));
  struct {
    uint8_t props;
    TLzmaResult result;
  } cases[] = {
      {0x00, TLzmaResult::Ok},            // lc0 lp0 pb0
      {224, TLzmaResult::Ok},             // lc8 lp4 pb4: the largest the byte can say
      {225, TLzmaResult::BadProperties},  // one beyond
      {0xFF, TLzmaResult::BadProperties},
  };
  for (const auto& c : cases) {
    std::vector<uint8_t> data = empty;
    data[0] = c.props;
    std::vector<uint8_t> out;
    EXPECT_EQ(DecodeLzmaBuffer(data.data(), data.size(), out), c.result) << int(c.props);
    EXPECT_TRUE(out.empty());
  }
}

TEST(LzmaDecoder, DamagedStreams) {
  const std::vector<uint8_t> foo = ReadFile(CorpusFile("foo.txt.lzma"));                 // size not stored
  const std::vector<uint8_t> edge = ReadFile(CorpusFile("range-coder-edge-case.lzma"));  // size stored
  auto withByte = [](std::vector<uint8_t> v, size_t at, uint8_t value) {
    v[at] = value;
    return v;
  };
  struct {
    const char* what;
    std::vector<uint8_t> data;
    TLzmaResult result;
  } cases[] = {
      {"empty input", {}, TLzmaResult::BadHeader},
      {"header cut", Prefix(foo, 12), TLzmaResult::BadHeader},
      {"header only", Prefix(foo, 13), TLzmaResult::TruncatedInput},
      {"coder start cut", Prefix(foo, 16), TLzmaResult::TruncatedInput},
      {"cut before the end marker", Prefix(foo, foo.size() - 1), TLzmaResult::TruncatedInput},
      {"cut in the middle", Prefix(foo, foo.size() / 2), TLzmaResult::TruncatedInput},
      {"cut before the stored size", Prefix(edge, edge.size() - 1000), TLzmaResult::TruncatedInput},
      {"coder's first byte not 0", withByte(foo, 13, 1), TLzmaResult::CorruptData},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<uint8_t> out;
    EXPECT_EQ(DecodeLzmaBuffer(c.data.data(), c.data.size(), out), c.result);
    TempFile input(c.data);
    EXPECT_EQ(DecodeFile(input.name, out), c.result);
  }
}

TEST(LzmaDecoder, EveryTruncationFails) {
  // Cutting a stream anywhere before its last byte is reported, never a crash.
  const std::vector<uint8_t> data = ReadFile(CorpusFile("a_eos.lzma"));
  for (size_t n = 0; n < data.size(); ++n) {
    std::vector<uint8_t> out;
    const TLzmaResult r = DecodeLzmaBuffer(data.data(), n, out);
    EXPECT_EQ(r, n < kLzmaHeaderSize ? TLzmaResult::BadHeader : TLzmaResult::TruncatedInput) << n;
  }
}

// --- stream failures ---------------------------------------------------------------
// An output that takes at most limit bytes in all.
class TShortOutput : public TzeMemoryStream {
 public:
  explicit TShortOutput(int32_t limit) : FLimit(limit) {}
  int32_t Write(const void* buffer, int32_t count) override {
    const int32_t n = std::min(count, FLimit - GetSize());
    return n > 0 ? TzeMemoryStream::Write(buffer, n) : 0;
  }

 private:
  int32_t FLimit;
};

// An input whose reads raise after the header.
class TFailingInput : public TzeMemoryStream {
 public:
  int32_t Read(void* buffer, int32_t count) override {
    if (GetPosition() >= static_cast<int32_t>(kLzmaHeaderSize)) throw Exception("Cannot read file");
    return TzeMemoryStream::Read(buffer, count);
  }
};

TEST(LzmaDecoder, StreamFailures) {
  const std::vector<uint8_t> data = ReadFile(CorpusFile("foo.txt.lzma"));
  {
    TzeMemoryStream in;
    in.Write(data.data(), static_cast<int32_t>(data.size()));
    in.SetPosition(0);
    TShortOutput out(1000);
    EXPECT_EQ(DecodeLzmaStream(in, out), TLzmaResult::WriteFailed);
  }
  {
    TFailingInput in;
    in.Write(data.data(), static_cast<int32_t>(data.size()));
    in.SetPosition(0);
    TzeMemoryStream out;
    EXPECT_EQ(DecodeLzmaStream(in, out), TLzmaResult::ReadFailed);
  }
  {
    // The stream starts at the input's position, not at its first byte.
    TzeMemoryStream in;
    in.Write("junk", 4);
    in.Write(data.data(), static_cast<int32_t>(data.size()));
    in.SetPosition(4);
    TzeMemoryStream out;
    ASSERT_EQ(DecodeLzmaStream(in, out), TLzmaResult::Ok);
    EXPECT_EQ(Md5({out.Memory(), out.Memory() + out.GetSize()}), kFooTxtMd5);
  }
}

TEST(LzmaDecoder, ResultTexts) {
  for (int r = static_cast<int>(TLzmaResult::Ok); r <= static_cast<int>(TLzmaResult::WriteFailed); ++r)
    EXPECT_STRNE(LzmaResultText(static_cast<TLzmaResult>(r)), "Unknown LZMA result") << r;
}

#ifdef VARORIVI_HAVE_LIBLZMA
// --- round trips through liblzma's encoder (native build only) -----------------------
std::vector<uint8_t> Encode(const std::vector<uint8_t>& input, uint32_t dict, unsigned lc, unsigned lp, unsigned pb) {
  lzma_options_lzma options;
  EXPECT_FALSE(lzma_lzma_preset(&options, 6));
  options.dict_size = dict;
  options.lc = lc;
  options.lp = lp;
  options.pb = pb;
  lzma_stream strm = LZMA_STREAM_INIT;
  EXPECT_EQ(lzma_alone_encoder(&strm, &options), LZMA_OK);
  std::vector<uint8_t> out(input.size() + input.size() / 2 + 4096);
  strm.next_in = input.data();
  strm.avail_in = input.size();
  strm.next_out = out.data();
  strm.avail_out = out.size();
  EXPECT_EQ(lzma_code(&strm, LZMA_FINISH), LZMA_STREAM_END);
  out.resize(strm.total_out);
  lzma_end(&strm);
  return out;
}

uint32_t NextRandom(uint32_t& s) {
  s = s * 1664525u + 1013904223u;
  return s >> 8;
}

// Bytes of mixed entropy: runs, repeats at many distances and noise.
std::vector<uint8_t> RandomishData(size_t n, uint32_t seed) {
  std::vector<uint8_t> v;
  v.reserve(n);
  while (v.size() < n) {
    const uint32_t kind = NextRandom(seed) % 4;
    const size_t len = 1 + NextRandom(seed) % 300;
    for (size_t i = 0; i < len && v.size() < n; ++i) {
      if (kind == 0) {
        v.push_back(static_cast<uint8_t>(NextRandom(seed)));
      } else if (kind == 1) {
        v.push_back(static_cast<uint8_t>(len));
      } else if (v.size() > 0) {
        const size_t back = 1 + (kind == 2 ? NextRandom(seed) % 16 : NextRandom(seed) % v.size());
        v.push_back(v[v.size() - std::min(back, v.size())]);
      } else {
        v.push_back(0);
      }
    }
  }
  return v;
}

// Frame records as a recorder writes them: runs of 24-bit XOR values, mostly
// long zero runs, with a small changing area per frame.
std::vector<uint8_t> ScreenLikeData(size_t n, uint32_t seed) {
  const uint32_t width = 640, height = 480;
  std::vector<uint8_t> v;
  auto run = [&v](uint32_t value, uint32_t len) {
    while (len > 0) {
      const uint32_t k = std::min<uint32_t>(len, 65535);
      v.push_back(static_cast<uint8_t>(value));
      v.push_back(static_cast<uint8_t>(value >> 8));
      v.push_back(static_cast<uint8_t>(value >> 16));
      v.push_back(static_cast<uint8_t>(k));
      v.push_back(static_cast<uint8_t>(k >> 8));
      len -= k;
    }
  };
  while (v.size() < n) {
    const size_t start = v.size();
    v.resize(start + 8);
    const uint32_t x0 = NextRandom(seed) % (width - 40), y0 = NextRandom(seed) % (height - 20);
    uint32_t at = 0;
    for (uint32_t y = y0; y < y0 + 12; ++y) {
      run(0, y * width + x0 - at);
      for (uint32_t x = 0; x < 8; ++x) run((NextRandom(seed) % 3) ? 0x202020 * (x % 4) : 0xFFFFFF, 1);
      at = y * width + x0 + 8;
    }
    run(0, width * height - at);
    PutI32(v.data() + start, static_cast<int32_t>(v.size() - start));
    PutI32(v.data() + start + 4, static_cast<int32_t>((v.size() - start - 8) / 5));
  }
  v.resize(n);
  return v;
}

TEST(LzmaDecoder, RoundTripsThroughLiblzma) {
  struct {
    const char* what;
    std::vector<uint8_t> data;
    uint32_t dict;
    unsigned lc, lp, pb;
  } cases[] = {
      {"random-ish, default properties", RandomishData(300000, 1), 1u << 20, 3, 0, 2},
      {"random-ish, window wraps many times", RandomishData(300000, 2), 4096, 3, 0, 2},
      {"screen-like, 64 KiB window wraps", ScreenLikeData(2000000, 3), 65536, 3, 0, 2},
      {"screen-like, recorder's settings", ScreenLikeData(2000000, 4), 8u << 20, 3, 0, 2},
      {"lc0 lp4 pb4", RandomishData(200000, 5), 65536, 0, 4, 4},
      {"lc4 lp0 pb0", RandomishData(200000, 6), 65536, 4, 0, 0},
      {"lc1 lp2 pb3", ScreenLikeData(500000, 7), 65536, 1, 2, 3},
      {"empty input", {}, 4096, 3, 0, 2},
      {"one byte", {42}, 4096, 3, 0, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<uint8_t> packed = Encode(c.data, c.dict, c.lc, c.lp, c.pb);
    std::vector<uint8_t> out;
    ASSERT_EQ(DecodeLzmaBuffer(packed.data(), packed.size(), out), TLzmaResult::Ok);
    EXPECT_TRUE(out == c.data);
    // The same stream with its size stored: the end marker behind it is not read.
    PutU64(packed.data() + 5, c.data.size());
    ASSERT_EQ(DecodeChunked(packed, 1000, 777, out), TLzmaResult::Ok);
    EXPECT_TRUE(out == c.data);
    // And file to file.
    TempFile input(packed);
    ASSERT_EQ(DecodeFile(input.name, out), TLzmaResult::Ok);
    EXPECT_TRUE(out == c.data);
  }
}
#endif

}  // namespace
