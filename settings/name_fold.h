#pragma once

#include <string>
#include <string_view>

namespace horatta {

// Key and value names compare without regard to case, as the registry's do. Only ASCII
// letters fold, so a stored name matches the same way whatever the user's locale.
std::string foldName(std::string_view name);

}  // namespace horatta
