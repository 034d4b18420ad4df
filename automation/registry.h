#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "automation/dispatch.h"

// The class registry: ProgID to class id to factory, as the system's
// registry and CoCreateInstance offer them. Off Windows the embedded
// spreadsheet registers itself here; tests register fakes.
namespace varnex::automation {

struct ClassId {
  std::uint32_t data1 = 0;
  std::uint16_t data2 = 0;
  std::uint16_t data3 = 0;
  std::array<std::uint8_t, 8> data4{};
  friend bool operator==(const ClassId&, const ClassId&) = default;
};

// Server contexts, with COM's values.
inline constexpr std::uint32_t CLSCTX_INPROC_SERVER = 0x1;
inline constexpr std::uint32_t CLSCTX_INPROC_HANDLER = 0x2;
inline constexpr std::uint32_t CLSCTX_LOCAL_SERVER = 0x4;
inline constexpr std::uint32_t CLSCTX_REMOTE_SERVER = 0x10;
inline constexpr std::uint32_t CLSCTX_ALL =
    CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;

// Makes a new object for the server contexts asked for, or says why not.
using ClassFactory = std::function<HResult(std::uint32_t context, Ref<Dispatch>* object)>;

class ClassRegistry {
 public:
  // A later registration of the same ProgID replaces the earlier one.
  void Register(std::u16string_view prog_id, const ClassId& clsid, ClassFactory factory);
  void Unregister(std::u16string_view prog_id);

  // CO_E_CLASSSTRING when the ProgID is not registered (matched without
  // regard to case, as registry keys are).
  HResult ClsidFromProgId(std::u16string_view prog_id, ClassId* clsid) const;

  // REGDB_E_CLASSNOTREG for an unknown class; otherwise the factory's word.
  HResult CreateInstance(const ClassId& clsid, std::uint32_t context, Ref<Dispatch>* object) const;

 private:
  struct Entry {
    std::u16string prog_id;
    ClassId clsid;
    ClassFactory factory;
  };
  mutable std::mutex mutex_;
  std::vector<Entry> entries_;
};

// The process's registry.
ClassRegistry& Classes();

// The platform calls CreateApp makes, over the process's registry.
HResult CLSIDFromProgID(std::u16string_view prog_id, ClassId* clsid);
HResult CoCreateInstance(const ClassId& clsid, std::uint32_t context, Ref<Dispatch>* object);
HResult OleRun(Dispatch* object);

}  // namespace varnex::automation
