// Stand-in for the add-in's installation module: only its location matters
// (the installation folder is the folder it was loaded from), so it exports
// nothing.
namespace {
[[maybe_unused]] const char kModuleRole[] = "installation marker";
}  // namespace
