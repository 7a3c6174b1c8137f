# Shared by scripts/run and scripts/test: build folder, wine prefix and the build itself.
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-$ROOT/build}
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
export CCACHE_DIR=${CCACHE_DIR:-$ROOT/.ccache}

# Configures and builds everything into $BUILD_DIR/bin.
build_all() {
  local launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  if [ ! -f "$BUILD_DIR/build.ninja" ]; then
    cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja \
      -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/WinelibToolchain.cmake" "${launcher[@]}" >/dev/null
  fi
  cmake --build "$BUILD_DIR" -j "$(nproc)"
}

# Makes the wine prefix (once) with the Japanese font replacements the program asks for.
make_prefix() {
  export WINEPREFIX=$1
  if [ ! -f "$WINEPREFIX/.voltrane-ready" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    local key='HKCU\Software\Wine\Fonts\Replacements'
    wine reg add "$key" /v 'ＭＳ ゴシック' /d IPAGothic /f >/dev/null 2>&1
    wine reg add "$key" /v 'ＭＳ Ｐゴシック' /d IPAPGothic /f >/dev/null 2>&1
    wine reg add "$key" /v 'MS UI Gothic' /d IPAPGothic /f >/dev/null 2>&1
    wine reg add "$key" /v 'ＭＳ 明朝' /d IPAMincho /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.voltrane-ready"
  fi
}

# A prefix for tests on Xvfb. No window manager runs there, so a managed window that closes
# makes wine wait two seconds for a withdrawal nobody announces; unmanaged windows close at once.
make_test_prefix() {
  make_prefix "$1"
  if [ ! -f "$WINEPREFIX/.voltrane-unmanaged" ]; then
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.voltrane-unmanaged"
  fi
  # Where i386 programs run through qemu (see scripts/setup-machine), wine's debugger cannot attach
  # to a crashed process and waits for ever: there a crash ends the process at once instead.
  if [ -e /proc/sys/fs/binfmt_misc/qemu-i386 ] && [ ! -f "$WINEPREFIX/.voltrane-nodebugger" ]; then
    wine reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.voltrane-nodebugger"
  fi
}
