#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "automation/dispatch.h"

namespace varnex::testing {

// A scripted automation server that records every call. Every object
// answers every member name: a property read, by default, gives a new child
// object named after the path walked so far, so any member path can be
// walked; scripts set a member's value, failure, kinds or parameter types.
// Objects are kept alive by the server so that reference counts can be
// checked after an operation.
class RecordingServer {
 public:
  RecordingServer();
  ~RecordingServer();

  automation::Dispatch* root();

  // Scripts, keyed by the member name without regard to case (optionally
  // "Object.member" for one object, the object's path as it was walked).
  void Answer(const std::string& member, automation::Variant value);
  void Fail(const std::string& member, automation::HResult status);
  // Only property writes of the member fail.
  void FailWrites(const std::string& member, automation::HResult status);
  void Kinds(const std::string& member, automation::InvokeKind kinds);
  void Types(const std::string& member, std::vector<automation::VarType> types);
  void FailRun(automation::HResult status) { run_status_ = status; }

  // One line per call: "<object> <get|put|putref|call> <Member>(<args>)".
  std::vector<std::string> log;
  // The locale id passed with every lookup and call.
  std::vector<automation::Lcid> lcids;

  // References held on objects other than the root.
  std::uint32_t OutstandingReferences() const;
  std::uint32_t RootReferences() const;

 private:
  class Object;
  struct Script {
    bool has_value = false;
    automation::Variant value;
    automation::HResult failure = 0;
    automation::HResult write_failure = 0;
    automation::InvokeKind kinds = 0;
    bool typed = false;
    std::vector<automation::VarType> types;
  };
  const Script* Find(const std::string& object_path, const std::string& lower_member) const;
  Object* NewObject(std::string path);

  std::map<std::string, Script> scripts_;
  std::vector<std::unique_ptr<Object>> objects_;
  automation::HResult run_status_ = 0;
};

// A variant as the log shows it: I4:7, BSTR:"x", BOOL:-1, missing, ...
std::string Describe(const automation::Variant& value);

}  // namespace varnex::testing
