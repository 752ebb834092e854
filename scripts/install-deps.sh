#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing tallyroll need, and only those
# that are missing: on a machine that has them all it changes nothing.
set -euo pipefail

packages=(
  cmake g++ make pkg-config clang-format
  qt6-base-dev qt6-multimedia-dev libgl-dev libx11-dev
  libbenchmark-dev clang libclang-rt-14-dev
  fonts-liberation fonts-dejavu-core
  xvfb xauth x11-utils xdotool imagemagick poppler-utils
  cups printer-driver-cups-pdf libcups2-dev
  dbus-bin at-spi2-core python3-gi gir1.2-atspi-2.0
  locales
  desktop-file-utils strace dpkg-dev lintian appstream shared-mime-info
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi

# A comma-decimal locale, so the tests can prove that no number passes through the C locale.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  if [ "$(id -u)" -eq 0 ]; then
    sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' >> /etc/locale.gen
    locale-gen >/dev/null
  else
    echo "note: no de_DE.UTF-8 locale and not root; the comma-locale run uses the C locale" >&2
  fi
fi
