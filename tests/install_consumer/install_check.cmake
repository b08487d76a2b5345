# Installs the build into a fresh prefix, builds the consumer against it and runs it.
# Inputs: BUILD_DIR, SOURCE_DIR, WORK_DIR, GENERATOR, and CXX or (cross builds)
# TOOLCHAIN and EMULATOR; PROGRAMS, the consumers to run (default: both).
file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)
if(NOT PROGRAMS)
  set(PROGRAMS consumer_cmake consumer_pkgconfig)
endif()

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "failed: ${ARGN}\n${out}")
  endif()
endfunction()

run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
if(TOOLCHAIN)
  set(compiler -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN} -Dkxtmat_DIR=${prefix}/lib/cmake/kxtmat -DKXTMAT_CONSUMER_PROGRAMS=${PROGRAMS})
else()
  set(compiler -DCMAKE_CXX_COMPILER=${CXX})
endif()
run(${CMAKE_COMMAND} -S ${SOURCE_DIR}/tests/install_consumer -B ${WORK_DIR}/consumer -G ${GENERATOR}
    ${compiler} -DCMAKE_PREFIX_PATH=${prefix})
run(${CMAKE_COMMAND} --build ${WORK_DIR}/consumer)
foreach(program IN LISTS PROGRAMS)
  if(EMULATOR)
    # The program finds the installed DLL beside it, as a Windows program does.
    file(COPY ${prefix}/bin/kxTerraMatU.dll DESTINATION ${WORK_DIR}/consumer)
    run(${EMULATOR} ${WORK_DIR}/consumer/${program}.exe)
  else()
    run(${CMAKE_COMMAND} -E env LD_LIBRARY_PATH=${prefix}/lib ${WORK_DIR}/consumer/${program})
  endif()
endforeach()
