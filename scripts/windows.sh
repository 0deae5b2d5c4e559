# Shared by the Windows commands (scripts/windows, scripts/windows-qt, scripts/test): where
# Qt for Windows comes from and how it is built.  Sourced, not run.

DORVATH_QT_VERSION=6.4.2
# Debian's qt6-base source package of the same version as the host tools (moc, rcc, uic).
DORVATH_QT_SOURCE=qt6-base=6.4.2+dfsg-10
# qtbase's Core, Gui, Widgets and Test with the windows and offscreen platforms; the rest
# off. tabletevent: Debian's source leaves out wintab.h; dynamicgl: with OpenGL off the
# windows platform plugin does not compile otherwise.
DORVATH_QT_OPTIONS=(
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
    -DCMAKE_BUILD_TYPE=Release
    -DBUILD_SHARED_LIBS=ON -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_opengl=OFF -DFEATURE_dynamicgl=OFF
    -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF
    -DFEATURE_xml=OFF -DFEATURE_testlib=ON -DFEATURE_vulkan=OFF -DFEATURE_tabletevent=OFF
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_freetype=OFF
    -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_jpeg=OFF
)
# Debian packages the Windows build and its tests need beyond the Linux ones.
DORVATH_WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix wine64 zip qt6-base-dev-tools)

# The toolkit's place in the cache, outside any work tree: one folder per Qt version and
# set of options, so that a change of either builds afresh.
dorvath_qt_cache_dir() {
    local key
    key=$(printf '%s\n' "$DORVATH_QT_SOURCE" "${DORVATH_QT_OPTIONS[@]}" | sha256sum | cut -c1-12)
    echo "${DORVATH_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/dorvath}/qt-$DORVATH_QT_VERSION-windows-x64-$key"
}

# Prints the toolkit to build against: DORVATH_WINDOWS_QT when set, else a finished one in
# the cache. Fails when there is none.
dorvath_windows_qt() {
    local dir=${DORVATH_WINDOWS_QT:-$(dorvath_qt_cache_dir)}
    if [ ! -f "$dir/lib/cmake/Qt6/Qt6Config.cmake" ]; then
        [ -n "${DORVATH_WINDOWS_QT:-}" ] &&
            echo "DORVATH_WINDOWS_QT=$DORVATH_WINDOWS_QT holds no Qt for Windows" >&2
        return 1
    fi
    (cd "$dir" && pwd)
}
