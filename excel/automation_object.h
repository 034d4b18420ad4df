#pragma once

#include "automation/dispatch.h"

namespace varnex {

// A handle that is empty or holds one counted reference to an automation
// object. Copying adds a reference; releasing gives it up and never asks the
// object to do anything else (in particular, it never tells Excel to quit).
class AutomationObject {
 public:
  AutomationObject() = default;
  explicit AutomationObject(automation::Dispatch* object) : object_(object) {}
  explicit AutomationObject(automation::Ref<automation::Dispatch> object)
      : object_(std::move(object)) {}

  void Release() { object_.Reset(); }
  bool IsEmpty() const { return !object_; }
  automation::Dispatch* get() const { return object_.get(); }

 private:
  automation::Ref<automation::Dispatch> object_;
};

}  // namespace varnex
