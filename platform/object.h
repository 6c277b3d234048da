// The common root of components and controls, and the event type their handlers share.
#pragma once

#include <functional>

namespace platform {

class TObject {
 public:
  virtual ~TObject() = default;
};

// A handler receives the component that raised the event.
using TNotifyEvent = std::function<void(TObject* sender)>;

}  // namespace platform
