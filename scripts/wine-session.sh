# Sourced by the scripts that run many Windows programs: one display and one
# wineserver for the whole run.
#   source scripts/wine-session.sh; start_wine_session PREFIX
# Starts a private Xvfb display when none is set, creates the Wine prefix
# once and keeps its wineserver running; both end when the script exits.

wine_session_xvfb=""
wine_session_prefix=""

end_wine_session() {
    [ -n "$wine_session_prefix" ] && WINEPREFIX="$wine_session_prefix" wineserver -k >/dev/null 2>&1 || true
    [ -n "$wine_session_xvfb" ] && kill "$wine_session_xvfb" >/dev/null 2>&1 || true
}

start_wine_session() {
    local root
    root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
    wine_session_prefix="$1"
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
    export WINEPREFIX="$wine_session_prefix"
    # Creates the prefix once, then keeps one wineserver for the whole run
    # (one may still be running from the prefix's creation; that one is kept).
    "$root/scripts/wine-run" --prefix "$WINEPREFIX" cmd /c exit 0 >/dev/null 2>&1 || true
    wineserver -p >/dev/null 2>&1 || true
}
