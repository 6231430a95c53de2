# One library per subsystem folder, with the folders it may use declared beside it. The
# same declarations feed the include check of the tests (cmake/check_layering.py), so that
# the build and the check cannot disagree about the layering; docs/layering.md explains it.

set_property(GLOBAL PROPERTY SETUP_LAYERING_RULES "")

# Records that the code in `path` (a folder or a single file) may include from the folders or
# files listed after ALLOWS, and from whatever those folders may include in turn.
function(setup_include_rule path)
  cmake_parse_arguments(PARSE_ARGV 1 RULE "" "" "ALLOWS")
  list(JOIN RULE_ALLOWS " " allowed)
  set_property(GLOBAL APPEND PROPERTY SETUP_LAYERING_RULES "${path}: ${allowed}")
endfunction()

# The library "setup_<folder>" ("/" becomes "_") of the C++ sources directly in the folder,
# linked to the libraries of the subsystems it depends on. A folder without sources yet gets
# an interface library, so that a subsystem's first file needs no edit here.
function(setup_subsystem folder)
  cmake_parse_arguments(PARSE_ARGV 1 SUB "" "" "DEPENDS")
  string(REPLACE "/" "_" name "${folder}")
  file(GLOB sources CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/${folder}/*.cpp")
  if(sources)
    add_library(setup_${name} STATIC ${sources})
    set(scope PUBLIC)
  else()
    add_library(setup_${name} INTERFACE)
    set(scope INTERFACE)
  endif()
  target_include_directories(setup_${name} ${scope} ${PROJECT_SOURCE_DIR})
  foreach(dependency IN LISTS SUB_DEPENDS)
    string(REPLACE "/" "_" dependency_name "${dependency}")
    target_link_libraries(setup_${name} ${scope} setup_${dependency_name})
  endforeach()
  setup_include_rule(${folder} ALLOWS ${SUB_DEPENDS})
endfunction()

# Writes the recorded rules for the include check.
function(setup_write_layering file)
  get_property(rules GLOBAL PROPERTY SETUP_LAYERING_RULES)
  list(JOIN rules "\n" text)
  file(WRITE "${file}" "${text}\n")
endfunction()
