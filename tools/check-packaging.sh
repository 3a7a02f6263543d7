#!/usr/bin/env bash
# Checks installation and packages, from the native and Windows build folders:
# an install into a temporary prefix that runs, the manual page under groff with warnings on,
# the .deb and what it holds, and the Windows .zip and what it holds.
set -euo pipefail
cd "$(dirname "$0")/.."
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/native/CMakeCache.txt)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "packaging: $*" >&2; exit 1; }

echo "== install into a temporary prefix"
cmake --install build/native --prefix "$scratch/prefix" >/dev/null
[ -x "$scratch/prefix/bin/Vantrim" ] || fail "no bin/Vantrim"
[ "$(readlink "$scratch/prefix/bin/vantrim")" = Vantrim ] || fail "bin/vantrim is no link to Vantrim"
man_page="$scratch/prefix/share/man/man1/Vantrim.1"
[ -f "$man_page" ] || fail "no share/man/man1/Vantrim.1"

mkdir -p "$scratch/Work/.cache" "$scratch/Work/src/main" "$scratch/Work/src/obj/Debug"
touch "$scratch/Work/obj" "$scratch/Work/src/obj/Debug/app.o"
out=$("$scratch/prefix/bin/vantrim" "$scratch/Work" obj)
[ "$out" = "usage: Vantrim mainfolder wanted_dir" ] || fail "installed program wrote: $out"
left=$(cd "$scratch/Work" && find . | sort | tr '\n' ' ')
[ "$left" = ". ./.cache ./obj ./src ./src/main " ] || fail "installed program left: $left"
echo "installed program ran; left: $left"

echo "== manual page"
warnings=$(groff -ww -z -man "$man_page" 2>&1)
[ -z "$warnings" ] || fail "groff: $warnings"
grep -q "Vantrim $version" "$man_page" || fail "manual page does not carry version $version"
MANWIDTH=80 man -l "$man_page" 2>/dev/null | grep -q '^EXIT STATUS' || fail "man -l shows no EXIT STATUS"
echo "groff -ww: no warnings; man -l renders"

echo "== .deb"
(cd build/native && cpack >/dev/null)
deb="build/native/vantrim_${version}_amd64.deb"
[ -f "$deb" ] || fail "no $deb"
dpkg-deb -c "$deb"
contents=$(dpkg-deb -c "$deb")
for path in ./usr/bin/Vantrim ./usr/bin/vantrim ./usr/share/man/man1/Vantrim.1; do
  grep -q " $path" <<<"$contents" || fail "$deb lacks $path"
done
echo "Depends: $(dpkg-deb -f "$deb" Depends)"

echo "== Windows .zip"
(cd build/windows && cpack >/dev/null)
zip="build/windows/vantrim-${version}-win32.zip"
[ -f "$zip" ] || fail "no $zip"
mkdir "$scratch/zip"
(cd "$scratch/zip" && cmake -E tar xf "$OLDPWD/$zip")
(cd "$scratch/zip" && ls -l)
[ -f "$scratch/zip/Vantrim.exe" ] || fail "$zip lacks Vantrim.exe"
for text in README.txt LICENSE.txt; do
  [ -f "$scratch/zip/$text" ] || fail "$zip lacks $text"
  lines=$(wc -l <"$scratch/zip/$text")
  crlf=$(grep -c $'\r$' "$scratch/zip/$text" || true)
  [ "$lines" = "$crlf" ] || fail "$text: $crlf of $lines lines end in CR LF"
done
tools/check-exe.sh "$scratch/zip/Vantrim.exe"
echo "packaging: all checks passed"
