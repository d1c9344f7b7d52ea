// The English texts of the cabinet library's error codes, kept as string
// resources of the executable (resources/zeCabConsts.rc).
#pragma once

#include <string>

// The text of a library error code; isFCI picks the compression table. Codes
// outside a table give "FDI error" or "FCI error".
std::string CabErrorText(int code, bool isFCI);
// "FDI error" or "FCI error": an error record without an error.
std::string CabGeneralErrorText(bool isFCI);
// "Failure setting file stream position".
std::string CabSetPositionText();
