#!/usr/bin/env bash
# Builds the Debian package from a clean clone of the repository's HEAD, checks it and leaves
# build-deb/arbrix_<version>_<arch>.deb:
#
#   tools/package.sh [--install-check]
#
# The checks: lintian with no error, the desktop entry and the AppStream metainfo valid, the
# version the package's changelog gives equal to the project's. With --install-check (root), the
# package is also installed with apt-get into a minimal root of this machine's release, where
# arbrix-cli must print its version and the sample domain's tree.
set -euo pipefail
cd "$(dirname "$0")/.."
repo="$PWD"
install_check=false
[ "${1:-}" = "--install-check" ] && install_check=true

log() { echo "package: $*" >&2; }

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
tools=(dpkg-dev debhelper lintian desktop-file-utils appstream git)
$install_check && tools+=(mmdebstrap)
missing=()
for p in "${tools[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
DEBIAN_FRONTEND=noninteractive $SUDO apt-get build-dep -y -qq ./ >/dev/null

project=$(sed -nE 's/^project\(Arbrix VERSION ([0-9.]+).*/\1/p' CMakeLists.txt)
version=$(dpkg-parsechangelog -S Version)
if [ "$project" != "$version" ]; then
    log "debian/changelog says $version, CMakeLists.txt $project: add a changelog entry"
    exit 1
fi
arch=$(dpkg-architecture -qDEB_HOST_ARCH)
deb="arbrix_${version}_${arch}.deb"

# Only what is committed goes in: a local build tree or an edit in progress never does.
work=$(mktemp -d /var/tmp/arbrix-package.XXXXXX)
trap 'rm -rf --one-file-system "$work"' EXIT
git clone -q --no-local "$repo" "$work/arbrix"
log "building $deb from $(git rev-parse --short HEAD)"
(cd "$work/arbrix" && dpkg-buildpackage -b -us -uc -j2) >"$work/build.log" 2>&1 ||
    { tail -n 40 "$work/build.log" >&2; exit 1; }
mkdir -p build-deb
cp "$work/$deb" build-deb/

status=0
log "lintian"
lintian --fail-on error --display-info "build-deb/$deb" || status=1
dpkg-deb -x "build-deb/$deb" "$work/contents"
log "desktop-file-validate"
desktop-file-validate "$work/contents/usr/share/applications/arbrix.desktop" || status=1
log "appstreamcli validate"
appstreamcli validate --no-net "$work/contents/usr/share/metainfo/"*.metainfo.xml || status=1

if $install_check && [ "$status" -eq 0 ]; then
    release="$(. /etc/os-release && echo "${VERSION_CODENAME:-}")"
    log "installing into a minimal $release root"
    # Only Debian's own sources, as a user of the release has them.
    sources=()
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
        [ -f "$f" ] && grep -qE '^[[:space:]]*(URIs:|deb ).*debian\.org' "$f" &&
            ! grep -E '^[[:space:]]*(URIs:|deb )' "$f" | grep -vq 'debian\.org' && sources+=("$f")
    done
    mmdebstrap --variant=apt --quiet \
        --customize-hook="copy-in build-deb/$deb /tmp" \
        --customize-hook="chroot \"\$1\" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq /tmp/$deb" \
        --customize-hook='chroot "$1" arbrix-cli --version' \
        --customize-hook='chroot "$1" env LANG=C.UTF-8 arbrix-cli --directory /usr/share/arbrix/sample-domain.ldif "Ventes - Tous"' \
        --customize-hook='chroot "$1" test -f /usr/share/man/man1/arbrix.1.gz' \
        "$release" "$work/root.tar" "${sources[@]}" >"$work/install.log" 2>&1 ||
        { tail -n 40 "$work/install.log" >&2; status=1; }
    [ "$status" -eq 0 ] && grep -vE '^(I|W): ' "$work/install.log" | tail -n 30
fi

if [ "$status" -eq 0 ]; then
    log "build-deb/$deb is ready"
else
    log "build-deb/$deb FAILED its checks"
fi
exit "$status"
