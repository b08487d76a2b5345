#include "model/shared_defaults.h"

namespace kxt::model {

const std::u16string& SharedEmptyString() noexcept {
    static const std::u16string empty;
    return empty;
}

kxtMatPhysProp& SharedDefaultProperty() noexcept {
    static kxtMatPhysProp property;
    return property;
}

}  // namespace kxt::model
