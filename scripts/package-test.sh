#!/usr/bin/env bash
# Builds the Debian package, unpacks it into a temporary folder with dpkg-deb -x
# and runs the installed programs from there: vrl73m-cli --version, lang-check on
# the installed language file, and the desktop program offscreen until its first
# paint; the manual pages must be there gzipped and readable; Debian's own checker
# (lintian, installed here when missing) reports no error or warning.
# usage: scripts/package-test.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
# The same package as `cmake --build build --target package`, without building the
# tests and benchmarks first: only the installed programs are needed.
cmake --build "$build" --target vrl73m vrl73m-cli vrl73m-radiosim manpages changelog >/dev/null
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls -t "$build"/vrl73m_*.deb | head -1)
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
fail() { echo "FAIL (package): $*" >&2; exit 1; }

for f in usr/bin/vrl73m usr/bin/vrl73m-cli usr/bin/vrl73m-radiosim usr/share/vrl73m/vrl73m.lng usr/share/vrl73m/vrl73m-extra.lng \
         usr/share/vrl73m/help/vrl73m-help.html usr/share/applications/vrl73m.desktop \
         usr/share/metainfo/com.norvale.vrl73m.metainfo.xml usr/share/icons/hicolor/scalable/apps/vrl73m.svg \
         usr/share/bash-completion/completions/vrl73m-cli usr/share/doc/vrl73m/copyright \
         usr/share/doc/vrl73m/changelog.gz; do
    [ -e "$root/$f" ] || fail "the package holds no /$f"
done
# Manual pages gzipped as Debian installs them, each one readable.
for page in vrl73m vrl73m-cli vrl73m-radiosim; do
    gz=$root/usr/share/man/man1/$page.1.gz
    [ -e "$gz" ] || fail "the package holds no /usr/share/man/man1/$page.1.gz"
    [ ! -e "${gz%.gz}" ] || fail "the package holds /usr/share/man/man1/$page.1 unzipped"
    zcat "$gz" | grep -c '^\.TH ' >/dev/null || fail "$page.1.gz is no manual page"
    if command -v man >/dev/null; then
        MANPAGER=cat MANWIDTH=80 man -l "$gz" 2>/dev/null | grep -ci "^name" >/dev/null ||
            fail "man -l cannot read $page.1.gz"
    fi
done
dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6 || fail "no dependency on the Qt 6 runtime"
# The extended description as written (CPack turns quotes into XML entities).
dpkg-deb -f "$deb" Description | sed -n '2p' | grep -q '^ [A-Za-z]' || fail "no extended description"
! dpkg-deb -f "$deb" Description | grep -q '&[a-z]*;' || fail "the description holds XML entities"

"$root/usr/bin/vrl73m-cli" --version | grep -q '^vrl73m-cli ' || fail "vrl73m-cli --version"
"$root/usr/bin/vrl73m-radiosim" --version | grep -q '^vrl73m-radiosim ' || fail "vrl73m-radiosim --version"
"$root/usr/bin/vrl73m-cli" lang-check "$root/usr/share/vrl73m/vrl73m.lng" >/dev/null || fail "lang-check"
# The installed tool finds its language file beside its bin folder, not in the source tree.
"$root/usr/bin/vrl73m-cli" new --row 0 -o "$root/a.dat" >/dev/null
"$root/usr/bin/vrl73m-cli" channels "$root/a.dat" --csv --format chirp | grep -q '^Location,' ||
    fail "vrl73m-cli channels from the package"
HOME=$root XDG_CONFIG_HOME=$root/config XDG_DATA_HOME=$root/data QT_QPA_PLATFORM=offscreen \
    timeout 60 "$root/usr/bin/vrl73m" --quit-when-shown || fail "the desktop program did not reach its first paint"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$root/usr/share/applications/vrl73m.desktop" || fail "desktop entry"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net --pedantic "$root/usr/share/metainfo/com.norvale.vrl73m.metainfo.xml" >/dev/null ||
        appstreamcli validate --no-net "$root/usr/share/metainfo/com.norvale.vrl73m.metainfo.xml" || fail "metainfo"
fi
if ! command -v lintian >/dev/null; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get install -y -qq --no-install-recommends lintian >/dev/null || fail "cannot install lintian"
fi
# Lintian refuses to run as root unless told that it may.
lintian_args=(--fail-on error,warning --tag-display-limit 0)
[ "$(id -u)" -ne 0 ] || lintian_args+=(--allow-root)
lintian "${lintian_args[@]}" "$deb" || fail "lintian reports errors or warnings"
echo "package $(basename "$deb") installs and runs"
