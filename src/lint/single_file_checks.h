// The checks of one file by its kind, each run by the loader of that kind
// against copies of a loaded manager's databases. Findings go to the
// installed sink.
#pragma once

#include <string>

#include <kxtmat/kxtmat.h>

namespace kxt::lint {

// The kind of the file (see kxtLintFileKind); empty when none.
std::string FileKind(const std::u16string& path);

// For a file of no known kind: whether it is meant as XML (a byte-order mark,
// or '<' first after white space) and fails to load, reported as the loader
// reports it.
bool IsBrokenXml(const std::u16string& path);

// Reads a material library as the manager reads one of its name: the
// standard, DIN or extras library, or a custom one linked to the manager's
// standard and extras databases.
void CheckLibrary(kxtMaterialDBsManager& manager, const std::u16string& path);
// Applies process settings to copies of the standard and extras databases.
void CheckProcessSettings(kxtMaterialDBsManager& manager, const std::u16string& path);
// Applies a DIN mapping to copies of the standard and DIN databases.
void CheckDinMapping(kxtMaterialDBsManager& manager, const std::u16string& path);
// Loads the manager's favourites from a registry export.
void CheckRegistry(kxtMaterialDBsManager& manager, const std::u16string& path);

}  // namespace kxt::lint
