// The two directory walkers: the file scan that fills the main window's found-files list, and
// the copy of matching files into an existing tree of the same shape.
#pragma once

#include <string>

#include "platform/file_system.h"

namespace migration {

class Program;

// Searches `start` breadth-first for files matching `patterns` ("*.doc;*.dot") and lists each
// in the main window's lvFiles: the starting directory's files at the top, ahead of rows already
// there, the files of deeper directories at the end. Skips excluded directories, stops before
// the next directory once bCancel is set, and reports its progress in the status line.
void ScanForFiles(Program& program, const std::string& start, const std::string& patterns);

// Whether CopyTree goes on into the sub-directories of a level.
enum class Subfolders { Skip, Enter };
// What CopyTree does with a sub-directory that has no counterpart under the target.
enum class MissingFolders { Stop, Create };

// Copies the files of `source` matching `pattern` into `target`, replacing existing ones, then
// with Subfolders::Enter walks each sub-directory of `source` that also exists under `target`.
// With MissingFolders::Stop it creates no directory, and returns false when a sub-directory has
// no counterpart under `target`: the later sub-directories of that level are left out. With
// MissingFolders::Create it creates the counterpart, and returns false when it cannot (leaving
// out the later ones likewise). Failed file copies are passed over.
bool CopyTree(platform::FileSystem& files, const std::string& source, const std::string& target,
              Subfolders subfolders, const std::string& pattern,
              MissingFolders missing = MissingFolders::Stop);

}  // namespace migration
