# Numbers are also read under a locale whose decimal separator is a comma:
# compiled into the build folder and found through LOCPATH, so that the
# system's locales stay as they are. localedef exits with 1 when it only warns.
set(comma_locale_dir ${CMAKE_CURRENT_BINARY_DIR}/locales)
set(comma_locale ${comma_locale_dir}/de_DE.UTF-8)
find_program(KXTMAT_LOCALEDEF localedef REQUIRED)
add_custom_command(OUTPUT ${comma_locale}/LC_NUMERIC
  COMMAND ${CMAKE_COMMAND} -E make_directory ${comma_locale_dir}
  COMMAND sh -c "'${KXTMAT_LOCALEDEF}' -i de_DE -f UTF-8 '${comma_locale}' || test -f '${comma_locale}/LC_NUMERIC'"
  COMMENT "Compiling the de_DE.UTF-8 locale for the number tests"
  VERBATIM)
add_custom_target(kxtmat_comma_locale DEPENDS ${comma_locale}/LC_NUMERIC)

kxtmat_add_test(xml_readers_test
  SOURCES xml_readers_library_test.cpp xml_readers_process_test.cpp
          support/temp_dir.cpp support/resource_module.cpp
  LIBS kxtmat_xml
  ENV LOCPATH=${comma_locale_dir})
add_dependencies(xml_readers_test kxtmat_comma_locale)
# Windows has a locale with a decimal comma of its own.
target_compile_definitions(xml_readers_test PRIVATE KXTMAT_COMMA_LOCALE="$<IF:$<PLATFORM_ID:Windows>,German_Germany.1252,de_DE.UTF-8>")
# The process reader tests load the English stand-in resource module.
if(TARGET kxTerraMatResU_english)
  add_dependencies(xml_readers_test kxTerraMatResU_english)
endif()
