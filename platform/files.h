// Text files: the string list that saves itself, and the existence test.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

class TStringList {
 public:
  void Add(std::string_view line) { lines_.emplace_back(line); }
  // Every line followed by CR LF.
  std::string Text() const;

  // Creates or empties the file and writes the text in one write, holding the file
  // unshared meanwhile. Raises EFCreateError or EWriteError.
  void SaveToFile(const std::string& path) const;

 private:
  std::vector<std::string> lines_;
};

// True when a file (not a folder) exists under the name.
bool FileExists(const std::string& path);

// The system's text for an error code.
std::string SysErrorMessage(unsigned long code);

}  // namespace platform
