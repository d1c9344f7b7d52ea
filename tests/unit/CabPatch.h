// Rewrites simple cabinets (one set member, no reserve areas: what gcab writes)
// into the odd ones the reader's tests need: other entry names, attributes or
// folder indexes, and a next cabinet in the header. Data blocks are moved, not
// touched, so their checksums stay valid.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using TBytes = std::vector<uint8_t>;

TBytes ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const TBytes& bytes);

// Replaces the names of the file table, one per entry, in table order.
TBytes RenameCabEntries(const TBytes& cab, const std::vector<std::string>& names);
// Sets a 16-bit field (cab::kFileIFolder, kFileAttribs, ...) of entry index.
void SetCabEntryField(TBytes& cab, int index, int32_t fieldOffset, uint16_t value);
// Gives the header a next cabinet and its disk name (flag 0x0002).
TBytes WithNextCabinet(const TBytes& cab, const std::string& next, const std::string& disk);
