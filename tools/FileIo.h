// Writes and copies that fail loudly: a film with a silently short piece is
// worse than no film.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/zeClasses.h"

namespace filmwriter {

void WriteAll(TzeStream& dest, const void* bytes, size_t count);
inline void WriteAll(TzeStream& dest, const std::vector<uint8_t>& bytes) { WriteAll(dest, bytes.data(), bytes.size()); }
void WriteI32(TzeStream& dest, int32_t value);
// Copies count bytes from source's position to dest's position, in bounded pieces.
void CopyBytes(TzeStream& dest, TzeStream& source, int64_t count);
// The whole file in memory; for tests and small inputs (language tables, sounds).
std::vector<uint8_t> ReadWholeFile(const std::string& path);
// Runs a program with arguments in the given folder and waits for it; returns
// its exit code, or raises when it cannot be started. With an output file its
// standard output and error go there.
int RunProgram(const std::vector<std::string>& arguments, const std::string& folder,
               const std::string& outputFile = "");

}  // namespace filmwriter
