# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by the run, test and bench scripts: install what is missing, then build.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD="$ROOT/build"
PACKAGES=(cmake g++ make qt6-base-dev qt6-charts-dev qt6-translations-l10n libqt6sql6-sqlite xvfb xauth openbox xdotool
    fonts-dejavu-core dpkg-dev desktop-file-utils appstream)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

ensure_packages() {
    local missing=()
    for pkg in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        as_root apt-get update -qq
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
    fi
}

build() {
    # Warnings are errors on CI; a newcomer's compiler may warn where ours does not.
    local werror=OFF
    [ -n "${CI:-}" ] && werror=ON
    # ccache, where a developer has it, makes the rebuilds of a working day cheap; CI needs none.
    local launcher=()
    command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMEMORAN_WERROR=$werror "${launcher[@]}" >/dev/null
    cmake --build "$BUILD" -j"$(nproc)"
}
