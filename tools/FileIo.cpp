#include "tools/FileIo.h"

#include <fcntl.h>
#include <spawn.h>
#include <unistd.h>
#include <sys/wait.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "foundation/Bytes.h"

extern char** environ;

namespace filmwriter {

void WriteAll(TzeStream& dest, const void* bytes, size_t count) {
  const uint8_t* p = static_cast<const uint8_t*>(bytes);
  while (count > 0) {
    const int32_t piece = static_cast<int32_t>(std::min<size_t>(count, 1u << 30));
    if (dest.Write(p, piece) != piece) throw Exception("Cannot write: disk full or file too large");
    p += piece;
    count -= static_cast<size_t>(piece);
  }
}

void WriteI32(TzeStream& dest, int32_t value) {
  uint8_t bytes[4];
  PutI32(bytes, value);
  WriteAll(dest, bytes, 4);
}

void CopyBytes(TzeStream& dest, TzeStream& source, int64_t count) {
  std::vector<uint8_t> buffer(static_cast<size_t>(std::min<int64_t>(count, 1 << 20)));
  while (count > 0) {
    const int32_t piece = static_cast<int32_t>(std::min<int64_t>(count, static_cast<int64_t>(buffer.size())));
    source.ReadBuffer(buffer.data(), piece);
    WriteAll(dest, buffer.data(), static_cast<size_t>(piece));
    count -= piece;
  }
}

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
  TzeFileStream file(path, OpenReadDenyWrite);
  std::vector<uint8_t> bytes(static_cast<size_t>(file.GetSize()));
  file.ReadBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
  return bytes;
}

int RunProgram(const std::vector<std::string>& arguments, const std::string& folder, const std::string& outputFile) {
  std::vector<char*> argv;
  for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  if (!outputFile.empty()) {
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
  }
  pid_t pid = 0;
  const int failed = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (failed) throw Exception("Cannot run " + arguments[0] + ": " + std::strerror(failed));
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) throw Exception("Lost " + arguments[0]);
  }
  // A program that cannot be executed after the fork exits with 127.
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace filmwriter
