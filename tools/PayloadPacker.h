// Packs a segment's unpacked payload, fed piece by piece, into the file that the
// film carries: an LZMA-alone stream, a cabinet made by gcab, or the bytes as
// they are under a compression value the player does not unpack.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tools/WorkFolder.h"

namespace filmwriter {

enum class TPackMethod { Lzma, Cabinet, Stored };

struct TCabinetFile {
  std::string Name;  // the name stored in the cabinet; subfolders with '/'
  std::vector<uint8_t> Bytes;
};

struct TPackOptions {
  TPackMethod Method = TPackMethod::Lzma;

  // Cabinet: the payload's stored name, MSZIP blocks (gcab -z) or stored blocks,
  // and further files. The player reads only the file listed last, so the extra
  // files come before the payload unless CabinetPayloadFirst.
  std::string CabinetName = "segment.dat";
  bool CabinetZip = true;
  std::vector<TCabinetFile> CabinetExtraFiles;
  bool CabinetPayloadFirst = false;

  // Stored: the compression value for the flags word (1: the player ignores the payload).
  uint32_t StoredCompression = 1;
};

// The value of the flags word's compression field for these options.
uint32_t CompressionValueOf(const TPackOptions& options);

class TPayloadPacker {
 public:
  virtual ~TPayloadPacker() = default;
  virtual void Write(const uint8_t* bytes, size_t count) = 0;
  // Ends the payload and hands over the packed file. Writing afterwards is an error.
  virtual TTempFile Finish() = 0;
  uint64_t UnpackedSize() const { return FUnpackedSize; }

 protected:
  uint64_t FUnpackedSize = 0;
};

std::unique_ptr<TPayloadPacker> MakePayloadPacker(const TPackOptions& options, TWorkFolder& folder);

}  // namespace filmwriter
