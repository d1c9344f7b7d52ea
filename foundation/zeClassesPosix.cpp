// The POSIX half of the foundation, for the native build (tests, fuzzing and the
// film tools): descriptors in place of handles. Sharing modes have no meaning
// here and are not enforced.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <mutex>

#include "foundation/zeClasses.h"

namespace {
int Fd(TFileHandle h) { return static_cast<int>(reinterpret_cast<intptr_t>(h)); }
}  // namespace

TzeFileStream::TzeFileStream(const std::string& fileName, uint16_t mode) : FHandle(nullptr), FFileName(fileName) {
  int flags = -1;
  if (mode == OpenCreate) {
    flags = O_RDWR | O_CREAT | O_TRUNC;
  } else if ((mode & 0x3) != 3 && (mode & 0xF0) <= 0x40) {
    static const int kAccess[] = {O_RDONLY, O_WRONLY, O_RDWR};
    flags = kAccess[mode & 0x3];
  }
  const int fd = flags < 0 ? -1 : ::open(fileName.c_str(), flags | O_CLOEXEC, 0644);
  if (fd < 0) throw Exception("Cannot open file " + fileName);
  FHandle = reinterpret_cast<TFileHandle>(static_cast<intptr_t>(fd));
}

TzeFileStream::~TzeFileStream() { ::close(Fd(FHandle)); }

int32_t TzeFileStream::GetPosition() {
  const off_t pos = ::lseek(Fd(FHandle), 0, SEEK_CUR);
  return pos < 0 ? -1 : static_cast<int32_t>(pos);
}

void TzeFileStream::SetPosition(int32_t position) { ::lseek(Fd(FHandle), position, SEEK_SET); }

int32_t TzeFileStream::GetSize() {
  const off_t pos = ::lseek(Fd(FHandle), 0, SEEK_CUR);
  const off_t size = ::lseek(Fd(FHandle), 0, SEEK_END);
  ::lseek(Fd(FHandle), pos, SEEK_SET);
  return static_cast<int32_t>(size);
}

int32_t TzeFileStream::Read(void* buffer, int32_t count) {
  if (count <= 0) return 0;
  int32_t done = 0;
  while (done < count) {  // a plain file may still answer in parts
    const ssize_t n = ::read(Fd(FHandle), static_cast<char*>(buffer) + done, static_cast<size_t>(count - done));
    if (n <= 0) return n < 0 ? 0 : done;
    done += static_cast<int32_t>(n);
  }
  return done;
}

int32_t TzeFileStream::Write(const void* buffer, int32_t count) {
  if (count <= 0) return 0;
  const ssize_t n = ::write(Fd(FHandle), buffer, static_cast<size_t>(count));
  return n < 0 ? 0 : static_cast<int32_t>(n);
}

void TzeFileStream::ReadBuffer(void* buffer, int32_t count) {
  if (count != 0 && Read(buffer, count) != count) throw Exception("Cannot read file " + FFileName);
}

struct TCriticalSection::Impl {
  std::recursive_mutex mutex;  // critical sections may be re-entered by their owner
};

TCriticalSection::TCriticalSection() : FImpl(new Impl) {}
TCriticalSection::~TCriticalSection() = default;
void TCriticalSection::Enter() { FImpl->mutex.lock(); }
void TCriticalSection::Leave() { FImpl->mutex.unlock(); }

bool AnsiSameText(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 'a' && x <= 'z') x = static_cast<unsigned char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<unsigned char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

std::string SystemTempFolder() {
  const char* dir = std::getenv("TMPDIR");
  std::string path = dir && *dir ? dir : "/tmp";
  if (path.back() != '/') path += '/';
  return path;
}

TLocalTime CurrentLocalTime() {
  timeval tv;
  gettimeofday(&tv, nullptr);
  tm t;
  localtime_r(&tv.tv_sec, &t);
  return {t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec, static_cast<int>(tv.tv_usec / 1000)};
}

bool FileExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}
