# Winelib for 32-bit x86: Win32 sources compiled by wineg++ into ELF objects that wine loads.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER winegcc)
set(CMAKE_CXX_COMPILER wineg++)
set(CMAKE_RC_COMPILER wrc)
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)

# -fno-short-wchar: Debian's libstdc++ and Boost use a 4-byte wchar_t.
set(CMAKE_C_FLAGS_INIT "-m32 -fno-short-wchar")
set(CMAKE_CXX_FLAGS_INIT "-m32 -fno-short-wchar")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-m32")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-m32")

set(CMAKE_FIND_ROOT_PATH /usr/lib/i386-linux-gnu /usr)
list(APPEND CMAKE_PREFIX_PATH /usr/lib/i386-linux-gnu/cmake)
