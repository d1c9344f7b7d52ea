// The portable half of the foundation: stream copying, the memory stream, the
// string list and temporary names. File streams and locks live in the
// platform files beside this one.
#include "foundation/zeClasses.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#ifdef _WIN32
static const char kPathDelim = '\\';
#else
static const char kPathDelim = '/';
#endif

int32_t TzeStream::CopyFrom(TzeStream& source, int32_t count) {
  if (count == 0) {
    source.SetPosition(0);
    count = source.GetSize();
  }
  if (count <= 0) return 0;
  std::vector<uint8_t> buffer(static_cast<size_t>(std::min(count, kCopyBufferSize)));
  int32_t remaining = count;
  while (remaining > 0) {
    const int32_t n = std::min(static_cast<int32_t>(buffer.size()), remaining);
    source.ReadBuffer(buffer.data(), n);
    Write(buffer.data(), n);  // a short write (full disk) goes unnoticed here
    remaining -= n;
  }
  return count;
}

TzeMemoryStream::TzeMemoryStream() : FStorage(kInitialCapacity) {}

void TzeMemoryStream::SetPosition(int32_t position) {
  // Only positions inside the written bytes take effect.
  if (position >= 0 && position < FSize) FPosition = position;
}

int32_t TzeMemoryStream::Read(void* buffer, int32_t count) {
  if (count < 0 || FSize == 0) return 0;
  const int32_t n = std::min(count, FSize - FPosition);
  if (n <= 0) return 0;
  std::memcpy(buffer, FStorage.data() + FPosition, static_cast<size_t>(n));
  FPosition += n;
  return n;
}

int32_t TzeMemoryStream::Write(const void* buffer, int32_t count) {
  if (count <= 0) return 0;
  const int64_t end = static_cast<int64_t>(FPosition) + count;
  if (end > INT32_MAX - kGrowth) throw Exception("Memory stream too large");
  if (end > Capacity()) SetCapacity(static_cast<int32_t>(end) + kGrowth);
  std::memcpy(FStorage.data() + FPosition, buffer, static_cast<size_t>(count));
  FPosition = static_cast<int32_t>(end);
  FSize = std::max(FSize, FPosition);
  return count;
}

void TzeMemoryStream::ReadBuffer(void* buffer, int32_t count) {
  if (count != 0 && Read(buffer, count) != count) throw Exception("Cannot read buffer");
}

void TzeMemoryStream::SetCapacity(int32_t bytes) { FStorage.resize(static_cast<size_t>(std::max(bytes, 0))); }

int32_t TzeStringList::Add(const std::string& text) {
  if (FItems.size() == FItems.capacity()) FItems.reserve(FItems.size() + kGrowth);
  FItems.push_back(text);
  return Count() - 1;
}

void TzeStringList::Clear() { std::vector<std::string>().swap(FItems); }

void TzeStringList::Delete(int32_t index) {
  if (index >= 0 && index < Count()) FItems.erase(FItems.begin() + index);
}

std::string TzeStringList::Get(int32_t index) const {
  return index >= 0 && index < Count() ? FItems[static_cast<size_t>(index)] : std::string();
}

int32_t TzeStringList::IndexOf(const std::string& text) const {
  for (int32_t i = 0; i < Count(); ++i)
    if (FItems[static_cast<size_t>(i)] == text) return i;
  return -1;
}

std::string TrimControl(const std::string& text) {
  size_t first = 0, last = text.size();
  while (first < last && static_cast<unsigned char>(text[first]) <= 32) ++first;
  while (last > first && static_cast<unsigned char>(text[last - 1]) <= 32) --last;
  return text.substr(first, last - first);
}

std::string TzeStringList::ValueOf(const std::string& name) const {
  if (name.empty()) return std::string();
  for (const std::string& item : FItems) {
    const size_t eq = item.find('=');
    if (eq == std::string::npos) continue;
    if (AnsiSameText(TrimControl(item.substr(0, eq)), name)) return TrimControl(item.substr(eq + 1));
  }
  return std::string();
}

void TzeStringList::LoadFromBuffer(const void* bytes, int32_t length) {
  if (bytes == nullptr || length <= 0) return;
  const char* p = static_cast<const char*>(bytes);
  int32_t lineStart = -1;  // -1: between lines
  for (int32_t i = 0; i < length; ++i) {
    const char c = p[i];
    if (lineStart < 0) {
      // Between lines a line feed is skipped; anything else, even CR or zero, opens a line.
      if (c != '\n') lineStart = i;
    } else if (c == '\r' || c == '\0') {
      Add(std::string(p + lineStart, static_cast<size_t>(i - lineStart)));
      lineStart = -1;
    }
  }
  if (lineStart >= 0) Add(std::string(p + lineStart, static_cast<size_t>(length - lineStart)));
}

std::string FormatTimeStamp(const TLocalTime& t) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d%03d", t.year, t.month, t.day, t.hour, t.minute,
                t.second, t.millisecond);
  return text;
}

std::string MakeTempName(const std::string& ext, const std::string& folder, const std::string& prefix) {
  std::string dir = folder.empty() ? SystemTempFolder() : folder;
  if (dir.empty() || dir.back() != kPathDelim) dir += kPathDelim;
  std::string name;
  do {
    name = dir + prefix + FormatTimeStamp(CurrentLocalTime()) + "." + ext;
  } while (FileExists(name));
  return name;
}
