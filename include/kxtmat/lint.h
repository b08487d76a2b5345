// Checks of the files an installation loads: what the loaders skip, default
// or refuse, reported by the loaders themselves while a check runs. A normal
// load reports nothing and pays nothing for these checks.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "kxtmat/export.h"
#include "kxtmat/material_dbs_manager.h"

// One finding of a check.
struct kxtLintFinding {
    std::u16string file;      // the path as given, or as the loader forms it
    unsigned int line = 0;    // 1-based; 0 when the finding has no position
    unsigned int column = 0;  // 1-based, in characters of the decoded text; 0 with line 0
    bool error = false;       // an error (the file does not load) rather than a warning
    std::string code;         // "not-well-formed", "duplicate-material", ...
    std::u16string message;
    std::optional<std::u16string> className;  // the class of the material concerned, if any
    std::optional<std::u16string> material;   // the material concerned, if any
};

// What a check found.
struct kxtLintReport {
    std::vector<std::u16string> files;      // every file the check read or looked for, once, sorted
    std::vector<kxtLintFinding> findings;  // each once, ordered by file, line, column
};

// Runs manager.UpdateMaterials(files, 0), as the add-in loads an installation,
// and answers what the loaders found in every file they read, cross-file
// findings included (links, DIN partners, process names, favourites).
KXTMAT_API kxtLintReport kxtLintInstallation(kxtMaterialDBsManager& manager, std::vector<std::u16string>& files);

// The kind of file that kxtLintFile takes path for, by its name and, for
// other XML files, by its content: "library" (.kvxmat), "process-settings"
// ("materials process.dat", or XML holding ScenarioSettings), "din-mapping"
// ("DINMaterialsMapper.txt"), "registry" (.reg); empty when none.
KXTMAT_API std::string kxtLintFileKind(const std::u16string& path);

// Checks one file by the rules of its kind, against the databases that
// manager has loaded (links, material entries, DIN partners, favourites); the
// manager's databases are not changed, its favourites are reloaded from a
// registry export. A file of no known kind gives one "unknown-kind" finding.
KXTMAT_API kxtLintReport kxtLintFile(kxtMaterialDBsManager& manager, const std::u16string& path);
