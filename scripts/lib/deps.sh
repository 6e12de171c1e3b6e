# Installs the Debian packages the project needs, only those still missing.
# Sourced by scripts/run and scripts/test.

KRELWIN_PACKAGES=(
    cmake ninja-build g++ pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev
    qt6-base-dev qt6-translations-l10n libgl-dev
    xvfb xauth fonts-dejavu-core
    desktop-file-utils shared-mime-info dpkg-dev file
    git
)
KRELWIN_FUZZ_PACKAGES=(clang libclang-rt-dev)

krelwin_missing_packages() {
    local pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || echo "$pkg"
    done
}

krelwin_install_packages() {
    local missing
    missing=$(krelwin_missing_packages "$@")
    [ -z "$missing" ] && return 0
    echo "Installing missing packages: $(echo $missing)"
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null || { echo "Need root or sudo to install: $missing" >&2; return 1; }
        sudo="sudo"
    fi
    $sudo apt-get update -qq
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
}
