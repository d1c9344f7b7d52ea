// Path pieces of the cabinet reader: joining with backslashes, splitting a path,
// and the check that keeps a stored name inside the destination folder. Plain
// string work, shared by the Windows reader and the native tests.
#pragma once

#include <initializer_list>
#include <string>

// Joins the non-empty pieces with exactly one backslash at each seam; the first
// piece is taken unchanged.
std::string JoinPath(std::initializer_list<std::string> pieces);

// Everything up to and including the last backslash; empty when there is none.
std::string FolderPart(const std::string& path);
// Everything after the last backslash.
std::string NamePart(const std::string& path);

// True when a name read from a cabinet (a stored file or a next cabinet) names
// a file below the folder it is joined to: relative, no drive or stream colon,
// no empty, "." or ".." component (nor one Windows would trim to those), and no
// device name such as CON or COM1. Both slashes count as separators.
bool IsSafeCabEntryName(const std::string& name);
