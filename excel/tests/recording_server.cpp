#include "excel/tests/recording_server.h"

#include <sstream>

#include "automation/utf16.h"

namespace varnex::testing {

using namespace automation;

namespace {

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return s;
}

const char* KindName(InvokeKind kind) {
  switch (kind) {
    case DISPATCH_PROPERTYGET: return "get";
    case DISPATCH_PROPERTYPUT: return "put";
    case DISPATCH_PROPERTYPUTREF: return "putref";
    default: return "call";
  }
}

}  // namespace

std::string Describe(const Variant& v) {
  std::ostringstream out;
  switch (v.type()) {
    case VT_EMPTY: return "EMPTY";
    case VT_I2: out << "I2:" << v.i2(); break;
    case VT_I4: out << "I4:" << v.i4(); break;
    case VT_R8: out << "R8:" << v.r8(); break;
    case VT_BOOL: out << "BOOL:" << v.boolean(); break;
    case VT_BSTR: out << "BSTR:\"" << Utf16ToUtf8(v.text()) << '"'; break;
    case VT_ERROR:
      if (v.IsMissing()) return "missing";
      out << "ERROR:" << std::hex << static_cast<std::uint32_t>(v.scode());
      break;
    default: out << "VT" << v.type(); break;
  }
  return out.str();
}

class RecordingServer::Object : public Dispatch {
 public:
  Object(RecordingServer* server, std::string path) : server_(server), path_(std::move(path)) {}

  std::uint32_t AddRef() override { return ++references; }
  std::uint32_t Release() override { return --references; }

  HResult GetIdOfName(std::u16string_view name, Lcid lcid, DispId* id) override {
    server_->lcids.push_back(lcid);
    const std::string member = Utf16ToUtf8(name);
    if (member.empty()) return DISP_E_UNKNOWNNAME;
    if (const Script* s = server_->Find(path_, Lower(member)); s && s->failure == DISP_E_UNKNOWNNAME)
      return DISP_E_UNKNOWNNAME;
    for (std::size_t i = 0; i < names_.size(); ++i) {
      if (names_[i] == member) {
        *id = static_cast<DispId>(i + 1);
        return S_OK;
      }
    }
    names_.push_back(member);
    *id = static_cast<DispId>(names_.size());
    return S_OK;
  }

  HResult DescribeMember(DispId id, InvokeKind kind, MemberDescription* description) override {
    if (id == DISPID_VALUE) return DISP_E_MEMBERNOTFOUND;
    const Script* s = ScriptOf(id);
    if (s && s->kinds && !(s->kinds & kind)) return DISP_E_MEMBERNOTFOUND;
    description->parameter_types = {};
    if (s && s->typed) description->parameter_types = s->types;
    return S_OK;
  }

  HResult Invoke(DispId id, Lcid lcid, InvokeKind kind, DispParams& params,
                 Variant* result) override {
    // The objects have no default member, so a value wanted from an object
    // (a type change) fails here without a call to record.
    if (id == DISPID_VALUE) return DISP_E_MEMBERNOTFOUND;
    server_->lcids.push_back(lcid);
    const std::string& member = names_.at(static_cast<std::size_t>(id - 1));
    std::string line = path_ + " " + KindName(kind) + " " + member + "(";
    const bool named_put = params.named_ids.size() == 1 && params.named_ids[0] == DISPID_PROPERTYPUT;
    const std::size_t positional = params.args.size() - (named_put ? 1 : 0);
    for (std::size_t i = 0; i < positional; ++i) {
      if (i) line += ", ";
      line += Describe(params.args[params.args.size() - 1 - i]);
    }
    line += ")";
    if (named_put) line += " = " + Describe(params.args[0]);
    else if (!params.named_ids.empty()) line += " [named?]";
    server_->log.push_back(line);

    const Script* s = ScriptOf(id);
    if (s && s->failure) return s->failure;
    if (s && s->write_failure && (kind & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF))) return s->write_failure;
    if (!result) return S_OK;
    if (s && s->has_value) {
      *result = s->value;
    } else if (kind == DISPATCH_PROPERTYGET || kind == DISPATCH_METHOD) {
      *result = Variant::Object(server_->NewObject(path_ + "." + member));
    }
    return S_OK;
  }

  HResult Run() override { return server_->run_status_; }

  const std::string& path() const { return path_; }
  std::uint32_t references = 0;

 private:
  const Script* ScriptOf(DispId id) const {
    return server_->Find(path_, Lower(names_.at(static_cast<std::size_t>(id - 1))));
  }

  RecordingServer* server_;
  std::string path_;
  std::vector<std::string> names_;
};

RecordingServer::RecordingServer() { NewObject("Application"); }
RecordingServer::~RecordingServer() = default;

Dispatch* RecordingServer::root() { return objects_.front().get(); }

RecordingServer::Object* RecordingServer::NewObject(std::string path) {
  objects_.push_back(std::make_unique<Object>(this, std::move(path)));
  return objects_.back().get();
}

const RecordingServer::Script* RecordingServer::Find(const std::string& object_path,
                                                     const std::string& lower_member) const {
  if (auto it = scripts_.find(Lower(object_path) + "." + lower_member); it != scripts_.end())
    return &it->second;
  if (auto it = scripts_.find(lower_member); it != scripts_.end()) return &it->second;
  return nullptr;
}

void RecordingServer::Answer(const std::string& member, Variant value) {
  Script& s = scripts_[Lower(member)];
  s.has_value = true;
  s.value = std::move(value);
}

void RecordingServer::Fail(const std::string& member, HResult status) {
  scripts_[Lower(member)].failure = status;
}

void RecordingServer::FailWrites(const std::string& member, HResult status) {
  scripts_[Lower(member)].write_failure = status;
}

void RecordingServer::Kinds(const std::string& member, InvokeKind kinds) {
  scripts_[Lower(member)].kinds = kinds;
}

void RecordingServer::Types(const std::string& member, std::vector<VarType> types) {
  Script& s = scripts_[Lower(member)];
  s.typed = true;
  s.types = std::move(types);
}

std::uint32_t RecordingServer::OutstandingReferences() const {
  std::uint32_t total = 0;
  for (std::size_t i = 1; i < objects_.size(); ++i) total += objects_[i]->references;
  return total;
}

std::uint32_t RecordingServer::RootReferences() const { return objects_.front()->references; }

}  // namespace varnex::testing
