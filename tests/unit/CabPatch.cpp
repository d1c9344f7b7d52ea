#include "tests/unit/CabPatch.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

#include "film/CabTable.h"
#include "foundation/Bytes.h"

namespace {

constexpr int32_t kHeaderCbCabinet = 8;
constexpr int32_t kHeaderCFolders = 26;
constexpr int32_t kHeaderFlags = 30;
constexpr uint16_t kFlagNextCabinet = 0x0002;
constexpr int32_t kFolderSize = 8;  // coffCabStart u32, cCFData u16, typeCompress u16
constexpr int32_t kFolderCoffCabStart = 0;

void RequirePlain(const TBytes& cab) {
  if (cab.size() < static_cast<size_t>(cab::kHeaderSize) || GetU16(&cab[kHeaderFlags]) != 0)
    throw std::runtime_error("only plain single cabinets can be rewritten");
}

// Moves everything behind a change of delta bytes at the end of the header or
// the file table: the table's offset (when the change lies before it), each
// folder's first data block, and the cabinet's length.
void Shift(TBytes& cab, int32_t delta, bool tableMoves, int32_t foldersAt) {
  PutU32(&cab[kHeaderCbCabinet], GetU32(&cab[kHeaderCbCabinet]) + delta);
  if (tableMoves) PutU32(&cab[cab::kHeaderCoffFiles], GetU32(&cab[cab::kHeaderCoffFiles]) + delta);
  const uint16_t folders = GetU16(&cab[kHeaderCFolders]);
  for (uint16_t i = 0; i < folders; ++i) {
    uint8_t* start = &cab[static_cast<size_t>(foldersAt + i * kFolderSize + kFolderCoffCabStart)];
    PutU32(start, GetU32(start) + delta);
  }
}

// Byte offsets of each entry of the file table, plus the table's end.
std::vector<size_t> EntryOffsets(const TBytes& cab) {
  std::vector<size_t> offsets;
  size_t p = GetU32(&cab[cab::kHeaderCoffFiles]);
  const uint16_t count = GetU16(&cab[cab::kHeaderCFiles]);
  for (uint16_t i = 0; i < count; ++i) {
    offsets.push_back(p);
    p += cab::kFileFixedSize;
    while (p < cab.size() && cab[p] != 0) ++p;
    if (p >= cab.size()) throw std::runtime_error("file table runs past the end");
    ++p;
  }
  offsets.push_back(p);
  return offsets;
}

}  // namespace

TBytes ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  return TBytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const TBytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

TBytes RenameCabEntries(const TBytes& cab, const std::vector<std::string>& names) {
  RequirePlain(cab);
  const std::vector<size_t> at = EntryOffsets(cab);
  if (names.size() + 1 != at.size()) throw std::runtime_error("one name per entry");
  TBytes table;
  for (size_t i = 0; i < names.size(); ++i) {
    table.insert(table.end(), cab.begin() + static_cast<long>(at[i]),
                 cab.begin() + static_cast<long>(at[i]) + cab::kFileFixedSize);
    table.insert(table.end(), names[i].begin(), names[i].end());
    table.push_back(0);
  }
  TBytes out(cab.begin(), cab.begin() + static_cast<long>(at.front()));
  out.insert(out.end(), table.begin(), table.end());
  out.insert(out.end(), cab.begin() + static_cast<long>(at.back()), cab.end());
  Shift(out, static_cast<int32_t>(table.size()) - static_cast<int32_t>(at.back() - at.front()), false,
        cab::kHeaderSize);
  return out;
}

void SetCabEntryField(TBytes& cab, int index, int32_t fieldOffset, uint16_t value) {
  const std::vector<size_t> at = EntryOffsets(cab);
  if (index < 0 || static_cast<size_t>(index) + 1 >= at.size()) throw std::runtime_error("no such entry");
  PutU16(&cab[at[static_cast<size_t>(index)] + static_cast<size_t>(fieldOffset)], value);
}

TBytes WithNextCabinet(const TBytes& cab, const std::string& next, const std::string& disk) {
  RequirePlain(cab);
  TBytes strings(next.begin(), next.end());
  strings.push_back(0);
  strings.insert(strings.end(), disk.begin(), disk.end());
  strings.push_back(0);
  TBytes out(cab.begin(), cab.begin() + cab::kHeaderSize);
  out.insert(out.end(), strings.begin(), strings.end());
  out.insert(out.end(), cab.begin() + cab::kHeaderSize, cab.end());
  PutU16(&out[kHeaderFlags], kFlagNextCabinet);
  Shift(out, static_cast<int32_t>(strings.size()), true, cab::kHeaderSize + static_cast<int32_t>(strings.size()));
  return out;
}
