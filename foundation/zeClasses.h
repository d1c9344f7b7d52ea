// Streams, the string list, the lock wrapper and temporary file names: the small
// foundation the loader, the engine and the shell keep their data in.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "foundation/Exception.h"

class TzeStream {
 public:
  virtual ~TzeStream() = default;
  virtual int32_t GetPosition() = 0;
  virtual void SetPosition(int32_t position) = 0;
  virtual int32_t GetSize() = 0;
  virtual int32_t Read(void* buffer, int32_t count) = 0;
  virtual int32_t Write(const void* buffer, int32_t count) = 0;
  virtual void ReadBuffer(void* buffer, int32_t count) = 0;

  // Copies count bytes from source at its position; count 0 copies the whole
  // source from its first byte. A source that runs short raises its read error.
  int32_t CopyFrom(TzeStream& source, int32_t count);

  static constexpr int32_t kCopyBufferSize = 61440;
};

// An operating-system file handle (HANDLE on Windows, a descriptor elsewhere).
using TFileHandle = void*;

enum : uint16_t {
  OpenCreate = 0xFFFF,
  OpenReadDenyWrite = 0x0020,
  OpenReadExclusive = 0x0000,
};

class TzeFileStream : public TzeStream {
 public:
  // Opens or creates the file; raises when that is not possible.
  TzeFileStream(const std::string& fileName, uint16_t mode);
  ~TzeFileStream() override;
  TzeFileStream(const TzeFileStream&) = delete;
  TzeFileStream& operator=(const TzeFileStream&) = delete;

  int32_t GetPosition() override;
  void SetPosition(int32_t position) override;
  int32_t GetSize() override;
  int32_t Read(void* buffer, int32_t count) override;
  int32_t Write(const void* buffer, int32_t count) override;
  void ReadBuffer(void* buffer, int32_t count) override;

  TFileHandle Handle() const { return FHandle; }
  const std::string& FileName() const { return FFileName; }

 private:
  TFileHandle FHandle;
  std::string FFileName;
};

class TzeMemoryStream : public TzeStream {
 public:
  TzeMemoryStream();

  int32_t GetPosition() override { return FPosition; }
  void SetPosition(int32_t position) override;
  int32_t GetSize() override { return FSize; }
  int32_t Read(void* buffer, int32_t count) override;
  int32_t Write(const void* buffer, int32_t count) override;
  void ReadBuffer(void* buffer, int32_t count) override;

  void SetCapacity(int32_t bytes);
  int32_t Capacity() const { return static_cast<int32_t>(FStorage.size()); }
  const uint8_t* Memory() const { return FStorage.data(); }

  static constexpr int32_t kInitialCapacity = 4096;
  static constexpr int32_t kGrowth = 4096;

 private:
  std::vector<uint8_t> FStorage;
  int32_t FPosition = 0;
  int32_t FSize = 0;
};

class TzeStringList {
 public:
  int32_t Add(const std::string& text);
  void Clear();
  void Delete(int32_t index);
  std::string Get(int32_t index) const;
  int32_t IndexOf(const std::string& text) const;
  // The value of the first line "key=value" whose trimmed key equals name,
  // ignoring case under the user's locale; empty when there is none.
  std::string ValueOf(const std::string& name) const;
  // Adds the lines of a block of bytes (ended by CR or a zero byte).
  void LoadFromBuffer(const void* bytes, int32_t length);
  int32_t Count() const { return static_cast<int32_t>(FItems.size()); }

  static constexpr size_t kGrowth = 16;

 private:
  std::vector<std::string> FItems;
};

// Removes every byte of value 32 or less from both ends.
std::string TrimControl(const std::string& text);

// Equal ignoring case under the user's locale (the system's comparison on Windows).
bool AnsiSameText(const std::string& a, const std::string& b);

class TCriticalSection {
 public:
  TCriticalSection();
  ~TCriticalSection();
  TCriticalSection(const TCriticalSection&) = delete;
  TCriticalSection& operator=(const TCriticalSection&) = delete;
  void Enter();
  void Leave();

 private:
  struct Impl;
  std::unique_ptr<Impl> FImpl;
};

// Holds a TCriticalSection for one scope.
class TLockGuard {
 public:
  explicit TLockGuard(TCriticalSection& lock) : FLock(lock) { FLock.Enter(); }
  ~TLockGuard() { FLock.Leave(); }
  TLockGuard(const TLockGuard&) = delete;
  TLockGuard& operator=(const TLockGuard&) = delete;

 private:
  TCriticalSection& FLock;
};

// The local time as "YYYYMMDDhhnnsszzz".
struct TLocalTime {
  int year, month, day, hour, minute, second, millisecond;
};
std::string FormatTimeStamp(const TLocalTime& t);

// folder + prefix + time stamp + "." + ext for a file that does not exist yet;
// an empty folder means the system's temporary folder. The file is not created.
std::string MakeTempName(const std::string& ext, const std::string& folder, const std::string& prefix);

// Platform services the portable code above relies on.
std::string SystemTempFolder();  // with a trailing path delimiter
TLocalTime CurrentLocalTime();
bool FileExists(const std::string& path);
