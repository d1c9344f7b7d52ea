// A private folder for the film writer's intermediate files (packed payloads,
// cabinet staging), removed with everything in it when the writer is done.
#pragma once

#include <cstdint>
#include <string>

namespace filmwriter {

class TWorkFolder {
 public:
  // Creates a new folder "zeW_XXXXXX" inside parent (empty: the system's temporary folder).
  explicit TWorkFolder(const std::string& parent = "");
  ~TWorkFolder();
  TWorkFolder(const TWorkFolder&) = delete;
  TWorkFolder& operator=(const TWorkFolder&) = delete;

  const std::string& Path() const { return FPath; }  // ends with '/'
  // A name inside the folder that no earlier call has returned; nothing is created.
  std::string NewName(const std::string& ext);

 private:
  std::string FPath;
  int32_t FNextNumber = 0;
};

// A file that is deleted when its owner goes; move-only.
class TTempFile {
 public:
  TTempFile() = default;
  explicit TTempFile(std::string path) : FPath(std::move(path)) {}
  ~TTempFile();
  TTempFile(TTempFile&& other) noexcept : FPath(std::move(other.FPath)) { other.FPath.clear(); }
  TTempFile& operator=(TTempFile&& other) noexcept;
  TTempFile(const TTempFile&) = delete;
  TTempFile& operator=(const TTempFile&) = delete;

  const std::string& Path() const { return FPath; }

 private:
  std::string FPath;
};

}  // namespace filmwriter
