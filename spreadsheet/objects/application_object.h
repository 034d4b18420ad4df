#pragma once

#include <functional>
#include <memory>

#include "automation/dispatch.h"
#include "automation/registry.h"
#include "spreadsheet/application.h"

namespace varnex::spreadsheet::objects {

inline constexpr std::u16string_view kExcelProgId = u"Excel.Application";
inline constexpr automation::ClassId kExcelClassId{0x00024500, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

// The automation face of an application model.
automation::Ref<automation::Dispatch> NewApplicationObject(std::shared_ptr<Application> application);

// Told of every application the registry creates, so that a window can
// attach to it and install its hooks.
using ApplicationCreated = std::function<void(const std::shared_ptr<Application>&)>;

// Registers the embedded spreadsheet as "Excel.Application" (in-process):
// each creation makes a new application reading and writing through `files`.
void RegisterEmbeddedSpreadsheet(ApplicationCreated on_created = {}, WorkbookFiles* files = nullptr);

}  // namespace varnex::spreadsheet::objects
