#include "film/CabTable.h"

#include <cstring>

#include "foundation/Bytes.h"

TCabTableResult WalkCabFileTable(TzeStream& stream, const TCabEntryVisitor& visit) {
  uint8_t header[cab::kHeaderSize];
  stream.ReadBuffer(header, cab::kHeaderSize);
  if (std::memcmp(header + cab::kHeaderSignature, "MSCF", 4) != 0) return TCabTableResult::BadSignature;

  // An offset of 2 GiB or more turns negative here; no stream can be placed
  // there, so the check below refuses it.
  const int32_t coffFiles = static_cast<int32_t>(GetU32(header + cab::kHeaderCoffFiles));
  stream.SetPosition(coffFiles);
  if (stream.GetPosition() != coffFiles) return TCabTableResult::BadPosition;

  const uint16_t count = GetU16(header + cab::kHeaderCFiles);
  bool abort = false;
  for (uint32_t i = 0; i < count && !abort; ++i) {
    uint8_t fixed[cab::kFileFixedSize];
    stream.ReadBuffer(fixed, cab::kFileFixedSize);

    char name[cab::kNameBufferSize];
    int32_t length = 0;
    for (;;) {
      if (length == cab::kNameBufferSize) return TCabTableResult::UnterminatedName;
      stream.ReadBuffer(name + length, 1);
      if (name[length] == '\0') break;
      ++length;
    }

    TCabFileEntry entry;
    entry.Name.assign(name, static_cast<size_t>(length));
    entry.Size = GetI32(fixed + cab::kFileCbFile);
    entry.Folder = GetU16(fixed + cab::kFileIFolder);
    entry.Date = GetU16(fixed + cab::kFileDate);
    entry.Time = GetU16(fixed + cab::kFileTime);
    entry.Attribs = GetU16(fixed + cab::kFileAttribs);
    visit(entry, abort);
  }
  return TCabTableResult::Ok;
}
