# Sourced by the scripts that run many Windows programs: one display for the
# whole run, and one wineserver per Wine prefix (a 64-bit prefix needs a
# server of its own).
#   source scripts/wine-session.sh; start_wine_session PREFIX [PREFIX...]
# Starts a private Xvfb display when none is set, creates each Wine prefix
# once and keeps its wineserver running; all end when the script exits.
# WINEPREFIX is left at the last prefix given.
#   start_desks COUNT TREE [TREE...]
# Gives each build tree COUNT desks for ctest to run its Windows programs
# side by side: desk n is an Xvfb display of its own and a Wine prefix of
# its own (TREE/wineprefix for desk 1, a copy TREE/wineprefix-n for the
# others), each with its wineserver kept running. Writes TREE/desks.json,
# the resource file that ctest hands the desks out from; scripts/wine-run
# picks the desk a test was given. Each tree also gets TREE/wineprefix-dpi144,
# a copy of its prefix with the screen at 144 dpi, for the programs that
# ctest runs with TESSARY_DPI=144 (on the display of the desk they get).

wine_session_xvfb=""
wine_session_prefixes=()
wine_session_xvfbs=()

end_wine_session() {
    local p
    for p in "${wine_session_prefixes[@]}"; do
        WINEPREFIX="$p" wineserver -k >/dev/null 2>&1 || true
    done
    [ -n "$wine_session_xvfb" ] && kill "$wine_session_xvfb" >/dev/null 2>&1 || true
    for p in "${wine_session_xvfbs[@]}"; do
        kill "$p" >/dev/null 2>&1 || true
    done
}

# A display number that no X server holds.
free_display() {
    local n
    for n in $(seq 90 250); do
        if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
            echo "$n"
            return 0
        fi
    done
    return 1
}

# Makes each tree's Wine prefix (the first time only), on a private display,
# the trees' at once.
prepare_prefixes() {
    local root tree pids=()
    root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
    for tree in "$@"; do
        # A prefix made before needs no Wine started to say so.
        [ -f "$tree/wineprefix/.tessary-ready" ] && continue
        DISPLAY="" "$root/scripts/wine-run" --prefix "$tree/wineprefix" cmd /c exit 0 >/dev/null 2>&1 &
        pids+=("$!")
    done
    [ "${#pids[@]}" = 0 ] || wait "${pids[@]}" || true
}

# Copies TREE/wineprefix to TREE/wineprefix-dpiDPI and sets its screen's
# scale (the first time only); no server may run for either prefix.
prepare_scaled_prefix() {
    local tree="$1" dpi="$2" root scaled
    root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
    scaled="$tree/wineprefix-dpi$dpi"
    WINEPREFIX="$scaled" wineserver -k >/dev/null 2>&1 || true
    WINEPREFIX="$scaled" wineserver -w >/dev/null 2>&1 || true
    [ -f "$scaled/.tessary-dpi-$dpi" ] && return 0
    rm -rf "$scaled"
    cp -a "$tree/wineprefix" "$scaled"
    TESSARY_DPI="$dpi" DISPLAY="" "$root/scripts/wine-run" --prefix "$scaled" cmd /c exit 0 >/dev/null 2>&1 || true
}

start_desks() {
    local count="$1" root tree n display prefix ids
    shift
    root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
    trap end_wine_session EXIT
    prepare_prefixes "$@"
    for tree in "$@"; do
        # A server left from before would keep its desktop on another
        # display, and a prefix is copied only while no server writes to it.
        WINEPREFIX="$tree/wineprefix" wineserver -k >/dev/null 2>&1 || true
        WINEPREFIX="$tree/wineprefix" wineserver -w >/dev/null 2>&1 || true
        prepare_scaled_prefix "$tree" 144
        ids=()
        for n in $(seq 1 "$count"); do
            prefix="$tree/wineprefix"
            if [ "$n" != 1 ]; then
                prefix="$tree/wineprefix-$n"
                WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1 || true
                WINEPREFIX="$prefix" wineserver -w >/dev/null 2>&1 || true
                if [ ! -f "$prefix/.tessary-ready" ]; then
                    rm -rf "$prefix"
                    cp -a "$tree/wineprefix" "$prefix"
                fi
            fi
            display="$(free_display)"
            Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
            wine_session_xvfbs+=("$!")
            # The server holds the display number from here on.
            while [ ! -e "/tmp/.X11-unix/X$display" ]; do sleep 0.05; done
            wine_session_prefixes+=("$prefix")
            WINEPREFIX="$prefix" wineserver -p >/dev/null 2>&1 || true
            # The desk's desktop starts here, not inside the first test, which
            # would hand it the test's output and make ctest wait for it.
            CTEST_RESOURCE_GROUP_0_DESKS="id:${display}_$n,slots:1" \
                "$root/scripts/wine-run" --prefix "$tree/wineprefix" cmd /c exit 0 >/dev/null 2>&1 || true
            ids+=("{\"id\": \"${display}_$n\", \"slots\": 1}")
        done
        local joined
        joined="$(IFS=,; echo "${ids[*]}")"
        printf '{"version": {"major": 1, "minor": 0}, "local": [{"desks": [%s]}]}\n' "$joined" >"$tree/desks.json"
    done
}

start_wine_session() {
    local root prefix
    root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
    trap end_wine_session EXIT
    if [ -z "${DISPLAY:-}" ]; then
        local n
        for n in $(seq 90 170); do
            if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
                Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
                wine_session_xvfb=$!
                export DISPLAY=":$n"
                break
            fi
        done
        sleep 1
    fi
    for prefix in "$@"; do
        wine_session_prefixes+=("$prefix")
        export WINEPREFIX="$prefix"
        # Creates the prefix once (with the architecture of its build tree),
        # then keeps one wineserver for the whole run (one may still be
        # running from the prefix's creation; that one is kept).
        "$root/scripts/wine-run" --prefix "$WINEPREFIX" cmd /c exit 0 >/dev/null 2>&1 || true
        wineserver -p >/dev/null 2>&1 || true
    done
}
