# Shared by the tests that drive the real program on an X server; sourced, with $pid set.
# Waits until a visible window of the program whose size matches the pattern is mapped; prints its id.
warte_auf_fenster() {
    for _ in $(seq 1 100); do
        for id in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null || true); do
            # A window that is going away (the start screen, as the main window opens) has none.
            geo=$(xdotool getwindowgeometry "$id" 2>/dev/null | awk '/Geometry/ {print $2}') || continue
            if [[ "$geo" == $1 ]]; then echo "$id"; return 0; fi
        done
        sleep 0.1
    done
    echo "no window of size $1 appeared" >&2
    return 1
}
