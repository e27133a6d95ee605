# Fails on any #include "..." in src/ and tools/ that points up or sideways
# in the layering: each folder of ours may include itself and the folders
# that its row below names, nothing else.
# -DROOT=<the tree that holds src/ and tools/>
#
# A folder is named by its path below src/ ("platform/linux/x11") or, for a
# tool, below the tree ("tools/orvanectl"). "X/*" names every folder below X.
# An include without a folder ("Command.h") is the including folder's own,
# or the library's public header in devlib/include.
cmake_minimum_required(VERSION 3.25)

set(allowed
  "version:"
  "buttons:"
  "profile: buttons platform"
  "macros: profile buttons"
  "protocol:"
  "protocol/image: protocol profile buttons"
  "platform: protocol"
  "platform/linux/hidapi: platform"
  "platform/linux/udev: platform"
  "platform/linux/uhid: platform"
  "platform/linux/x11: platform"
  "platform/linux/gnome: platform"
  "platform/linux/kde: platform"
  "platform/linux/session: platform"
  "platform/linux/lockfile: platform"
  "platform/linux/files: platform"
  "platform/linux/probe: platform"
  "platform/qt: platform platform/linux/session"
  "platform/virtual: platform"
  "platform/selection: platform platform/linux/hidapi platform/linux/udev platform/virtual"
  "platform/desktop: platform platform/linux/gnome platform/linux/kde platform/linux/x11"
  "device: protocol protocol/image platform profile buttons"
  "devlib/include:"
  "devlib: devlib/include version protocol platform platform/selection buttons"
  "emulator: protocol protocol/image platform platform/virtual profile buttons"
  "emulator/daemon: emulator protocol platform platform/virtual platform/linux/uhid profile"
  "emulator/tool: emulator protocol platform platform/virtual profile"
  "skins:"
  "controls: skins platform buttons"
  "pages: controls skins profile"
  "pages/mouse: pages controls skins device platform macros profile protocol protocol/image buttons"
  "pages/sensor: pages controls skins device platform macros profile protocol protocol/image buttons"
  "pages/lighting: pages controls skins device platform macros profile protocol protocol/image buttons"
  "pages/macro: pages controls skins device platform macros profile protocol protocol/image buttons"
  "pages/support: pages controls skins device platform macros profile protocol protocol/image buttons version"
  "app: pages pages/* controls skins device devlib/include version platform platform/* macros profile protocol protocol/image buttons"
  "updater: controls skins platform platform/qt platform/linux/lockfile protocol devlib/include version"
  "tools/firmware-image: platform protocol"
  "tools/orvanectl: devlib/include version macros profile protocol protocol/image buttons platform platform/selection platform/desktop platform/linux/x11 platform/linux/probe"
  "tools/skin-gen: skins"
  "tools/ui-gallery: app updater pages pages/* controls skins device emulator platform platform/* macros profile protocol protocol/image buttons"
)

if(NOT ROOT OR NOT IS_DIRECTORY "${ROOT}/src")
  message(FATAL_ERROR "usage: cmake -DROOT=<tree with src/> -P check-includes.cmake")
endif()

get_filename_component(ROOT "${ROOT}" ABSOLUTE)
set(units)
foreach(row IN LISTS allowed)
  string(REGEX MATCH "^[^:]+" unit "${row}")
  string(REGEX REPLACE "^[^:]+:[ ]*" "" targets "${row}")
  string(REPLACE " " ";" targets "${targets}")
  set(allowed_${unit} ${targets})
  list(APPEND units ${unit})
endforeach()

# True in `result` when `unit` may include from `target`.
function(may_include unit target result)
  set(${result} FALSE PARENT_SCOPE)
  if(unit STREQUAL target)
    set(${result} TRUE PARENT_SCOPE)
    return()
  endif()
  foreach(entry IN LISTS allowed_${unit})
    if(entry STREQUAL target)
      set(${result} TRUE PARENT_SCOPE)
      return()
    endif()
    if(entry MATCHES "^(.*)/\\*$")
      string(LENGTH "${CMAKE_MATCH_1}/" prefixLength)
      string(SUBSTRING "${target}" 0 ${prefixLength} prefix)
      if(prefix STREQUAL "${CMAKE_MATCH_1}/")
        set(${result} TRUE PARENT_SCOPE)
        return()
      endif()
    endif()
  endforeach()
endfunction()

file(GLOB_RECURSE sources RELATIVE "${ROOT}" "${ROOT}/src/*.h" "${ROOT}/src/*.cpp"
     "${ROOT}/src/*.h.in" "${ROOT}/tools/*.h" "${ROOT}/tools/*.cpp")
list(SORT sources)
set(violations)
set(checked 0)
foreach(source IN LISTS sources)
  get_filename_component(folder "${source}" DIRECTORY)
  if(folder MATCHES "^src/(.*)$")
    set(unit "${CMAKE_MATCH_1}")
  else()
    set(unit "${folder}")
  endif()
  if(NOT unit IN_LIST units)
    list(APPEND violations "${source}: its folder ${unit} has no row in the table")
    continue()
  endif()
  file(STRINGS "${ROOT}/${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[^\"]*\"([^\"]+)\".*$" "\\1" path "${line}")
    get_filename_component(target "${path}" DIRECTORY)
    if(target STREQUAL "")
      if(EXISTS "${ROOT}/${folder}/${path}")
        set(target "${unit}")
      elseif(EXISTS "${ROOT}/src/devlib/include/${path}")
        set(target "devlib/include")
      else()
        list(APPEND violations "${source}: includes \"${path}\", which is not of this tree")
        continue()
      endif()
    elseif(NOT target IN_LIST units)
      if(IS_DIRECTORY "${ROOT}/src/${target}")
        list(APPEND violations "${source}: includes ${path} from ${target}, which has no row")
      endif()
      continue()
    endif()
    math(EXPR checked "${checked} + 1")
    may_include("${unit}" "${target}" ok)
    if(NOT ok)
      list(APPEND violations "${source}: includes ${path}, but ${unit} may not include ${target}")
    endif()
  endforeach()
endforeach()

if(violations)
  list(JOIN violations "\n  " text)
  message(FATAL_ERROR "includes against the layering:\n  ${text}")
endif()
list(LENGTH sources files)
message(STATUS "${checked} includes of ${files} files follow the layering")
