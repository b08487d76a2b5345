# kxtmat chart, run as a child process on the sample installation and on a
# library made by the test; its drawing is rendered through libpng's reader
# where the target has libpng (not in a Windows cross build).
find_package(PNG QUIET)
kxtmat_add_test(kxtmat_chart_test SAMPLE
  SOURCES kxtmat_chart_test.cpp support/kxtmat_run.cpp support/registry_hive.cpp support/temp_dir.cpp
  LIBS kxtmat_platform ${KXTMAT_PUGIXML} nlohmann_json::nlohmann_json)
target_compile_definitions(kxtmat_chart_test PRIVATE KXTMAT_CLI="${KXTMAT_TARGET_PATH_PREFIX}$<TARGET_FILE:kxtmat>")
add_dependencies(kxtmat_chart_test kxtmat)
if(PNG_FOUND)
  target_link_libraries(kxtmat_chart_test PRIVATE PNG::PNG)
  target_compile_definitions(kxtmat_chart_test PRIVATE KXTMAT_HAVE_PNG)
endif()
