#!/usr/bin/env bash
# Installs what building, testing and linting ZELK FYL needs on Debian 12, when it is missing
# (dpkg-dev, too: its dpkg-buildflags harden every build but the sanitizer and fuzz builds; and time,
# with which tools/test.sh times its phases). With the argument "fuzz" also clang and
# libFuzzer (its runtime is in libclang-rt-14-dev) for tools/fuzz.sh;
# with "package" what tools/package.sh and tools/packagecheck.sh need: pandoc for the manual pages,
# Debian's own checks (lintian, desktop-file-validate, appstreamcli).
set -euo pipefail
packages=(cmake ninja-build g++ qt6-base-dev qt6-qpa-plugins libgl1-mesa-dev libgtest-dev libgmock-dev
          libbenchmark-dev fonts-dejavu-core poppler-utils qt6-translations-l10n python3 libxlsxwriter-dev pkg-config
          libminizip-dev clang-tidy libreoffice-calc-nogui ccache time dpkg-dev)
if [ "${1:-}" = fuzz ]; then
  packages+=(clang libclang-rt-14-dev)
fi
if [ "${1:-}" = package ]; then
  packages+=(pandoc lintian desktop-file-utils appstream)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
