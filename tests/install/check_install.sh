#!/bin/sh
# Installs the build into a scratch prefix and checks what a user gets there:
# both programs start, the open ROM and demo, valid desktop entries with their
# icons and file types, and manual pages that render without warnings.
#
#   check_install.sh CMAKE BUILD_DIR PREFIX VERSION KEYS_FILE
set -u
cmake=$1 build=$2 prefix=$3 version=$4 keys=$5
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
need() {
  command -v "$1" >/dev/null 2>&1 || { echo "FAIL: $1 is not installed (scripts/install-deps)"; exit 1; }
}
for tool in desktop-file-validate man update-mime-database xmllint; do need "$tool"; done

rm -rf "$prefix"
"$cmake" --install "$build" --prefix "$prefix" >/dev/null || { echo "FAIL: cmake --install"; exit 1; }
share=$prefix/share
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# Both programs start and say who they are.
[ "$("$prefix/bin/varnok" --version)" = "varnok $version" ] || fail "varnok --version"
[ "$("$prefix/bin/VarnokSetup" --version)" = "VarnokSetup $version" ] || fail "VarnokSetup --version"
"$prefix/bin/varnok" --help >"$scratch/help" || fail "varnok --help exits non-zero"

# A file named like an option is a program to run, not the option.
(
  cd "$scratch" && : >--version && printf 'quit\n' >quit.script &&
    VARNOK_REGISTRY="$scratch/none.reg" VARNOK_AUTOMATION=quit.script \
      timeout 60 "$prefix/bin/varnok" --version >version.out 2>/dev/null
  ! grep -q "^varnok $version" version.out
) || fail "varnok --version with a file of that name printed the version"

# The open ROM and the demo.
for image in open-basic.bin open-kernal.bin; do
  [ "$(wc -c <"$share/varnok/$image" 2>/dev/null)" = 16384 ] || fail "$image missing or not 16 KB"
done
[ -s "$share/varnok/demo.prg" ] || fail "demo.prg missing"
[ -s "$share/doc/varnok/README.md" ] || fail "README.md missing"

# Desktop entries, their icons and the file types they open.
for entry in varnok varnok-setup; do
  file=$share/applications/$entry.desktop
  [ -f "$file" ] || { fail "$entry.desktop missing"; continue; }
  report=$(desktop-file-validate "$file" 2>&1) || fail "$entry.desktop invalid"
  [ -z "$report" ] || fail "desktop-file-validate $entry.desktop: $report"
  grep -qx "Categories=Game;Emulator;" "$file" || fail "$entry.desktop categories"
  if [ "$entry" = varnok ]; then
    grep -qx "Actions=window;" "$file" && grep -qx "Name=Run in a window" "$file" ||
      fail "varnok.desktop has no action to run in a window"
  fi
  icon=$(sed -n 's/^Icon=//p' "$file")
  xmllint --noout "$share/icons/hicolor/scalable/apps/$icon.svg" 2>/dev/null || fail "icon $icon.svg missing or not XML"
done
mime=$share/mime/packages/varnok.xml
cp -r "$share/mime" "$scratch/mime"
report=$(XDG_DATA_DIRS="$scratch" XDG_DATA_HOME="$scratch" update-mime-database "$scratch/mime" 2>&1) || fail "update-mime-database failed"
[ -z "$report" ] || fail "update-mime-database: $report"
types=$(sed -n 's/^MimeType=//p' "$share/applications/varnok.desktop" | tr ';' ' ')
[ -n "$types" ] || fail "varnok.desktop declares no MimeType"
for type in $types; do
  grep -q "type=\"$type\"" "$mime" || fail "$type is not declared in varnok.xml"
  [ -f "$scratch/mime/$type.xml" ] || fail "$type is not in the built MIME database"
done
for pattern in '\*\.prg' '\*\.d64' '\*\.g64' '\*\.fre'; do grep -q "pattern=\"$pattern\"" "$mime" || fail "no glob $pattern"; done

# Manual pages render without warnings, and every host key of --help is in varnok(6).
for page in varnok VarnokSetup; do
  file=$share/man/man6/$page.6
  [ -f "$file" ] || { fail "$page.6 missing"; continue; }
  warnings=$(MANWIDTH=80 man -l --warnings "$file" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man $page.6: $warnings"
  MANWIDTH=80 man -l "$file" 2>/dev/null >"$scratch/$page.txt"
  for section in NAME SYNOPSIS DESCRIPTION FILES SETTINGS ENVIRONMENT "EXIT STATUS"; do
    grep -q "^$section" "$scratch/$page.txt" || fail "$page.6 has no $section section"
  done
done
# The installed pages name the prefix they were installed under (the roff source, as the
# rendered page may break a long path).
names() { sed -e 's/\\://g' -e 's/\\-/-/g' "$share/man/man6/$1.6" | grep -qF "$2"; }
names varnok "$prefix/share/varnok/open-basic.bin" || fail "varnok(6) does not name $prefix"
names VarnokSetup "$prefix/bin" || fail "VarnokSetup(6) does not name $prefix"
grep -v '^#' "$keys" | cut -f1 | while read -r key; do
  grep -q "^  $key " "$scratch/help" || echo "FAIL: --help lacks $key"
  grep -q "^       $key\b" "$scratch/varnok.txt" || echo "FAIL: varnok(6) lacks $key"
done >"$scratch/keys"
[ -s "$scratch/keys" ] && { cat "$scratch/keys"; failures=$((failures + 1)); }

echo "install tree under $prefix: $failures failed checks"
[ "$failures" -eq 0 ]
