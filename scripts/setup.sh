# Shared set-up of the README's commands: installs the Debian packages the build and
# the tests need, then configures and builds one tree.  Sourced, not run.
#   dorvath_install_packages
#   dorvath_build <build-dir> <cmake options...>

DORVATH_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

DORVATH_PACKAGES=(
    cmake ninja-build g++ clang pkg-config dpkg-dev file
    libgtest-dev libbenchmark-dev
    qt6-base-dev qt6-qpa-plugins qt6-wayland libgl-dev libxkbcommon-dev
    xvfb xauth xdotool x11-utils imagemagick fonts-dejavu-core libx11-dev python3
    qt6-wayland weston dbus-x11 at-spi2-core python3-pyatspi
    librsvg2-bin desktop-file-utils appstream lintian
)

# What the packages above provide, for a system without dpkg and apt.
DORVATH_NEEDS="\
To build: CMake 3.25 or later, Ninja, a C++20 compiler (GCC 12 or Clang 14 or later),
  Qt 6.4 or later (Widgets, with its development files and the xcb platform plugin),
  rsvg-convert (librsvg) for the icons, and a font.
To test: GoogleTest, Google Benchmark, Clang, libX11's development files, Xvfb, xauth,
  xdotool, xdpyinfo, ImageMagick, Python 3, desktop-file-validate, appstreamcli;
  the Debian package is built and checked only on Debian (dpkg-dev, lintian)."

dorvath_install_packages() {
    if ! command -v dpkg-query >/dev/null || ! command -v apt-get >/dev/null; then
        echo "Without dpkg and apt-get the packages cannot be checked here; install these with" >&2
        echo "your system's package manager (CMake names any it does not find):" >&2
        echo "$DORVATH_NEEDS" >&2
        local tool missing=()
        for tool in cmake ninja c++; do
            command -v "$tool" >/dev/null || missing+=("$tool")
        done
        if [ ${#missing[@]} -ne 0 ]; then
            echo "Not found on PATH: ${missing[*]}" >&2
            return 1
        fi
        return 0
    fi
    local missing=() p
    for p in "${DORVATH_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local line="apt-get update && apt-get install -y --no-install-recommends ${missing[*]}"
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing Debian packages. Install them with:" >&2
        echo "  sudo apt-get update && sudo apt-get install -y --no-install-recommends ${missing[*]}" >&2
        return 1
    fi
    echo "Missing Debian packages: ${missing[*]}"
    # A person at a terminal is asked first; CI and other scripts go straight on.
    if [ -t 0 ]; then
        local answer
        read -r -p "Install them now with apt-get? [Y/n] " answer
        case $answer in
        [nN]*)
            echo "Not installed. To install them later: $line" >&2
            return 1
            ;;
        esac
    fi
    apt-get update -q &&
        DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

dorvath_build() {
    local dir=$1
    shift
    cmake -S "$DORVATH_ROOT" -B "$DORVATH_ROOT/$dir" -G Ninja "$@" >/dev/null &&
        cmake --build "$DORVATH_ROOT/$dir" -j "$(nproc)"
}

# Debian's own compiler and linker flags (hardening, fortified functions), as CMake
# options; nothing where dpkg-buildflags is missing.
dorvath_debian_flags() {
    command -v dpkg-buildflags >/dev/null || return 0
    local cxx ld
    export DEB_BUILD_MAINT_OPTIONS=hardening=+all
    # Run at the top of the tree: the flags map that folder's paths away in debug data.
    cxx="$(cd "$DORVATH_ROOT" && dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
    ld=$(dpkg-buildflags --get LDFLAGS)
    echo "-DCMAKE_CXX_FLAGS=$cxx"
    echo "-DCMAKE_EXE_LINKER_FLAGS=$ld"
}

# Makes the Debian package of a built tree and checks it with lintian; prints its path.
dorvath_package() {
    local dir=$DORVATH_ROOT/$1 deb report status=0
    rm -f "$dir"/dorvath_*.deb
    (cd "$dir" && cpack -G DEB >/dev/null) || return 1
    deb=$(ls "$dir"/dorvath_*.deb)
    report=$(lintian --fail-on error,warning "$deb" 2>&1) || status=1
    report=$(grep -v 'running with root privileges' <<<"$report" || true)
    [ -z "$report" ] || echo "$report" >&2
    [ $status -eq 0 ] || return 1
    echo "$deb"
}
