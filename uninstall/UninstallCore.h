// The uninstaller's own names and the texts it builds, kept free of
// windows.h so they can be checked natively.
//
// The uninstaller belongs to edition V9: every key, profile name and text
// it uses carries "V9" / "V9.0" (common/product_v9.h).
#pragma once

#include <string>

#include "common/product_v9.h"

const char* const kDataSourceDriver = "Microsoft Access Driver (*.mdb)";
const char* const kSelfDeleteBatch = "\\DelUS.bat";

// The attribute list for removing the package's ODBC data source: the
// zero-terminated key=value pairs, ended by an empty pair.  installDir
// ends with "\" (or is "\" alone when the install folder is unknown).
std::string DataSourceAttributes(const std::string& installDir);

// The folder part of a program path: the text before its last single-byte
// "\" (never the trail byte of a double-byte character).  A path without
// any "\" is returned whole.
std::string ProgramFolder(const std::string& programPath);

// The self-deleting batch for the program at programPath: retries the
// delete until the program has ended, removes its folder, deletes itself.
std::string SelfDeleteScript(const std::string& programPath);
