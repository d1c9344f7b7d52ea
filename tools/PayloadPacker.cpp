#include "tools/PayloadPacker.h"

#include <lzma.h>

#include <filesystem>
#include <set>
#include <system_error>

#include "film/FilmFormat.h"
#include "foundation/Bytes.h"
#include "foundation/zeClasses.h"
#include "tools/FileIo.h"

namespace filmwriter {

uint32_t CompressionValueOf(const TPackOptions& options) {
  switch (options.Method) {
    case TPackMethod::Lzma: return film::cmLzma;
    case TPackMethod::Cabinet: return film::cmCabinet;
    case TPackMethod::Stored: break;
  }
  return options.StoredCompression & 0xF;
}

namespace {

class TStoredPacker : public TPayloadPacker {
 public:
  explicit TStoredPacker(TWorkFolder& folder)
      : FFile(folder.NewName("raw")), FOut(std::make_unique<TzeFileStream>(FFile.Path(), OpenCreate)) {}
  void Write(const uint8_t* bytes, size_t count) override {
    WriteAll(*FOut, bytes, count);
    FUnpackedSize += count;
  }
  TTempFile Finish() override {
    FOut.reset();
    return std::move(FFile);
  }

 private:
  TTempFile FFile;
  std::unique_ptr<TzeFileStream> FOut;
};

// LZMA-alone like the recorder's: properties 0x5D, an 8 MiB dictionary and the
// decoded size in the header. liblzma writes "size unknown" and an end marker;
// the size is patched in at the end, and the player's decoder accepts an end
// marker that comes exactly at the stored size.
class TLzmaPacker : public TPayloadPacker {
 public:
  explicit TLzmaPacker(TWorkFolder& folder)
      : FFile(folder.NewName("lzma")), FOut(FFile.Path(), OpenCreate), FBuffer(1 << 16) {
    lzma_options_lzma options;
    if (lzma_lzma_preset(&options, 6)) throw Exception("LZMA preset not available");
    options.dict_size = film::kRecorderLzmaDictionary;
    options.lc = 3;
    options.lp = 0;
    options.pb = 2;
    if (lzma_alone_encoder(&FStream, &options) != LZMA_OK) throw Exception("Cannot start the LZMA encoder");
    Rewind();
  }
  ~TLzmaPacker() override { lzma_end(&FStream); }

  void Write(const uint8_t* bytes, size_t count) override {
    FStream.next_in = bytes;
    FStream.avail_in = count;
    while (FStream.avail_in > 0) Code(LZMA_RUN);
    FUnpackedSize += count;
  }

  TTempFile Finish() override {
    while (Code(LZMA_FINISH) != LZMA_STREAM_END) {
    }
    uint8_t size[8];
    PutU64(size, FUnpackedSize);
    FOut.SetPosition(film::kLzmaDecodedSizeOffset);
    WriteAll(FOut, size, sizeof size);
    return std::move(FFile);
  }

 private:
  lzma_ret Code(lzma_action action) {
    const lzma_ret ret = lzma_code(&FStream, action);
    if (ret != LZMA_OK && ret != LZMA_STREAM_END) throw Exception("LZMA encoder error " + std::to_string(ret));
    if (FStream.avail_out == 0 || ret == LZMA_STREAM_END) {
      WriteAll(FOut, FBuffer.data(), FBuffer.size() - FStream.avail_out);
      Rewind();
    }
    return ret;
  }
  void Rewind() {
    FStream.next_out = FBuffer.data();
    FStream.avail_out = FBuffer.size();
  }

  TTempFile FFile;
  TzeFileStream FOut;
  std::vector<uint8_t> FBuffer;
  lzma_stream FStream = LZMA_STREAM_INIT;
};

// Names gcab can store as they are: relative, without "." or ".." steps.
void CheckStoredName(const std::string& name) {
  const std::filesystem::path path(name);
  bool ok = !name.empty() && path.is_relative() && name.back() != '/';
  for (const auto& step : path) ok = ok && step != "." && step != "..";
  if (!ok) throw Exception("Cabinet file name not storable: \"" + name + "\"");
}

// The payload goes straight into a staging folder under its stored name; gcab
// runs in that folder, so the names it stores are exactly the names given.
class TCabinetPacker : public TPayloadPacker {
 public:
  TCabinetPacker(const TPackOptions& options, TWorkFolder& folder)
      : FOptions(options), FFolder(folder), FStaging(folder.NewName("stage") + "/") {
    std::set<std::string> names{options.CabinetName};
    CheckStoredName(options.CabinetName);
    for (const TCabinetFile& f : options.CabinetExtraFiles) {
      CheckStoredName(f.Name);
      if (!names.insert(f.Name).second) throw Exception("Cabinet file name twice: \"" + f.Name + "\"");
    }
    std::filesystem::create_directories(StagedPath(options.CabinetName).parent_path());
    FOut.reset(new TzeFileStream(StagedPath(options.CabinetName).string(), OpenCreate));
  }
  ~TCabinetPacker() override {
    FOut.reset();
    std::error_code ignored;
    std::filesystem::remove_all(FStaging, ignored);
  }

  void Write(const uint8_t* bytes, size_t count) override {
    WriteAll(*FOut, bytes, count);
    FUnpackedSize += count;
  }

  TTempFile Finish() override {
    FOut.reset();
    std::vector<std::string> names;
    for (const TCabinetFile& f : FOptions.CabinetExtraFiles) {
      std::filesystem::create_directories(StagedPath(f.Name).parent_path());
      TzeFileStream out(StagedPath(f.Name).string(), OpenCreate);
      WriteAll(out, f.Bytes);
      names.push_back(f.Name);
    }
    names.insert(FOptions.CabinetPayloadFirst ? names.begin() : names.end(), FOptions.CabinetName);

    TTempFile cabinet(std::filesystem::absolute(FFolder.NewName("cab")).string());
    std::vector<std::string> command{"gcab", "-c"};
    if (FOptions.CabinetZip) command.push_back("-z");
    command.push_back(cabinet.Path());
    command.insert(command.end(), names.begin(), names.end());
    const int exitCode = RunProgram(command, FStaging);
    if (exitCode != 0 || !FileExists(cabinet.Path()))
      throw Exception("gcab failed (exit code " + std::to_string(exitCode) + ")");
    return cabinet;
  }

 private:
  std::filesystem::path StagedPath(const std::string& name) const { return std::filesystem::path(FStaging) / name; }

  TPackOptions FOptions;
  TWorkFolder& FFolder;
  std::string FStaging;
  std::unique_ptr<TzeFileStream> FOut;
};

}  // namespace

std::unique_ptr<TPayloadPacker> MakePayloadPacker(const TPackOptions& options, TWorkFolder& folder) {
  switch (options.Method) {
    case TPackMethod::Lzma: return std::make_unique<TLzmaPacker>(folder);
    case TPackMethod::Cabinet: return std::make_unique<TCabinetPacker>(options, folder);
    case TPackMethod::Stored: break;
  }
  return std::make_unique<TStoredPacker>(folder);
}

}  // namespace filmwriter
