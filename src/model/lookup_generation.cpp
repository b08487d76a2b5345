#include "model/lookup_generation.h"

namespace kxt::model::detail {

std::atomic<std::uint64_t> gLookupGeneration{0};

}  // namespace kxt::model::detail
