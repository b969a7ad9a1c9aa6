// The uninstaller's own names and the texts it builds, kept free of
// windows.h so they can be checked natively.
//
// The uninstaller belongs to edition V9: every key, profile name and text
// it uses carries "V9" / "V9.0" (common/product_v9.h).
#pragma once

#include <string>

#include "common/product_v9.h"

const char* const kDataSourceDriver = "Microsoft Access Driver (*.mdb)";
// The self-deleting batch's name, in a folder of its own.
const char* const kSelfDeleteBatch = "DelUS.bat";
// How many times, a second apart, the batch tries to delete the program
// before it gives up (a file that can never be deleted).
const int kSelfDeleteTries = 600;

// The attribute list for removing the package's ODBC data source: the
// zero-terminated key=value pairs, ended by an empty pair.  installDir
// ends with "\" (or is "\" alone when the install folder is unknown).
std::string DataSourceAttributes(const std::string& installDir);

// The folder part of a program path: the text before its last single-byte
// "\" (never the trail byte of a double-byte character).  A path without
// any "\" is returned whole.
std::string ProgramFolder(const std::string& programPath);

// path in double quotes, safe for cmd inside a batch file: "%" is
// doubled (no variable is expanded); the batch turns delayed expansion
// off, so "!" stays literal, and "&", "^", "|", "<", ">", "(" and ")" are
// plain characters between quotes.  A path holds no '"' and no line end.
std::string CmdQuoted(const std::string& path);

// The self-deleting batch at batchPath for the program at programPath:
// retries the delete once a second until the program has ended (giving up
// after tries tries with a line in the log at logPath, when there is
// one), removes the program's folder, then deletes itself and the folder
// it lies in.  It runs in its own folder, and the only program it starts,
// the wait's PING.EXE, is named by its path in systemFolder (the system
// folder, without trailing "\"); it ends in systemFolder.
std::string SelfDeleteScript(const std::string& programPath, const std::string& batchPath,
                             const std::string& logPath, const std::string& systemFolder,
                             int tries = kSelfDeleteTries);
