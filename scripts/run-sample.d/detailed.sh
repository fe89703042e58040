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
