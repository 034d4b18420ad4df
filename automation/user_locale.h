#pragma once

#include "automation/dispatch.h"

namespace varnex::automation {

// The user's default locale id, passed with every automation call. Off
// Windows it is Simplified Chinese, the locale the workbooks are kept in.
Lcid UserDefaultLcid();

}  // namespace varnex::automation
