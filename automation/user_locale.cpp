#include "automation/user_locale.h"

namespace varnex::automation {

Lcid UserDefaultLcid() { return LOCALE_ZH_CN; }

}  // namespace varnex::automation
