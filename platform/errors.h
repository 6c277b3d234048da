// The errors platform operations raise; each carries the message the error display shows.
#pragma once

#include <stdexcept>
#include <string>

namespace platform {

// Messages are GBK text, shown as they stand by the error display.
class Exception : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class EFCreateError : public Exception {  // a file could not be created
 public:
  using Exception::Exception;
};
class EWriteError : public Exception {  // fewer bytes written than asked
 public:
  using Exception::Exception;
};
class EConvertError : public Exception {  // text that is no integer
 public:
  using Exception::Exception;
};
class EOutOfResources : public Exception {  // no timer to be had
 public:
  using Exception::Exception;
};

}  // namespace platform
