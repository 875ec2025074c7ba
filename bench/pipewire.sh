#!/usr/bin/env bash
# Runs a command against PipeWire's PulseAudio server (pipewire-pulse), as current desktops have
# it, without installing PipeWire: its Debian packages are unpacked into a folder of their own and
# run from there with a session bus, the session manager (WirePlumber) and a null sink
# "klavidor_null" at the graph's rate as the default sink. Everything is stopped and removed
# afterwards. COMMAND runs in PipeWire's environment, so that native clients find the server too.
# Usage: [KLAVIDOR_PW_RATE=HZ] bench/pipewire.sh COMMAND [ARG...]   (COMMAND sees PULSE_SERVER)
set -euo pipefail
pakete=(pipewire pipewire-bin pipewire-pulse libpipewire-0.3-0 libpipewire-0.3-modules libpipewire-0.3-common
    libspa-0.2-modules wireplumber libwireplumber-0.4-0 liblua5.3-0)

if [ -z "${KLAVIDOR_PW_BEREIT:-}" ]; then
    tmp="$(mktemp -d -t klavidor-pw.XXXXXX)"
    trap 'rm -rf "$tmp"' EXIT
    chmod 755 "$tmp"   # apt-get download hands the files to its own user
    holen() { (cd "$tmp" && apt-get download -qq "${pakete[@]}" >/dev/null 2>&1); }
    # Without package lists (a machine that never ran apt-get update) there is nothing to fetch.
    sudo=""; [ "$(id -u)" -ne 0 ] && sudo=sudo
    holen || { $sudo apt-get update -qq && holen; } || { echo "PipeWire: the packages could not be fetched"; exit 1; }
    for d in "$tmp"/*.deb; do dpkg -x "$d" "$tmp/wurzel"; done
    mkdir -m 700 "$tmp/lauf"
    # The graph's rate, where it should not be PipeWire's default of 48 kHz.
    if [ -n "${KLAVIDOR_PW_RATE:-}" ]; then
        mkdir -p "$tmp/wurzel/usr/share/pipewire/pipewire.conf.d"
        echo "context.properties = { default.clock.rate = $KLAVIDOR_PW_RATE }" >"$tmp/wurzel/usr/share/pipewire/pipewire.conf.d/rate.conf"
    fi
    # A private session bus, which WirePlumber needs; this script runs again inside it.
    KLAVIDOR_PW_BEREIT="$tmp" dbus-run-session -- "$0" "$@"
    exit $?
fi

tmp="$KLAVIDOR_PW_BEREIT"
w="$tmp/wurzel"
lib="$w/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null || echo x86_64-linux-gnu)"
pw_env=(XDG_RUNTIME_DIR="$tmp/lauf" LD_LIBRARY_PATH="$lib" PIPEWIRE_MODULE_DIR="$lib/pipewire-0.3"
    SPA_PLUGIN_DIR="$lib/spa-0.2" PIPEWIRE_CONFIG_DIR="$w/usr/share/pipewire"
    WIREPLUMBER_MODULE_DIR="$lib/wireplumber-0.4" WIREPLUMBER_CONFIG_DIR="$w/usr/share/wireplumber"
    WIREPLUMBER_DATA_DIR="$w/usr/share/wireplumber")
export PULSE_SERVER="unix:$tmp/lauf/pulse/native"
pids=()
trap 'kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null' EXIT
for teil in pipewire wireplumber pipewire-pulse; do
    env "${pw_env[@]}" "$w/usr/bin/$teil" >"$tmp/$teil.log" 2>&1 &
    pids+=($!)
done
for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
pactl info | grep "^Server Name" || { echo "pipewire-pulse did not answer:"; tail -3 "$tmp"/*.log; exit 1; }
pactl load-module module-null-sink sink_name=klavidor_null rate="${KLAVIDOR_PW_RATE:-48000}" channels=2 >/dev/null
# The sink appears a moment after the module is loaded.
for _ in $(seq 50); do pactl set-default-sink klavidor_null 2>/dev/null && break; sleep 0.1; done
# The command's status is the script's, whatever became of the daemons meanwhile.
status=0
env "${pw_env[@]}" PIPEWIRE_BIN="$w/usr/bin" "$@" || status=$?
trap - EXIT
kill "${pids[@]}" 2>/dev/null || true
wait 2>/dev/null || true
exit "$status"
