// The film loader: finds a film (at the end of a file or from a stream's
// position), copies and unpacks each segment's payload and distributes it over
// the segment records of SegmentList.
#pragma once

#include <cstdint>
#include <string>

#include "foundation/zeClasses.h"

// Reads the language table from the tail of the program's own executable into
// LanguageTable; an inconsistent tail counts as none.
void ReadLanguageTable();
void ReadLanguageTableOf(TzeStream& stream);

// Finds the film through the last four bytes of the stream and loads it; false
// when the stream carries none.
bool LoadFilmAtEnd(TzeStream& stream);

// The start file's film: through its tail; a film file named on the command line
// (a ".zef" carries no tail) from its first byte when its tail does not lead to
// a film directory. False when no film was found.
bool LoadStartFilm(TzeStream& stream, bool namedOnCommandLine);

// Loads the film that starts at the stream's position and ends at filmEnd (-1:
// the end of the stream), appending its segments to SegmentList. False when it
// has no directory.
bool LoadFilm(TzeStream& stream, int64_t filmEnd = -1);

// Decodes an LZMA payload file into a new "~7z" file in TempFolder and returns
// its name; empty when it could not be decoded (nothing is left behind then).
std::string DecodeLzmaPayload(const std::string& input);
