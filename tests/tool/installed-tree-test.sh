#!/usr/bin/env bash
# Installs the build into a temporary prefix, moves that prefix elsewhere, and
# runs the installed kzpde there with an empty environment: the tool must find
# its bundle beside itself, and nothing installed may name the build tree.
# usage: installed-tree-test.sh BUILD_DIR CMAKE
set -euo pipefail
build=$(cd "$1" && pwd -P)
cmake=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "installed tree: $*" >&2; exit 1; }

"$cmake" --install "$build" --prefix "$work/first" >/dev/null

# The agent in every desktop session: the systemd user unit, enabled for
# graphical sessions, names the installed tool; the autostart entry is valid.
unit=$work/first/lib/systemd/user/kzpde-agent.service
[ -f "$unit" ] || fail "missing lib/systemd/user/kzpde-agent.service"
[ "$(readlink "$work/first/lib/systemd/user/graphical-session.target.wants/kzpde-agent.service")" = ../kzpde-agent.service ] ||
  fail "the agent's unit is not enabled for graphical sessions"
grep -qx "ExecStart=$work/first/bin/kzpde agent" "$unit" || fail "the unit does not run the installed kzpde: $(grep ExecStart "$unit")"
desktop=$work/first/etc/xdg/autostart/kzpde-agent.desktop
[ -f "$desktop" ] || fail "missing etc/xdg/autostart/kzpde-agent.desktop"
if command -v desktop-file-validate >/dev/null; then
  out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
fi
if command -v systemd-analyze >/dev/null; then
  # As the user's manager reads it (its runtime folder a scratch one), the
  # manual page not looked up: the installed one is not on man's path.
  mkdir -p "$work/runtime"
  out=$(XDG_RUNTIME_DIR=$work/runtime systemd-analyze --user --man=no verify "$unit" 2>&1) ||
    fail "systemd-analyze verify: $out"
fi

# The refresh service names the tool where this install put it, and systemd
# takes both units as they are (where systemd-analyze is at hand).
units=$work/first/lib/systemd/system
[ -f "$units/kzpde-refresh.service" ] && [ -f "$units/kzpde-refresh.timer" ] || fail "missing the refresh units"
grep -qx "ExecStart=$work/first/bin/kzpde server refresh --all" "$units/kzpde-refresh.service" ||
  fail "kzpde-refresh.service runs another tool: $(grep ExecStart "$units/kzpde-refresh.service")"
grep -qx 'OnCalendar=daily' "$units/kzpde-refresh.timer" || fail "kzpde-refresh.timer is not daily"
grep -q '^RandomizedDelaySec=' "$units/kzpde-refresh.timer" || fail "kzpde-refresh.timer has no random delay"
if command -v systemd-analyze >/dev/null; then
  verified=$(systemd-analyze verify --man=no "$units/kzpde-refresh.service" "$units/kzpde-refresh.timer" 2>&1) ||
    fail "systemd-analyze verify: $verified"
  # It exits 0 for some complaints; a line about our units is one.
  if grep -q 'kzpde-refresh' <<<"$verified"; then fail "systemd-analyze verify: $verified"; fi
fi

mv "$work/first" "$work/moved"
prefix=$work/moved
bundle=$prefix/lib/kzpde/KZPrintServer.plugin

for f in bin/kzpde \
         lib/kzpde/KZPrintServer.plugin/Contents/Info.plist \
         lib/kzpde/KZPrintServer.plugin/Contents/Resources/KZPrintServer.ppd \
         lib/kzpde/KZPrintServer.plugin/Contents/Resources/libencryption.so \
         share/kzpde/samples/kz-sample-printer.ppd \
         share/man/man1/kzpde.1.gz \
         share/bash-completion/completions/kzpde \
         share/ppd/kzpde/KZPrintServer.ppd \
         lib/cups/backend/kzps; do
  [ -e "$prefix/$f" ] || fail "missing $f"
done
[ -x "$prefix/bin/kzpde" ] || fail "bin/kzpde is not executable"
# cupsd refuses a backend that others may write, and runs one of mode 0700 as root.
[ "$(stat -c %a "$prefix/lib/cups/backend/kzps")" = 755 ] || fail "lib/cups/backend/kzps is not mode 0755"
env -i "$prefix/lib/cups/backend/kzps" | grep -q '^network kzps ' || fail "kzps gives no discovery line"

# No binary points into the build tree: neither its RUNPATH nor any text it
# carries outside its debug information.
while IFS= read -r -d '' f; do
  readelf -h "$f" >/dev/null 2>&1 || continue
  runpath=$(readelf -d "$f" | grep -E 'R(UN)?PATH' || true)
  case $runpath in *"$build"*) fail "${f#$prefix/} has a RUNPATH into the build tree: $runpath" ;; esac
  objcopy --strip-debug "$f" "$work/stripped"
  if strings "$work/stripped" | grep -qF "$build"; then fail "${f#$prefix/} names the build tree"; fi
done < <(find "$prefix" -type f -print0)
readelf -d "$prefix/bin/kzpde" | grep -qF '[$ORIGIN/../lib/kzpde/KZPrintServer.plugin/Contents/Frameworks]' ||
  fail "bin/kzpde lacks its RUNPATH to the bundle's Frameworks folder"

run() { env -i PATH=/usr/bin:/bin "$prefix/bin/kzpde" "$@"; }

version=$(run --version) || fail "kzpde --version failed"
[[ $version == *"bundle: $bundle"* ]] || fail "kzpde uses another bundle: $version"
run --help | grep -q '^  ppd info ' || fail "kzpde --help lists no ppd info"
info=$(run ppd info "$bundle/Contents/Resources/KZPrintServer.ppd") || fail "kzpde ppd info failed"
[ -n "$info" ] || fail "kzpde ppd info printed nothing"
run ppd info "$prefix/share/kzpde/samples/kz-sample-printer.ppd" >/dev/null || fail "kzpde ppd info on the sample failed"
# The password library is loaded from the installed bundle's resources.
selftest=$(run password selftest) || fail "kzpde password selftest failed: $selftest"
[[ $selftest == *"library: $bundle/Contents/Resources/libencryption.so"* ]] || fail "password library: $selftest"
cmp -s "$prefix/share/bash-completion/completions/kzpde" "$build/apps/kzpde/kzpde.bash-completion" ||
  fail "the installed completion is not the built one"

# The file managers' "Open With" entry: valid, for PDF and PostScript, and
# running the dialog on the file chosen.
desktop=$prefix/share/applications/kzpde-print.desktop
[ -f "$desktop" ] || fail "missing share/applications/kzpde-print.desktop"
command -v desktop-file-validate >/dev/null || fail "desktop-file-validate is missing (scripts/setup installs desktop-file-utils)"
out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
[ -z "$out" ] || fail "desktop-file-validate warns: $out"
grep -qx 'Name=Print with KZ Print Server' "$desktop" || fail "the entry is not named \"Print with KZ Print Server\""
grep -qx 'MimeType=application/pdf;application/postscript;' "$desktop" || fail "the entry is not for PDF and PostScript"
grep -qx 'Exec=kzpde dialog %f' "$desktop" || fail "the entry does not open the dialog on the file"
echo "installed tree: ok ($prefix)"
