#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Arbrix need. Idempotent.
set -euo pipefail
packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6svg6-dev qt6-qpa-plugins
  # Qt's own texts (Yes/No, file dialogs, a line edit's menu) in the program's language
  qt6-translations-l10n
  libldap-dev libsasl2-dev libsasl2-modules-gssapi-mit
  libkrb5-dev
  libgtest-dev libgmock-dev
  # the password in the desktop keyring (QtKeychain loads libsecret at run time); its test's keyring
  qtkeychain-qt6-dev libsecret-1-0 dbus gnome-keyring
  # the fuzz targets (preset "fuzz"): clang and its libFuzzer and sanitizer runtimes
  clang libclang-rt-dev
  # the formatting check of .ci/run
  clang-format
  # samba's Recommends that provisioning a domain controller needs; --no-install-recommends drops them
  samba samba-ad-provision samba-dsdb-modules samba-vfs-modules ldap-utils krb5-user iproute2
  openssl python3
  # the messaging tests: a sendmail-compatible command and a throwaway SMTP server
  msmtp python3-aiosmtpd
  xvfb xauth
  # the screen reader test: the accessibility bus over D-Bus and its Python bindings
  at-spi2-core python3-pyatspi
)
# Debian 13 ships Qt's SVG image and icon plugins apart from the library, without which no icon
# loads, and the domain controller's daemon apart from samba.
[ "$(. /etc/os-release && echo "${VERSION_ID:-}")" = 12 ] || packages+=(qt6-svg-plugins samba-ad-dc)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
