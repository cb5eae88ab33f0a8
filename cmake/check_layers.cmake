# Checks that runtime/ and forms/ (their tests and fuzz targets included) never reach the real
# platform: no include of platform/posix/, platform/win32/, platform/qt/ or
# platform/fs/real_file_system.h, and no CMake file there that names sr_posix, sr_native_fs, an
# sr_win32 library, an sr_qt library or Qt. Only the programs, the tools, the benchmarks and the
# tests above those layers pick the real file system or Qt.
#
#   cmake -DSOURCE_DIR=<source folder> -P cmake/check_layers.cmake
set(found "")
foreach(layer runtime forms)
  file(GLOB_RECURSE sources ${SOURCE_DIR}/${layer}/*.h ${SOURCE_DIR}/${layer}/*.cpp)
  foreach(source ${sources})
    file(STRINGS ${source} lines REGEX
         "^[ \t]*#[ \t]*include[ \t]*[<\"](platform/(posix|win32|qt)/|platform/fs/real_file_system[.]h)")
    foreach(line ${lines})
      list(APPEND found "${source}: ${line}")
    endforeach()
  endforeach()
  file(GLOB_RECURSE build_files ${SOURCE_DIR}/${layer}/CMakeLists.txt ${SOURCE_DIR}/${layer}/*.cmake)
  foreach(build_file ${build_files})
    file(STRINGS ${build_file} lines REGEX "sr_posix|sr_native_fs|sr_win32|sr_qt|Qt6?::")
    foreach(line ${lines})
      list(APPEND found "${build_file}: ${line}")
    endforeach()
  endforeach()
endforeach()
if(found)
  list(JOIN found "\n" report)
  message(FATAL_ERROR "runtime/ or forms/ reaches the real platform:\n${report}")
endif()
