// What every pointer a manager hands out must point into: its current
// databases, classes and materials.
#pragma once

#include <kxtmat/kxtmat.h>

#include <gtest/gtest.h>

namespace kxt::test {

// The database list is a prefix of [native, DIN, custom databases in order],
// every class of those databases points to its database and every material to
// its class, every link and every favourite is a material of them. Pointers are compared
// before any is followed.
::testing::AssertionResult HoldsOnlyLiveObjects(kxtMaterialDBsManager& manager);

}  // namespace kxt::test
