#!/usr/bin/env bash
# Checks a built zelkfyl package the way a planner's machine gets it: lintian finds no error and
# no program without the distribution's hardening, the desktop entry and the AppStream data validate; then it is installed with apt, both commands run
# against the installed files from a folder that is not the checkout (a project planned, ranked,
# reported and opened in the window offscreen), and it is purged again with no file of its own
# left behind. Needs root (or sudo). Usage: tools/packagecheck.sh zelkfyl_VERSION_amd64.deb
set -euo pipefail
deb=$(readlink -f "$1")
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
work=$(mktemp -d)
installedHere=0
# A failed check does not leave the package installed.
cleanUp() {
  if [ "$installedHere" = 1 ]; then
    $SUDO env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 remove --purge -y -qq zelkfyl >/dev/null 2>&1 || true
  fi
  rm -rf "$work"
}
trap cleanUp EXIT
fail() {
  echo "packagecheck: $*" >&2
  exit 1
}
step() { echo "packagecheck: $*"; }

version=$(dpkg-deb --field "$deb" Version)
# Every tag lintian has, informational and pedantic ones included, is shown; an error fails, and so
# does a program built without the distribution's hardening (cmake/hardening.cmake).
step "lintian --pedantic -I $(basename "$deb")"
lintian --fail-on error --pedantic -I --suppress-tags-from-file /dev/null "$deb" | tee "$work/lintian.log"
unhardened=$(grep -E ' (hardening-no-bindnow|hardening-no-fortify-functions|hardening-no-relro|hardening-no-pie)( |$)' \
  "$work/lintian.log" || true)
[ -z "$unhardened" ] || fail "programs built without the distribution's hardening: $unhardened"

dpkg-deb --extract "$deb" "$work/contents"
step "desktop-file-validate, appstreamcli validate"
desktop-file-validate "$work"/contents/usr/share/applications/*.desktop
appstreamcli validate --no-net "$work"/contents/usr/share/metainfo/*.metainfo.xml

# Directories that exist before the installation are not the package's to remove.
dirs_before=$(dpkg-deb --contents "$deb" | awk '{print substr($6, 2)}' | grep '/$' | sed 's:/$::' |
  while read -r d; do [ -d "$d" ] && echo "$d"; done || true)
step "apt-get install $(basename "$deb")"
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 install -y -qq "$deb" >"$work/apt.log" 2>&1 ||
  { cat "$work/apt.log"; fail "the package does not install"; }
installedHere=1
installed=$(dpkg -L zelkfyl)

# A planner's session: an own home with a working directory already chosen (otherwise the first
# start asks for one), in a folder that is not the checkout.
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_CONFIG_HOME/Zelk" "$XDG_RUNTIME_DIR" "$work/run"
chmod 700 "$XDG_RUNTIME_DIR"
printf '[General]\nArbeitsverzeichnis=%s\n' "$work/ZELK" >"$XDG_CONFIG_HOME/Zelk/zol.conf"
cd "$work/run"

step "zelkfyl-cli --version, zelkfyl --version"
[ "$(zelkfyl-cli --version)" = "zelkfyl-cli $version" ] || fail "zelkfyl-cli --version: $(zelkfyl-cli --version)"
[ "$(zelkfyl --version)" = "zelkfyl $version" ] || fail "zelkfyl --version: $(zelkfyl --version)"

# The companions where the calculation window starts them: in the program directory.
step "companions from /usr/share/zelkfyl"
for tool in deckenspiegel zelk_sound; do
  [ "$(/usr/share/zelkfyl/$tool --version)" = "$tool $version" ] || fail "/usr/share/zelkfyl/$tool does not start"
done

step "zelkfyl-cli schedule (CSV and the example workbook), rank, report --pdf, exchange; zelk_sound --json"
columns="Raum;Breite;Länge;Höhe;Luftwechsel;Volumenstrom;Kühllast;Raumtemperatur;Zulufttemperatur"
columns+=";Kopfhöhe;Einbauhöhe;Luftgeschwindigkeit;Schallleistung;Typ;Größe;Strahlform"
columns+=";Schlitzlänge;Schlitzanzahl;Rohr"
printf '%s\n%s\n' "$columns" 'Besprechung;6;8;3;;720;;24;18;1,8;3;0,2;35;;;;;;' >rooms.csv
zelkfyl-cli schedule rooms.csv --out plans --jobs 1 >/dev/null
[ -f plans/Besprechung.zol ] || fail "schedule wrote no project"
# The example workbook the manual starts a planner from, as installed (minizip at run time).
example=/usr/share/doc/zelkfyl/tools/schedule/Raumbuch-Beispiel.ods
zelkfyl-cli schedule "$example" --out example --jobs 1 >/dev/null || fail "the installed example workbook does not plan"
zelkfyl-cli rank plans/Besprechung.zol --top 3 >rank.json
grep -q '"feasible": true' rank.json || fail "rank found no suitable outlet: $(head -c 400 rank.json)"
zelkfyl-cli report plans/Besprechung.zol --pdf report.pdf
[ "$(head -c 5 report.pdf)" = "%PDF-" ] || fail "report wrote no PDF"
zelkfyl-cli exchange plans/Besprechung.zol --sound Sounddaten.tmp
/usr/share/zelkfyl/zelk_sound "$PWD/Sounddaten.tmp" --json | grep -q '"lp_listener"' ||
  fail "zelk_sound computed nothing from the exchange file"

# The window for three seconds with the project named relative to this folder: still running at the
# end, nothing on its error output, and the project loaded (only a load puts it into the recently
# opened projects of the settings).
step "zelkfyl plans/Besprechung.zol, 3 seconds offscreen"
status=0
QT_QPA_PLATFORM=offscreen timeout 3 zelkfyl plans/Besprechung.zol >"$work/window.out" 2>"$work/window.err" ||
  status=$?
[ "$status" = 124 ] || fail "zelkfyl ended with $status before 3 seconds: $(cat "$work/window.err")"
# Qt's offscreen platform says this of every window it shows; it is no error of the program.
grep -v '^This plugin does not support propagateSizeHints()$' "$work/window.err" >"$work/window.errors" || true
[ ! -s "$work/window.errors" ] || fail "zelkfyl wrote errors: $(cat "$work/window.errors")"
grep -q "ZuletztGeoeffnet=$work/run/plans/Besprechung.zol" "$XDG_CONFIG_HOME/Zelk/zol.conf" ||
  fail "zelkfyl did not load the project: $(cat "$XDG_CONFIG_HOME/Zelk/zol.conf")"
cd /

step "apt-get remove --purge zelkfyl"
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 remove --purge -y -qq zelkfyl >"$work/apt.log" 2>&1 ||
  { cat "$work/apt.log"; fail "the package does not remove"; }
left=$(while read -r path; do
  [ -e "$path" ] || [ -L "$path" ] || continue
  if [ -d "$path" ] && [ ! -L "$path" ] && grep -qxF "$path" <<<"$dirs_before"; then continue; fi
  echo "$path"
done <<<"$installed")
[ -z "$left" ] || fail "left behind after the removal: $left"
step "zelkfyl $version: built, checked, installed, run, removed"
