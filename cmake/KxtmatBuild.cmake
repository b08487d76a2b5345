# Compiler settings shared by every target of the project, and the helper
# that declares one internal area (a static library of one src/ folder).

option(KXTMAT_WERROR "Treat compiler warnings as errors" OFF)
set(KXTMAT_SANITIZE "" CACHE STRING "Sanitizers to build with, e.g. address;undefined")

set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
set(CMAKE_CXX_VISIBILITY_PRESET hidden)
set(CMAKE_VISIBILITY_INLINES_HIDDEN ON)

add_library(kxtmat_warnings INTERFACE)
if(MSVC)
  target_compile_options(kxtmat_warnings INTERFACE /W4 $<$<BOOL:${KXTMAT_WERROR}>:/WX>)
else()
  target_compile_options(kxtmat_warnings INTERFACE -Wall -Wextra -Wpedantic $<$<BOOL:${KXTMAT_WERROR}>:-Werror>)
endif()

if(KXTMAT_SANITIZE)
  list(JOIN KXTMAT_SANITIZE "," _kxtmat_sanitizers)
  add_compile_options(-fsanitize=${_kxtmat_sanitizers} -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=${_kxtmat_sanitizers})
endif()

set(KXTMAT_AREAS "" CACHE INTERNAL "Internal areas, in dependency order")

# kxtmat_area(NAME [DEPENDS targets...] [SOURCES files...])
# Declares the static library kxtmat_<NAME> from the .cpp files of the current
# folder (or the SOURCES given). Every area sees include/ and src/; tests link
# the areas they exercise directly, the module links them all.
function(kxtmat_area name)
  cmake_parse_arguments(ARG "" "" "DEPENDS;SOURCES" ${ARGN})
  if(NOT ARG_SOURCES)
    file(GLOB ARG_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  endif()
  set(target kxtmat_${name})
  if(ARG_SOURCES)
    add_library(${target} STATIC ${ARG_SOURCES})
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/include ${PROJECT_SOURCE_DIR}/src)
    target_compile_definitions(${target} PUBLIC KXTMAT_BUILDING)
    target_link_libraries(${target} PUBLIC ${ARG_DEPENDS} PRIVATE kxtmat_warnings)
    set(KXTMAT_AREAS ${KXTMAT_AREAS} ${target} CACHE INTERNAL "")
  else()
    # An area without sources yet: an interface target keeps the links valid.
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${PROJECT_SOURCE_DIR}/include ${PROJECT_SOURCE_DIR}/src)
    target_compile_definitions(${target} INTERFACE KXTMAT_BUILDING)
    target_link_libraries(${target} INTERFACE ${ARG_DEPENDS})
  endif()
endfunction()
