# kxtmat chart, run as a child process on the sample installation and on a
# library made by the test; its drawing is rendered through libpng's reader.
find_package(PNG REQUIRED)
find_package(nlohmann_json 3.11 REQUIRED)
kxtmat_add_test(kxtmat_chart_test SAMPLE
  SOURCES kxtmat_chart_test.cpp support/kxtmat_run.cpp support/temp_dir.cpp
  LIBS kxtmat_platform ${KXTMAT_PUGIXML} PNG::PNG nlohmann_json::nlohmann_json)
target_compile_definitions(kxtmat_chart_test PRIVATE KXTMAT_CLI="$<TARGET_FILE:kxtmat>")
add_dependencies(kxtmat_chart_test kxtmat)
