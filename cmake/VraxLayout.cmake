# Which engine sources make the core and which the client around it; read by
# the top CMakeLists.txt and, at build time, by CheckCore.cmake.
#
# The core is everything under src/ that is not listed here: a new file in
# src/world/, src/game/, src/net/, src/script/ or any other folder joins it
# by itself. The core runs without a window, a GL context or a socket, so a
# core file must not include GL, GLU, SDL, SDL_mixer, socket or PNG headers,
# nor the headers of the client files below; CheckCore.cmake fails the build
# when one does.
#
# The client: files that draw, open the window, speak to the sound device or
# touch a socket, and the shell's top that starts them. A new drawing file
# (FTerrainDraw.cpp beside a headless FTerrain.cpp, say) is added here.
set(VRAX_CLIENT_SOURCES
  src/platform/Window.cpp
  src/platform/SdlKeys.cpp
  src/platform/UdpSocket.cpp
  src/platform/AudioMixer.cpp
  src/sound/FSoundMixer.cpp
  src/shell/FGlWindow.cpp
  src/shell/FView.cpp
  src/shell/FOpenGL.cpp
  src/shell/FBase.cpp
  src/shell/FScreenshot.cpp
  src/interface/FDrawFrame.cpp
  src/interface/FTextDraw.cpp
  src/interface/FCursorDraw.cpp
  src/assets/FDisplayDraw.cpp
  src/assets/FTexturesDraw.cpp
  src/assets/FModel.cpp
  src/world/FTerrainDraw.cpp
  src/interaction/FPicking.cpp
  src/net/FUdpNetwork.cpp)

# Neither core nor client: the program's entry, and the PNG writer shared with the tools.
set(VRAX_OTHER_SOURCES src/main.cpp src/platform/Png.cpp)

# What a core file may not include: system headers of the window, drawing,
# sound, socket and image libraries.
set(VRAX_CORE_FORBIDDEN_SYSTEM "^(GL/|SDL|sys/socket\\.h|netinet/|arpa/|png\\.h)")

# vrax_core_files(<source dir> <core sources var> <core headers var> <client headers var>)
function(vrax_core_files root sources_var headers_var client_headers_var)
  file(GLOB_RECURSE sources RELATIVE ${root} ${root}/src/*.cpp)
  file(GLOB_RECURSE headers RELATIVE ${root} ${root}/src/*.h)
  list(REMOVE_ITEM sources ${VRAX_CLIENT_SOURCES} ${VRAX_OTHER_SOURCES})
  # A client file's header (FView.h for FView.cpp) belongs to the client too.
  set(client_headers)
  foreach(file ${VRAX_CLIENT_SOURCES} ${VRAX_OTHER_SOURCES})
    string(REGEX REPLACE "\\.cpp$" ".h" header ${file})
    if(header IN_LIST headers)
      list(APPEND client_headers ${header})
    endif()
  endforeach()
  list(REMOVE_ITEM headers ${client_headers})
  set(${sources_var} ${sources} PARENT_SCOPE)
  set(${headers_var} ${headers} PARENT_SCOPE)
  set(${client_headers_var} ${client_headers} PARENT_SCOPE)
endfunction()

# vrax_check_core(<source dir>): a fatal error naming every core file that
# includes what the core may not.
function(vrax_check_core root)
  vrax_core_files(${root} sources headers client_headers)
  set(offences)
  foreach(file ${sources} ${headers})
    file(STRINGS ${root}/${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    foreach(line ${lines})
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]*)[>\"].*" "\\1" included "${line}")
      set(bad FALSE)
      if(included MATCHES "${VRAX_CORE_FORBIDDEN_SYSTEM}")
        set(bad TRUE)
      endif()
      foreach(client ${client_headers})
        string(REGEX REPLACE "^src/" "" client_include ${client})
        if(included STREQUAL client_include)
          set(bad TRUE)
        endif()
      endforeach()
      if(bad)
        list(APPEND offences "  ${file}: #include ${included}")
      endif()
    endforeach()
  endforeach()
  if(offences)
    list(JOIN offences "\n" text)
    message(FATAL_ERROR "The core may not draw, open windows or sockets, or reach the client:\n${text}\n"
      "Move that part into a drawing or platform file listed in cmake/VraxLayout.cmake, or reach it through a hook.")
  endif()
endfunction()
