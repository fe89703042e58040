# The panel's favorites menu in the tool's print dialog. Favorites are
# written below a throw-away home, never the user's own.
menu_home=$(mktemp -d)
menu_config=${XDG_CONFIG_HOME-}
menu_home_before=$HOME
unset XDG_CONFIG_HOME
export HOME=$menu_home
# The menu of `kzpde options ... --json` (its "favorites" key) and the
# values of the two options the favorite holds.
menu_step() {
  printf '\n$ kzpde options %s --json   # "favorites", StapleMode, OffsetMode\n' "$*"
  "$kzpde" options "$@" --json | python3 -c 'import json, sys
out = json.load(sys.stdin)
print(json.dumps(out["favorites"], ensure_ascii=False))
print("StapleMode =", out["controls"]["StapleMode"]["value"], "  OffsetMode =", out["controls"]["OffsetMode"]["value"])'
}
printf '\n$ echo %s | kzpde favorite write Meeting --comment "Stapled, offset per job"\n' \
  "'{\"SP_STAPLEMO\": 1, \"SP_OFFSETMO\": 1}'"
echo '{"SP_STAPLEMO": 1, "SP_OFFSETMO": 1}' | "$kzpde" favorite write Meeting --comment "Stapled, offset per job"
cp "$samples/Meeting-ShiftJIS.pfj" "$HOME/.config/TORVALE/KZPrintServer/R4/favorite/"
step favorite list
# Chosen, the favorite's values are applied and its item is selected.
menu_step --favorite Meeting
# A change away from them puts the one "Change Setting" item before it
# (Delete disabled); a change back takes it away again.
menu_step --favorite Meeting --set StapleMode=TopRightCorner
menu_step --favorite Meeting --set StapleMode=TopRightCorner --set StapleMode=TopLeftCorner
# The readable form, with an old Shift_JIS favorite (it holds no staple
# position, so the change is none of its business).
printf '\n$ kzpde options --favorite Meeting-ShiftJIS --set StapleMode=TopRightCorner | sed -n "/^favorites:/,\\$p"\n'
"$kzpde" options --favorite Meeting-ShiftJIS --set StapleMode=TopRightCorner | sed -n '/^favorites:/,$p'
printf '\n$ kzpde options --favorite "No such"\n'
"$kzpde" options --favorite "No such" && status=0 || status=$?
echo "(exit $status)"
[ "$status" = 2 ]
export HOME=$menu_home_before
if [ -n "$menu_config" ]; then export XDG_CONFIG_HOME=$menu_config; fi
rm -rf "$menu_home"
