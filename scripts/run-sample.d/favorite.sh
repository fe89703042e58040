# Favorite and profile files. Favorites are written into a throw-away config
# folder, never into the user's own.
favorite_config=$(mktemp -d)

export XDG_CONFIG_HOME=$favorite_config
step favorite show "$samples/Duplex.pfj"
step favorite show "$samples/Meeting-ShiftJIS.pfj" --json
step favorite list
printf '\n$ kzpde favorite write Report --comment "報告書 (PDF)" < %s\n' "$samples/favorite-options.json"
"$kzpde" favorite write Report --comment "報告書 (PDF)" < "$samples/favorite-options.json"
step favorite list
step favorite show "$XDG_CONFIG_HOME/TORVALE/KZPrintServer/R4/favorite/Report.pfj"
step profile show "$samples/sample.cps"
unset XDG_CONFIG_HOME
rm -rf "$favorite_config"
