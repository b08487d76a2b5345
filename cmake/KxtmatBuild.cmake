# Compiler settings shared by every target of the project, and the helper
# that declare the internal areas (an object library per src/ folder).

option(KXTMAT_WERROR "Treat compiler warnings as errors" OFF)
set(KXTMAT_SANITIZE "" CACHE STRING "Sanitizers to build with, e.g. address;undefined")

set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
set(CMAKE_CXX_VISIBILITY_PRESET hidden)
set(CMAKE_VISIBILITY_INLINES_HIDDEN ON)
# A DLL is named as Windows knows it ("kxTerraU.dll"), without GCC's "lib".
if(WIN32)
  set(CMAKE_SHARED_LIBRARY_PREFIX "")
endif()

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

# kxtmat_area(NAME SOURCES files... [HEADERS files...] [DEPENDS targets...])
# Declares the object library kxtmat_<NAME>: one src/ folder, compiled once
# as part of the module. Its sources see include/ and src/; HEADERS are the
# headers it offers to other areas and to the tests (named from src/).
# DEPENDS names the areas and libraries its code calls.
function(kxtmat_area name)
  cmake_parse_arguments(ARG "" "" "DEPENDS;SOURCES;HEADERS" ${ARGN})
  set(target kxtmat_${name})
  add_library(${target} OBJECT ${ARG_SOURCES})
  target_include_directories(${target}
    PUBLIC ${PROJECT_SOURCE_DIR}/include
    PRIVATE ${PROJECT_SOURCE_DIR}/src)
  if(ARG_HEADERS)
    target_sources(${target} PUBLIC FILE_SET HEADERS BASE_DIRS ${PROJECT_SOURCE_DIR}/src FILES ${ARG_HEADERS})
  endif()
  target_compile_definitions(${target} PRIVATE KXTMAT_BUILDING)
  target_compile_features(${target} PUBLIC cxx_std_20)
  target_link_libraries(${target} PUBLIC ${ARG_DEPENDS} PRIVATE kxtmat_warnings)
  set_property(GLOBAL APPEND PROPERTY KXTMAT_AREAS ${target})
  set_property(GLOBAL PROPERTY KXTMAT_AREA_DEPENDS_${target} ${ARG_DEPENDS})
endfunction()

# kxtmat_area_closure(OUT targets...): the areas among targets and every area
# they depend on, each once. A program links all of them itself: the objects
# of an object library reach only the targets that link it directly.
function(kxtmat_area_closure out)
  get_property(areas GLOBAL PROPERTY KXTMAT_AREAS)
  set(result "")
  set(pending ${ARGN})
  while(pending)
    list(POP_FRONT pending item)
    if(item IN_LIST areas AND NOT item IN_LIST result)
      list(APPEND result ${item})
      get_property(depends GLOBAL PROPERTY KXTMAT_AREA_DEPENDS_${item})
      list(APPEND pending ${depends})
    endif()
  endwhile()
  set(${out} ${result} PARENT_SCOPE)
endfunction()

# kxtmat_link(TARGET VISIBILITY libraries...): links the libraries, each area
# among them with the areas it depends on.
function(kxtmat_link target visibility)
  kxtmat_area_closure(areas ${ARGN})
  set(others ${ARGN})
  get_property(all_areas GLOBAL PROPERTY KXTMAT_AREAS)
  list(REMOVE_ITEM others ${all_areas})
  target_link_libraries(${target} ${visibility} ${areas} ${others})
endfunction()
