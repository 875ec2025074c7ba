# Installs the Debian packages that building, running and testing need, if any is missing.
# Sourced by scripts/run, scripts/test and scripts/bench.

# What building and running need.
klavidor_laufpakete=(build-essential cmake ninja-build pkg-config qt6-base-dev qt6-svg-dev libgl-dev libxcb1-dev
    libsdl2-dev libpulse-dev libpipewire-0.3-dev libsamplerate0-dev libjack-jackd2-dev librtmidi-dev libasound2-dev libaubio-dev
    fluidsynth libfluidsynth-dev fluid-soundfont-gm espeak-ng fonts-noto-core fonts-liberation2)

# What making and checking the Debian package adds (scripts/paket, and the package test).
klavidor_paketpakete=(dpkg-dev lintian)

# What the tests add: a display with a window manager, a screenshot tool, the installed-files
# checkers, the package's tools, real sound and MIDI servers, and a second piano for the microphone
# (TimGM6mb's, samples of its own), and the session bus PipeWire's session manager needs (the
# PipeWire test unpacks PipeWire itself, as bench/pipewire.sh does). PulseAudio itself is not installed where PipeWire
# serves its clients (pipewire-pulse), which it would replace.
klavidor_testpakete() {
    local p=(xvfb xauth openbox x11-utils at-spi2-core imagemagick xdotool desktop-file-utils appstream
        jackd2 sox pulseaudio-utils libpulse-dev dbus-daemon timgm6mb-soundfont "${klavidor_paketpakete[@]}")
    dpkg-query -W -f='${Status}' pipewire-pulse 2>/dev/null | grep -q "install ok installed" || p+=(pulseaudio)
    echo "${p[@]}"
}

# Installs the packages given (default: those for building and running) that are missing.
klavidor_pakete() {
    local noetig=("$@")
    [ ${#noetig[@]} -gt 0 ] || noetig=("${klavidor_laufpakete[@]}")
    local fehlt=()
    for p in "${noetig[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || fehlt+=("$p")
    done
    [ ${#fehlt[@]} -eq 0 ] && return 0
    echo "Installing: ${fehlt[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    # jackd2 asks whether to run with real-time priority; the default answer is fine.
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${fehlt[@]}"
}

# Builds the work tree $1 in $1/build: every target, or only the targets given after it.
klavidor_bauen() {
    local top="$1"; shift
    local ziele=()
    for z in "$@"; do ziele+=(--target "$z"); done
    cmake -S "$top" -B "$top/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$top/build" "${ziele[@]}"
}
