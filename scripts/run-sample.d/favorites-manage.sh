# The panel's Save button and the favorites manager, on a throw-away home
# folder: save the panel's values through the save dialog (a name like the
# standard favorite's is refused), bring in the old Shift_JIS sample, then
# rename, re-comment and delete in the manager; a rename onto an existing
# name is refused, and Cancel leaves every file as it was.
manage_home=$(mktemp -d)
manage_old_home=$HOME
manage_old_config=${XDG_CONFIG_HOME-}
unset XDG_CONFIG_HOME
export HOME=$manage_home
# (only the report's line that names the new file)
last_line() { printf '\n$ kzpde %s | grep "^saved favorite:"\n' "$*"; "$kzpde" "$@" | grep '^saved favorite:'; }
last_line options --set DuplexMode=DuplexNoTumble --save-favorite Two-sided --comment "両面 (長辺とじ)"
printf '\n$ kzpde options --save-favorite "Default Settings"\n'
"$kzpde" options --save-favorite "Default Settings" 2>&1 | grep -v '^/' || true
last_line options --set StapleMode=TopLeftCorner --save-favorite Stapled
step favorite manage --import "$samples/Meeting-ShiftJIS.pfj" --json
step favorite manage --rename Stapled=Two-sided --delete Two-sided --cancel --json
step favorite manage --rename Stapled=Staple --comment "Meeting-ShiftJIS=会議 (両面)" --delete Two-sided
step favorite list
export HOME=$manage_old_home
if [ -n "$manage_old_config" ]; then export XDG_CONFIG_HOME=$manage_old_config; fi
rm -rf "$manage_home"
