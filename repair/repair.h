// The operating-system side of a repair: where the batch goes and how it is run.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace repair {

// The file-system path of a shell special folder (a CSIDL value), as the shell gives it;
// empty when the shell cannot resolve it.
std::string SpecialFolderPath(int folder);

// Starts the command line in a console of its own with the given show mode and waits,
// without a time limit, until it has ended; the window stays painted and answers other
// programs meanwhile. The child's exit code, or nothing when no process could be created.
std::optional<DWORD> RunCommandWait(std::string_view command_line, WORD show);

// A path as one argument of a command line. Unquoted, a path with blanks would let Windows
// try each blank-cut prefix as a program first ("C:\Documents.exe" for "C:\Documents and ...").
std::string QuotedForCommandLine(std::string_view path);

}  // namespace repair
