// `kxtmat lint [FILE...]`: the findings of the module's loaders about the
// given files, or about the whole installation, as compiler-style lines or JSON.
#pragma once

#include "options.h"

namespace kxt::cli {

// Runs the check; returns the exit status: 0 no finding, 1 some finding.
// Throws CliError (exit 2) when a given file cannot be read at all.
int RunLint(const Options& options);

}  // namespace kxt::cli
