# The platform library: what is the same on every system is in src/platform/
# itself; each system's calls are in folders of their own, one source per
# concern, named after the class it implements. A system lists the folders
# it takes; a later folder's source replaces an earlier one's of the same
# name, so a port takes what fits and brings only what differs.
#
# A port adds a branch below with its list (Windows takes "none sdl posix
# windows", posix/ then giving only the clock; the browser "none posix web")
# and provides, in its own folder, each of these that the folders before it
# do not fit:
#   FileSystem        FilePath's questions to the file system, whole-or-nothing writes
#   KnownFolders      home, the player's settings/state/data folders, the program's folder, fonts
#   Environment       reading and setting variables
#   WorkingDirectory  entering a folder
#   SteadyClock       the pacing clock and its sleep
#   CommandLine       the process's words as UTF-8
#   PathSeparators    what ends a path's component, and what a path is built with
#   ConsoleOutput     joining the terminal a windowed program was started from (none/: nothing)
#   QuitSignals       console and termination requests as SDL's quit event
#   ScreenResolution, WindowPlacement   the display's size, putting the window in place
#   HostAudioMessages quieting the host audio libraries (none/: nothing to quiet)
#   StorageSync       handing written files on to lasting storage (none/: the disk is it)
#   Thread, CriticalSection   threads and the lock (sdl/: SDL's threads and semaphores)
#   SystemPointer     the mouse pointer: hidden in play, desktop positions in the
#                     editor (sdl/: a clear image shown; web/: hidden once)
#   PadSystem         how SDL finds gamepads and numbers their controls (none/:
#                     every pad raw; sdl12compat/: SDL 2's database; windows/:
#                     a table of names; web/: the browser's standard layout)
#   FreedMemory       giving the heap's free memory back after a proof (none/:
#                     nothing; glibc/: malloc_trim; windows/: _heapmin)
# and the system libraries those sources need, in BV_PLATFORM_LIBRARIES.
# Where a system also needs other parts of the rooms above, its branch names
# them too: BV_DRAWING_FOLDERS, BV_AUDIO_DEVICE, BV_INPUT_FOLDERS (see the
# top CMakeLists.txt).
# The desktop's choices for those rooms; a branch replaces what differs.
set(BV_DRAWING_FOLDERS sdlimage sdlttf)
set(BV_AUDIO_DEVICE portaudio)
set(BV_INPUT_FOLDERS sdl)
if(NOT BV_PLATFORM_FOLDERS AND EMSCRIPTEN)
  # The page: POSIX files over Emscripten's file system, the canvas for a
  # display, the browser's storage behind the player's folders, and no
  # threads (web/ brings a Thread and a CriticalSection of its own). PNGs
  # decoded by stb_image, no font files, a canvas without alpha; SDL's audio
  # (Web Audio); focus and visibility as the browser's SDL reports them.
  set(BV_PLATFORM_FOLDERS none posix web)
  set(BV_PLATFORM_LIBRARIES)
  set(BV_DRAWING_FOLDERS stb nofonts canvas)
  set(BV_AUDIO_DEVICE sdl)
  set(BV_INPUT_FOLDERS browser)
elseif(NOT BV_PLATFORM_FOLDERS AND WIN32)
  # Windows: the wide-character calls for files, folders, variables and the
  # command line, console events for Ctrl+C; SDL's threads, and POSIX only
  # for the clock, which MinGW's C++ library serves. PNGs decoded by libpng
  # as SDL_image decodes them, no font files (the game draws every word with
  # its bitmap glyphs).
  set(BV_PLATFORM_FOLDERS none sdl posix windows)
  set(BV_PLATFORM_LIBRARIES shell32 ole32 uuid)
  set(BV_DRAWING_FOLDERS libpng nofonts)
elseif(NOT BV_PLATFORM_FOLDERS)
  # Linux: POSIX files and clocks, an X11 display, ALSA (and JACK) under
  # PortAudio, gamepads described by SDL 2 under sdl12-compat, GNU libc's
  # allocator.
  set(BV_PLATFORM_FOLDERS none sdl posix x11 alsa sdl12compat glibc)
  set(BV_PLATFORM_LIBRARIES BV::X11 BV::ALSA ${CMAKE_DL_LIBS})
endif()

bv_pick_sources(BV_PLATFORM_SOURCES ${CMAKE_SOURCE_DIR}/src/platform ${BV_PLATFORM_FOLDERS})
add_library(BrickVoyagerPlatform STATIC ${BV_PLATFORM_SOURCES})
target_include_directories(BrickVoyagerPlatform PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(BrickVoyagerPlatform PUBLIC BV::SDL Threads::Threads ${BV_PLATFORM_LIBRARIES})
