// The cabinet reader: the file and memory callbacks the cabinet library calls,
// the notification handler that creates the extracted files, TzeCabReader with
// its listing and extraction, and the exception EzeCabinet.
#pragma once

#include <windows.h>

#include <fdi.h>

#include <cstdint>
#include <string>
#include <vector>

#include "film/CabPaths.h"
#include "foundation/zeClasses.h"

// The last operating-system error a callback saw; reset at every notification.
extern int32_t CabLastError;

// The callbacks given to FDICreate. They never let an exception out.
void* DIAMONDAPI CabAlloc(ULONG cb);
void DIAMONDAPI CabFree(void* pv);
INT_PTR DIAMONDAPI CabOpen(char* pszFile, int oflag, int pmode);
UINT DIAMONDAPI CabRead(INT_PTR hf, void* pv, UINT cb);
UINT DIAMONDAPI CabWrite(INT_PTR hf, void* pv, UINT cb);
int DIAMONDAPI CabClose(INT_PTR hf);
LONG DIAMONDAPI CabSeek(INT_PTR hf, LONG dist, int seektype);
INT_PTR DIAMONDAPI CabNotify(FDINOTIFICATIONTYPE fdint, PFDINOTIFICATION pfdin);

// What CabOpen hands to CreateFileA for a set of C run-time open flags.
struct TCabOpenMode {
  DWORD Access;
  DWORD Disposition;
  DWORD FlagsAndAttributes;
};
TCabOpenMode CabOpenMode(int oflag);

// Sets an extracted file's creation and write time from an MS-DOS date and
// time (local time) and its attributes (read-only, hidden, system and archive
// only). False when the file cannot be opened.
bool SetExtractedFileInfo(const std::string& path, uint16_t date, uint16_t time, uint16_t attribs);

// Creates a folder and any missing parents; true when the folder exists afterwards.
bool ForceFolder(const std::string& path);

class EzeCabinet : public Exception {
 public:
  EzeCabinet(const ERF& erf, bool isFCI);

  int32_t ErrorCode;
  int32_t OSError;
  bool ErrorPresent;
  bool IsFCI;

  // The message for an error record: the code's text and hexadecimal value,
  // then the system's text of the OS error when there is one.
  static std::string MessageFor(const ERF& erf, bool isFCI);
};

// The system's text for an OS error code, without trailing periods, spaces and
// line breaks; empty when the system has none.
std::string SystemErrorText(int32_t code);
// "System Error.  Code: %d.\r\n%s", or "A call to an OS function failed" for 0.
std::string OSErrorMessage(int32_t code);

class TzeCabReader;

// Called by ListFiles once per file entry; setting abort ends the listing.
using TCabListProc = void (*)(TzeCabReader& reader, const std::string& name, int32_t size, uint16_t folder,
                              uint16_t date, uint16_t time, uint16_t attribs, bool& abort);

class TzeCabReader {
 public:
  TzeCabReader();
  virtual ~TzeCabReader();
  TzeCabReader(const TzeCabReader&) = delete;
  TzeCabReader& operator=(const TzeCabReader&) = delete;

  // True when the file is a cabinet; the procedure is then called for each
  // entry of its file table, in table order.
  bool ListFiles(const std::string& cabinet, TCabListProc proc);
  // Extracts every file of the cabinet, and of the cabinets that follow it in
  // its set, into destFolder, keeping the folders stored in the names. Options
  // bit 0: this cabinet only. Failures are not reported: what could not be
  // extracted is absent.
  void ExtractFiles(const std::string& cabinet, const std::string& destFolder, int32_t options);
  bool IsCabinet(const std::string& path, FDICABINETINFO& info);

  HFDI GetContext();
  void DestroyContext();
  // Raises EzeCabinet from Erf, with CabLastError as the OS error, unless ok.
  void Check(bool ok);

  std::string CabinetFile;    // full path of the cabinet extraction started from
  std::string DestFolder;     // with a trailing backslash
  std::string NextCabinet;    // full path of the set's next cabinet, or empty
  std::string ResumeCabinet;  // full path of the cabinet a file ran on into
  bool ResumeRequested = false;
  ERF Erf = {};
  TzeStringList OpenNames;  // stored names of the files open for writing
  TzeStringList OpenPaths;  // their target paths, same index
  std::vector<int32_t> OpenSizes;  // their sizes as the cabinet gives them, same index

 private:
  void DiscardUnfinishedFiles();

  HFDI FContext = nullptr;
};
