# Shared by scripts/run and scripts/test. Sourced, not run.

# Packages both commands need to build the program.
BUILD_PACKAGES="build-essential cmake pkg-config qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-l10n-tools libgl-dev libsdl2-dev libpulse-dev libsndfile1-dev libsamplerate0-dev libebur128-dev librubberband-dev qt6-charts-dev libqt6opengl6-dev libarchive-dev"
# Qt's own texts (OK, Cancel, Yes, No) in Japanese.
BUILD_PACKAGES="$BUILD_PACKAGES qt6-translations-l10n"

# ensure_packages PKG...: installs the Debian packages that are missing,
# quietly, and does nothing when all are there.
ensure_packages() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$pkg")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        sudo="sudo"
    fi
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# configure_and_build BUILD_DIR CMAKE_ARGS...: configures once, then builds
# in parallel on every core.
configure_and_build() {
    local dir=$1
    shift
    cmake -S "$ROOT" -B "$dir" -Wno-dev "$@" >/dev/null
    cmake --build "$dir" --parallel "$(nproc)"
}
