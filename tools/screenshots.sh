#!/usr/bin/env bash
# Screenshots of the main window on the sample domain, under Xvfb with openbox as the window
# manager: the default look, a dark palette (qt6ct's "darker" colour scheme, Fusion style) and a
# scale factor of 2, each in French. For a look at icons and texts; not a test.
#
#   tools/screenshots.sh [BUILD-DIR]      (PNGs in BUILD-DIR/screenshots, default build/)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
out="$build/screenshots"
need=(xvfb xauth openbox imagemagick qt6ct x11-utils)
missing=()
for p in "${need[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO="sudo"
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
mkdir -p "$out"
work=$(mktemp -d /tmp/arbrix-shots.XXXXXX)
trap 'rm -rf "$work"' EXIT
# A copy outside any system prefix keeps its settings beside it, in the throw-away folder.
cp "$build/bin/arbrix" data/English.lng data/sample-domain.ldif "$work/"
mkdir -p "$work/config/qt6ct"
cat >"$work/config/qt6ct/qt6ct.conf" <<'EOF'
[Appearance]
color_scheme_path=/usr/share/qt6ct/colors/darker.conf
custom_palette=true
style=Fusion
EOF

shoot() { # name, then environment assignments
    local name="$1"
    shift
    printf '[Config]\nLangue=Français\n' >"$work/Arbrix.ini"
    xvfb-run -a -s "-screen 0 1600x1200x24" bash -c '
        openbox >/dev/null 2>&1 &
        sleep 1
        env "$@" ARBRIX_DIRECTORY="'"$work"'/sample-domain.ldif" "'"$work"'/arbrix" \
            "OU=Informatique,OU=Velmora,DC=velmora,DC=test" >/dev/null 2>&1 &
        app=$!
        for _ in $(seq 1 60); do xwininfo -root -tree | grep -q "Arbrix v" && break; sleep 0.5; done
        sleep 2
        import -window root "'"$out/$name"'.png"
        kill $app' _ "$@"
    echo "$out/$name.png"
}

shoot arbrix-light QT_QPA_PLATFORM=xcb
shoot arbrix-dark QT_QPA_PLATFORM=xcb QT_QPA_PLATFORMTHEME=qt6ct XDG_CONFIG_HOME="$work/config"
shoot arbrix-scale2 QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=2
shoot arbrix-dark-scale2 QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=2 QT_QPA_PLATFORMTHEME=qt6ct \
    XDG_CONFIG_HOME="$work/config"
