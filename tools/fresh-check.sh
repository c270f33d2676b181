#!/usr/bin/env bash
# Proves README's set-up on a pristine machine: builds a minimal Debian root with mmdebstrap from
# this machine's apt sources, puts a clean clone of the repository (its HEAD) in it and runs
# `tools/install-deps.sh && tools/test.sh` there, as a new user would. Prints the result and the time.
#
#   tools/fresh-check.sh [RELEASE] [--keep]     (root; about 25 minutes on 2 cores; not part of CI)
#
# RELEASE is a Debian code name (bookworm, trixie); by default this machine's own. Another release
# is fetched from the same Debian mirrors, its suites renamed; other vendors' sources are left out.
# The chroot shares this machine's network namespace, so the test domain controller on a loopback
# address works as it does here. --keep leaves the root in place for a look afterwards.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
repo="$(cd "$here/.." && pwd)"
keep=false
own="$(. /etc/os-release && echo "${VERSION_CODENAME:-}")"
release="$own"
for a in "$@"; do
    case "$a" in
    --keep) keep=true ;;
    [a-z]*) release="$a" ;;
    *) echo "usage: $0 [RELEASE] [--keep]" >&2; exit 2 ;;
    esac
done

log() { echo "fresh-check: $*" >&2; }

if [ "$(id -u)" -ne 0 ]; then
    log "needs root (mmdebstrap, chroot and the mounts)"
    exit 2
fi
if ! command -v mmdebstrap >/dev/null 2>&1; then
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends mmdebstrap >/dev/null
fi

sources=()
for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] && sources+=("$f")
done
[ ${#sources[@]} -gt 0 ] || { log "no apt sources on this machine"; exit 2; }

root=$(mktemp -d /var/tmp/arbrix-fresh.XXXXXX)
if [ "$release" != "$own" ]; then
    # Only files that name nothing but Debian's hosts: a vendor's suite names no Debian release.
    renamed=()
    for f in "${sources[@]}"; do
        if grep -E '^[[:space:]]*(URIs:|deb )' "$f" | grep -q 'debian\.org' &&
            ! grep -E '^[[:space:]]*(URIs:|deb )' "$f" | grep -vq 'debian\.org'; then
            n="$root.$(basename "$f")"
            sed -E "s/\b$own\b/$release/g" "$f" >"$n"
            renamed+=("$n")
        fi
    done
    [ ${#renamed[@]} -gt 0 ] || { log "no Debian mirror in this machine's apt sources"; exit 2; }
    sources=("${renamed[@]}")
fi
mounted=()
cleanup() {
    local i
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
        umount -l "${mounted[$i]}" 2>/dev/null || true
    done
    rm -f "$root".*.list "$root".*.sources
    if ! $keep; then
        rm -rf --one-file-system "$root"
    else
        log "root kept in $root"
    fi
}
trap cleanup EXIT

bind() {
    mount "$@"
    mounted+=("${!#}")
}

start=$SECONDS
log "making a minimal $release root in $root"
mmdebstrap --variant=minbase --include=git,ca-certificates "$release" "$root" "${sources[@]}" >"$root.log" 2>&1 ||
    { tail -n 30 "$root.log" >&2; exit 1; }
rm -f "$root.log"
cp /etc/resolv.conf "$root/etc/resolv.conf"
bind -t proc proc "$root/proc"
bind -t sysfs sys "$root/sys"
bind --bind /dev "$root/dev"
bind --bind /dev/pts "$root/dev/pts"

log "cloning $(git -C "$repo" rev-parse --short HEAD) into the root"
git clone -q --no-local "$repo" "$root/work/arbrix"

log "running tools/install-deps.sh && tools/test.sh inside"
status=0
chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
    bash -c 'cd /work/arbrix && tools/install-deps.sh && tools/test.sh' 2>&1 | tee "$root/fresh-check.log" ||
    status=$?

summary=$(grep -E 'tests passed|tests failed' "$root/fresh-check.log" | tail -n 1 || true)
elapsed=$((SECONDS - start))
if [ "$status" -eq 0 ]; then
    log "$release PASSED in $((elapsed / 60)) min $((elapsed % 60)) s: ${summary:-no CTest summary}"
else
    log "$release FAILED (status $status) after $((elapsed / 60)) min $((elapsed % 60)) s: ${summary:-no CTest summary}"
fi
exit "$status"
