# kxtmat on Windows (under the emulator, on the Windows build's sample) and on
# Linux (on the Linux build's sample) gives the same answers to every command
# of the README with --json, once each sample's path is replaced by
# "<sample>" and Windows' separators by "/".
# Inputs: WINDOWS_KXTMAT, WINDOWS_SAMPLE (as Windows names it), EMULATOR,
# LINUX_KXTMAT, LINUX_SAMPLE.
cmake_minimum_required(VERSION 3.25)
if(NOT EXISTS "${LINUX_KXTMAT}")
  message(FATAL_ERROR "no Linux kxtmat at ${LINUX_KXTMAT}: build the default preset first")
endif()

# Windows reads the favourites from the registry: the sample's export goes in.
execute_process(COMMAND ${EMULATOR} reg import "${WINDOWS_SAMPLE}/registry.reg" RESULT_VARIABLE imported
                OUTPUT_QUIET ERROR_QUIET)
if(NOT imported EQUAL 0)
  message(FATAL_ERROR "cannot import the sample's registry export")
endif()

# Each command's words, separated by "|".
set(commands
  "summary"
  "show|AISI 304 Stainless Steel"
  "show|1.4301|--library|korvex din materials"
  "find|Acier inoxydable AISI 304|--language|french"
  "list|--library|my materials"
  "processes|Fastener Stainless"
  "map|lang|Stainless Steel|AISI 304 Stainless Steel|--language|german"
  "gabi|Stainless Steel|AISI 304 Stainless Steel|Milled"
  "common|Steel|Stainless Steel"
  "search|--library|korvex materials|--where|DENS~8000|YLD>200000000|--exclude|AISI 304 Stainless Steel"
  "search|--library|korvex materials|--class|Plastics|--where|Material Cost<3"
  "chart|DENS|EMOD"
  "chart|Material Cost|UTS|--class|Steel|--class|Plastics|--linear")

# The answer with the sample's path, in either case, as "<sample>".
function(normalised out sample text)
  string(REPLACE "\\\\" "/" text "${text}")
  string(REPLACE "\\" "/" sample "${sample}")
  string(TOLOWER "${sample}" lower)
  string(REPLACE "${sample}" "<sample>" text "${text}")
  string(REPLACE "${lower}" "<sample>" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

set(failures "")
foreach(command IN LISTS commands)
  string(REPLACE "|" ";" arguments "${command}")
  execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=KXT_LANGUAGE --unset=KXT_REGISTRY_FILE
                          ${EMULATOR} ${WINDOWS_KXTMAT} --json ${arguments}
                  OUTPUT_VARIABLE windows RESULT_VARIABLE windows_exit ERROR_VARIABLE windows_err)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=KXT_LANGUAGE --unset=KXT_REGISTRY_FILE
                          ${LINUX_KXTMAT} --json ${arguments}
                  OUTPUT_VARIABLE linux RESULT_VARIABLE linux_exit ERROR_VARIABLE linux_err)
  normalised(windows "${WINDOWS_SAMPLE}" "${windows}")
  normalised(linux "${LINUX_SAMPLE}" "${linux}")
  if(NOT windows_exit EQUAL linux_exit OR NOT windows STREQUAL linux OR linux STREQUAL "")
    string(APPEND failures "kxtmat --json ${arguments}: exit ${windows_exit} on Windows, ${linux_exit} on Linux\n"
                           "--- Windows:\n${windows}${windows_err}\n--- Linux:\n${linux}${linux_err}\n")
  endif()
endforeach()
if(failures)
  message(FATAL_ERROR "${failures}")
endif()
list(LENGTH commands count)
message(STATUS "${count} commands answer the same on Windows and Linux")
