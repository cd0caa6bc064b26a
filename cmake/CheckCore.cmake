# cmake -DVRAX_SOURCE_DIR=<dir> -P CheckCore.cmake: the core's include gate, run at every build.
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/VraxLayout.cmake)
vrax_check_core(${VRAX_SOURCE_DIR})
