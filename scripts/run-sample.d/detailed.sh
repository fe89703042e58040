# The settings tree: every pane of the panes tree with its options; for a
# favorite whose one changed option is a crease, exactly the finishing pane
# opens and the crease row carries the differ icon. Favorites go into a
# throw-away config folder.
tree_config=$(mktemp -d)
export XDG_CONFIG_HOME=$tree_config
step tree
printf '\n$ echo {"FN_CREASEMO": 1} | kzpde favorite write Folded\n'
echo '{"FN_CREASEMO": 1}' | "$kzpde" favorite write Folded
folded="$XDG_CONFIG_HOME/TORVALE/KZPrintServer/R4/favorite/Folded.pfj"
step tree --favorite "$folded"
step tree --favorite "$folded" --json
unset XDG_CONFIG_HOME
rm -rf "$tree_config"

# The detailed settings window run headless through the panel's button: a
# crease chosen in the tree style and taken by OK; a secure job without its
# password, which the consistency check refuses (its alert is shown, then
# Cancel); a conflict question answered no. Window frames go to the
# throw-away folder too.
detailed_config=$(mktemp -d)
export XDG_CONFIG_HOME=$detailed_config
printf '\n$ kzpde detailed --style tree --set CreaseMode=SaddleFold --json | (the outcome and the crease)\n'
"$kzpde" detailed --style tree --set CreaseMode=SaddleFold --json 2>/dev/null | grep -E '"(code|CreaseMode)"'
printf '\n$ kzpde detailed --set SecurityPrint=True | (dialogs and outcome)\n'
"$kzpde" detailed --set SecurityPrint=True 2>/dev/null | sed -n '1,/^print option:/p'
printf '\n$ kzpde detailed --set VLSaveFile=TIFF300dpi --set SecurityPrint=True --answer no --json | (dialogs and outcome)\n'
"$kzpde" detailed --set VLSaveFile=TIFF300dpi --set SecurityPrint=True --answer no --json 2>/dev/null \
  | sed -n '1,/"printOption"/p'
unset XDG_CONFIG_HOME
rm -rf "$detailed_config"
