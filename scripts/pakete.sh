# Installs the Debian packages that building, running and testing need, if any is missing.
# Sourced by scripts/run and scripts/test.
klavidor_pakete() {
    local noetig=(build-essential cmake ninja-build pkg-config qt6-base-dev qt6-svg-dev libgl-dev libxcb1-dev
        libsdl2-mixer-dev libjack-jackd2-dev espeak-ng fonts-noto-core fonts-liberation2
        xvfb xauth imagemagick xdotool desktop-file-utils appstream "$@")
    local fehlt=()
    for p in "${noetig[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || fehlt+=("$p")
    done
    [ ${#fehlt[@]} -eq 0 ] && return 0
    echo "Installing: ${fehlt[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${fehlt[@]}"
}

klavidor_bauen() {
    cmake -S "$1" -B "$1/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$1/build"
}
