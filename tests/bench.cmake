# The synthetic installation generator lives in bench/, which the build adds
# only when Google Benchmark is found.
find_package(benchmark QUIET)
if(benchmark_FOUND AND EXISTS ${PROJECT_SOURCE_DIR}/bench/CMakeLists.txt)
  kxtmat_add_test(bench_generator_test
    SOURCES bench_generator_test.cpp support/temp_dir.cpp
    LIBS kxtmat_bench_generator kxtmat_mapping kxtmat_xml kxtmat_diag kxtmat_platform ${KXTMAT_PUGIXML})
  target_compile_definitions(bench_generator_test PRIVATE
    KXTMAT_RESOURCE_MODULE="${KXTMAT_TARGET_PATH_PREFIX}$<TARGET_FILE:kxTerraMatResU_english>")
  add_dependencies(bench_generator_test kxTerraMatResU_english)
endif()
