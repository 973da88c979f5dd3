# Shared steps of the scripts; sourced by them, from any folder.

REPO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# fonts-dejavu-core: DejaVu Sans, the layout tests' stand-in for current Windows'
# Segoe UI (9 pt DejaVu Sans is about 7/6 as wide as Wine's 8 pt Tahoma, as Segoe UI is).
PACKAGES="cmake make mingw-w64 wine wine64 xvfb doctest-dev imagemagick xauth fonts-dejavu-core"

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# The 32-bit Wine beside the 64-bit one, from Debian's i386 architecture: the release
# build is a 32-bit program and runs in the 64-bit prefix through it (WoW64).
WINE32_PACKAGE="wine32:i386"

installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

# Installs whatever of the packages is missing; does nothing when all are there.
ensure_packages() {
    local missing="" updated=""
    for p in $PACKAGES; do
        installed "$p" || missing="$missing $p"
    done
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        echo "Adding the i386 architecture"
        as_root dpkg --add-architecture i386
    fi
    if [ -n "$missing" ]; then
        echo "Installing:$missing"
        as_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq
        updated=1
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $missing >/dev/null
    fi
    if ! installed "$WINE32_PACKAGE"; then
        echo "Installing: $WINE32_PACKAGE"
        [ -n "$updated" ] || as_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
            --no-install-recommends "$WINE32_PACKAGE" >/dev/null
    fi
}

# build TARGET [cmake --build args...]: TARGET is x86_64 or i686.
build() {
    local target=$1
    shift
    cmake -S "$REPO_ROOT" -B "$REPO_ROOT/build/$target" \
        -DCMAKE_TOOLCHAIN_FILE="$REPO_ROOT/cmake/mingw-$target.cmake" >/dev/null
    cmake --build "$REPO_ROOT/build/$target" -j "$(nproc)" "$@"
}

# Whether this machine's kernel runs 32-bit programs at all: some virtual machines
# have no 32-bit mode, and Wine's 32-bit loader then fails with "Exec format error".
can_run_32bit() {
    [ -x /lib/ld-linux.so.2 ] && /lib/ld-linux.so.2 --version >/dev/null 2>&1
}

# The build a script runs: BUILD=i686 (the release build, the default where the
# machine runs 32-bit programs) or x86_64.
default_build() {
    if can_run_32bit; then echo i686; else echo x86_64; fi
}
build_choice() {
    local chosen="${BUILD:-$(default_build)}"
    if [ -z "${BUILD:-}" ] && [ "$chosen" = x86_64 ]; then
        echo "This machine runs no 32-bit programs: using the x86_64 build" >&2
    fi
    case "$chosen" in
    i686 | x86_64) echo "$chosen" ;;
    *)
        echo "BUILD must be i686 or x86_64, not '$BUILD'" >&2
        return 1
        ;;
    esac
}

describe_build() {
    case "$1" in
    i686) echo "Build measured: i686 (32-bit, the release build)" ;;
    x86_64) echo "Build measured: x86_64 (64-bit)" ;;
    esac
}

XVFB_PID=""
# Starts a private X server on a free display number and points DISPLAY at it.
start_display() {
    local fifo
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 "${1:-1280x1024x24}" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    XVFB_PID=$!
    local number
    read -r number <"$fifo"
    rm -f "$fifo"
    export DISPLAY=":$number"
}

stop_display() {
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
    XVFB_PID=""
}

# The one place that says how Wine runs our programs: a private 64-bit prefix under
# build/, quiet, without the components the programs never use. The 64-bit loader is
# called by its path: once wine32 is installed, plain "wine" is the 32-bit one. It
# starts 32-bit and 64-bit programs alike.
WINE_LOADER=/usr/lib/wine/wine64
wine_environment() {
    export WINEPREFIX="${WINEPREFIX:-$REPO_ROOT/build/wineprefix}"
    export WINEDEBUG="${WINEDEBUG:--all}"
    export WINEARCH=win64
    export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml,winemenubuilder.exe=}"
}

# A Wine prefix of our own, made once, and a wineserver kept running so that each
# test process starts in a fraction of a second.
start_wine() {
    wine_environment
    # A prefix made before wine32 was installed has no 32-bit system and starts no
    # 32-bit program: it is made anew.
    # (A machine that runs no 32-bit programs never fills it: the prefix is kept.)
    if [ -f "$WINEPREFIX/system.reg" ] && can_run_32bit &&
        [ ! -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]; then
        echo "The Wine prefix in $WINEPREFIX has no 32-bit system; making it anew"
        wineserver -k >/dev/null 2>&1 || true
        wineserver -w >/dev/null 2>&1 || true
        rm -rf "$WINEPREFIX"
    fi
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "Preparing the Wine prefix in $WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        "$WINE_LOADER" wineboot -i >/dev/null 2>&1 || true
        wineserver -w
    fi
    # Wine finds its own fonts only in the prefix: Marlett draws the caption buttons,
    # Tahoma is the message font (without it the system's fontconfig puts another in
    # its place). The system's other fonts it finds through fontconfig.
    local fonts="$WINEPREFIX/drive_c/windows/Fonts" font
    for font in marlett.ttf tahoma.ttf tahomabd.ttf; do
        if [ -d "$fonts" ] && [ ! -f "$fonts/$font" ] && [ -f "/usr/share/wine/fonts/$font" ]; then
            cp "/usr/share/wine/fonts/$font" "$fonts/"
        fi
    done
    (setsid wineserver -p >/dev/null 2>&1 &)
    # The first Wine process starts the prefix's services, which live on holding its
    # output; start them here, on /dev/null, so they never hold a test's pipe open.
    "$WINE_LOADER" cmd /c exit >/dev/null 2>&1 </dev/null || true
}

stop_wine() {
    # Waits for the server to be gone, so that a next start gets a server of its own.
    if [ -n "${WINEPREFIX:-}" ]; then
        wineserver -k >/dev/null 2>&1 || true
        wineserver -w >/dev/null 2>&1 || true
    fi
}

# No window manager runs on the private display, and Wine waits 2 s for one each
# time a framed window is hidden; let Wine place these programs' windows itself.
unmanaged_windows() {
    local exe
    for exe in "$@"; do
        "$WINE_LOADER" reg add "HKCU\\Software\\Wine\\AppDefaults\\$exe\\X11 Driver" \
            /v Managed /d N /f >/dev/null 2>&1 </dev/null || true
    done
}
