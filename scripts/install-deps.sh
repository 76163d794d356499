#!/usr/bin/env bash
# Installs the Debian packages Stackle needs to build, run and test, and only those that are
# missing. Safe to run again: with everything in place it installs nothing.
set -euo pipefail

# g++ brings gcc's AddressSanitizer and UndefinedBehaviorSanitizer runtimes (libasan8,
# libubsan1), which make test's sanitizer build links; clang-format checks the layout. trayer is
# the XEmbed tray of the end-to-end tests, xfce4-panel (with xfconf, on a session bus of
# dbus-daemon, asked with gdbus of libglib2.0-bin) their status-notifier tray and Xfce's panel,
# xfwm4 Xfce's window manager beside openbox; sway runs headless with Xwayland for the Wayland
# test, which looks at the screen with grim. The
# accessibility test reads the strip as a screen reader does: a session bus, AT-SPI's bus launcher
# and registry, and Debian's python3 with the AT-SPI bindings. The strip carries its own fonts:
# fontconfig's tools and the URW fonts serve the test that draws it without DejaVu, and
# fonts-dejavu-core scripts/make-artwork.sh. make package computes the package's dependencies with
# dpkg-dev's dpkg-shlibdeps, which CPack runs on the files that file calls programs; its test
# checks the package with lintian, and the installed menu entry and AppStream data with their
# validators (desktop-file-utils, appstream).
packages=(
  make g++ cmake ninja-build pkg-config clang-format
  qt6-base-dev qt6-qpa-plugins libqt6svg6 fonts-dejavu-core adwaita-icon-theme shared-mime-info
  libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev
  xvfb xauth xdotool x11-utils x11-xserver-utils wmctrl libx11-dev imagemagick openbox trayer valgrind
  fontconfig fonts-urw-base35 libglib2.0-bin xfce4-panel xfconf xfwm4 sway xwayland grim
  libcups2-dev cups cups-client printer-driver-cups-pdf poppler-utils
  dbus-daemon dbus-bin at-spi2-core python3 python3-gi gir1.2-atspi-2.0
  dpkg-dev file lintian desktop-file-utils appstream
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all ${#packages[@]} packages are already installed."
  exit 0
fi

as_root=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "install-deps: run as root (missing: ${missing[*]})" >&2; exit 1; }
  as_root=(sudo)
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get -o DPkg::Lock::Timeout=600 update -qq
"${as_root[@]}" apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends "${missing[@]}"
echo "install-deps: done."
