# Shared set-up of the README's commands: installs the Debian packages the build and
# the tests need, then configures and builds one tree.  Sourced, not run.
#   dorvath_setup <build-dir> <cmake options...>

DORVATH_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

DORVATH_PACKAGES=(
    cmake ninja-build g++ pkg-config
    libgtest-dev libbenchmark-dev
    qt6-base-dev qt6-qpa-plugins libgl-dev libxkbcommon-dev
    xvfb xauth xdotool x11-utils imagemagick fonts-dejavu-core libx11-dev python3
    qt6-wayland weston dbus-x11 at-spi2-core python3-pyatspi
)

dorvath_install_packages() {
    local missing=() p
    for p in "${DORVATH_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing Debian packages. Install them with:" >&2
        echo "  sudo apt-get update && sudo apt-get install -y ${missing[*]}" >&2
        return 1
    fi
    echo "Installing Debian packages: ${missing[*]}"
    apt-get update -q &&
        DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

dorvath_build() {
    local dir=$1
    shift
    cmake -S "$DORVATH_ROOT" -B "$DORVATH_ROOT/$dir" -G Ninja "$@" >/dev/null &&
        cmake --build "$DORVATH_ROOT/$dir" -j "$(nproc)"
}
