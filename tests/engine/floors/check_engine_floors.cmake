# Fails, naming the file and the include, when a floor of the engine includes a floor above it.
# The interface headers (engine/h3d.h, engine/h3dut.h) hold declarations and identifiers only:
# every floor may use their identifiers, and they include nothing of the engine themselves.
#   cmake -DENGINE_DIR=<path to engine/> -P check_engine_floors.cmake
if(NOT ENGINE_DIR)
  message(FATAL_ERROR "ENGINE_DIR is not set")
endif()

# Lowest first: a floor may include its own folder and those before it in this list.
set(floors base formats gpu resources scene render core api)

file(GLOB_RECURSE engine_files RELATIVE "${ENGINE_DIR}" "${ENGINE_DIR}/*.h" "${ENGINE_DIR}/*.cpp")
set(violations "")
foreach(file IN LISTS engine_files)
  string(REGEX MATCH "^[^/]+" floor "${file}")
  list(FIND floors "${floor}" floor_rank)
  if(floor_rank EQUAL -1 AND NOT file MATCHES "^h3d(ut)?\\.h$")
    string(APPEND violations "  ${file}: lies in no floor (${floors})\n")
    continue()
  endif()
  file(STRINGS "${ENGINE_DIR}/${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]+\"engine/")
  foreach(line IN LISTS includes)
    string(REGEX MATCH "\"engine/([^\"]+)\"" _ "${line}")
    set(included "${CMAKE_MATCH_1}")
    if(included MATCHES "^h3d(ut)?\\.h$")
      if(floor_rank EQUAL -1)
        string(APPEND violations "  ${file}: includes engine/${included}; the interface includes nothing of the engine\n")
      endif()
      continue()
    endif()
    string(REGEX MATCH "^[^/]+" included_floor "${included}")
    list(FIND floors "${included_floor}" included_rank)
    if(floor_rank EQUAL -1 OR included_rank EQUAL -1 OR included_rank GREATER floor_rank)
      string(APPEND violations "  ${file}: includes engine/${included}, a floor above ${floor}\n")
    endif()
  endforeach()
endforeach()

if(violations)
  message(FATAL_ERROR "The engine's floors are crossed upwards:\n${violations}")
endif()
list(LENGTH engine_files checked)
message(STATUS "Engine floors kept in ${checked} files")
