// The part of a cabinet file the reader walks itself for its listing: the fixed
// header and the table of file entries. No operating-system calls, so the same
// code is exercised natively under the sanitizers.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "foundation/zeClasses.h"

namespace cab {

// CFHEADER: only these fields are used; the rest is read along with them.
constexpr int32_t kHeaderSize = 36;
constexpr int32_t kHeaderSignature = 0;  // "MSCF"
constexpr int32_t kHeaderCoffFiles = 16;  // u32, offset of the first CFFILE
constexpr int32_t kHeaderCFiles = 28;     // u16, number of CFFILE entries

// CFFILE: 16 fixed bytes, then the zero-terminated name.
constexpr int32_t kFileFixedSize = 16;
constexpr int32_t kFileCbFile = 0;            // u32, uncompressed size
constexpr int32_t kFileUoffFolderStart = 4;   // u32, not used
constexpr int32_t kFileIFolder = 8;           // u16
constexpr int32_t kFileDate = 10;             // u16, MS-DOS date
constexpr int32_t kFileTime = 12;             // u16, MS-DOS time
constexpr int32_t kFileAttribs = 14;          // u16
// Room for a name and its zero byte; longer names are refused, not cut.
constexpr int32_t kNameBufferSize = 781;

}  // namespace cab

struct TCabFileEntry {
  std::string Name;
  int32_t Size = 0;
  uint16_t Folder = 0;
  uint16_t Date = 0;
  uint16_t Time = 0;
  uint16_t Attribs = 0;
};

enum class TCabTableResult {
  Ok,                // every entry was visited, or the visitor stopped the walk
  BadSignature,      // the file does not start with "MSCF"
  BadPosition,       // the stream cannot be placed at coffFiles
  UnterminatedName,  // a name has no zero byte within kNameBufferSize bytes
};

// Called once per entry, in table order; setting abort ends the walk.
using TCabEntryVisitor = std::function<void(const TCabFileEntry& entry, bool& abort)>;

// Reads the header from the stream's current position (the cabinet's start)
// and visits the file entries. Every read goes through ReadBuffer, so a table
// that runs past the end of the data raises the stream's read error there and
// never reads beyond it; the format faults above are returned instead.
TCabTableResult WalkCabFileTable(TzeStream& stream, const TCabEntryVisitor& visit);
