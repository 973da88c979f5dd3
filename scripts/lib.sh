# Shared steps of the run and test scripts; source it from the repository's root.

REPO_ROOT=$(pwd)
PACKAGES="cmake make mingw-w64 wine wine64 xvfb doctest-dev imagemagick xauth"

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs whatever of the packages is missing; does nothing when all are there.
ensure_packages() {
    local missing=""
    for p in $PACKAGES; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
            missing="$missing $p"
    done
    if [ -n "$missing" ]; then
        echo "Installing:$missing"
        as_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $missing >/dev/null
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

# A Wine prefix of our own under build/, made once, and a wineserver kept running
# so that each test process starts in a fraction of a second.
start_wine() {
    export WINEPREFIX="$REPO_ROOT/build/wineprefix"
    export WINEDEBUG=-all
    export WINEARCH=win64
    export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "Preparing the Wine prefix in $WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1 || true
        wineserver -w
    fi
    # Wine draws the caption buttons with this font and finds it only in the prefix.
    local fonts="$WINEPREFIX/drive_c/windows/Fonts"
    if [ -d "$fonts" ] && [ ! -f "$fonts/marlett.ttf" ] && [ -f /usr/share/wine/fonts/marlett.ttf ]; then
        cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
    fi
    (setsid wineserver -p >/dev/null 2>&1 &)
    # The first Wine process starts the prefix's services, which live on holding its
    # output; start them here, on /dev/null, so they never hold a test's pipe open.
    /usr/lib/wine/wine64 cmd /c exit >/dev/null 2>&1 </dev/null || true
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
        /usr/lib/wine/wine64 reg add "HKCU\\Software\\Wine\\AppDefaults\\$exe\\X11 Driver" \
            /v Managed /d N /f >/dev/null 2>&1 </dev/null || true
    done
}
