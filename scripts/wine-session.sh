# Sourced by the scripts that run many Windows programs: one display for the
# whole run, and one wineserver per Wine prefix (a 64-bit prefix needs a
# server of its own).
#   source scripts/wine-session.sh; start_wine_session PREFIX [PREFIX...]
# Starts a private Xvfb display when none is set, creates each Wine prefix
# once and keeps its wineserver running; all end when the script exits.
# WINEPREFIX is left at the last prefix given.

wine_session_xvfb=""
wine_session_prefixes=()

end_wine_session() {
    local p
    for p in "${wine_session_prefixes[@]}"; do
        WINEPREFIX="$p" wineserver -k >/dev/null 2>&1 || true
    done
    [ -n "$wine_session_xvfb" ] && kill "$wine_session_xvfb" >/dev/null 2>&1 || true
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
