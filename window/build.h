#pragma once

namespace horatta {

// The two programs built from one source: horatta with masked time fields, horatta-t
// with plain time fields and its own key filter.
enum class Build { Masked, Plain };

}  // namespace horatta
