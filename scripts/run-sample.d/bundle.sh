# The product's bundle: its panes tree and a control of the main description
# file, checked as the CI checks them (every description, view and the PPD),
# and the rules across the panel and the panes, which share one registry:
# saddle stitching asks for a booklet, a booklet for two-sided printing; a
# transparency on both sides is a conflict (answered yes: the paper gives
# way); sample printing a secure job is refused (in Japanese).
step plist "$bundle/Contents/Resources/PanesTree.plist" --json
step describe show "$bundle/Contents/Resources/KZPrintServerUI.plist" OutputTray
printf '\n$ scripts/lint-bundle %s\n' "$bundle"
scripts/lint-bundle "$bundle" "$kzpde"
panes=()
for f in "$bundle"/Contents/PlugIns/*/Contents/Resources/UI.plist; do panes+=(--with "$f"); done
main_ui="$bundle/Contents/Resources/KZPrintServerUI.plist"
step describe simulate "$main_ui" "${panes[@]}" --set StapleMode=Saddle |
  grep -E '^[a-z]|StapleMode|ImpositionMode_|DuplexMode|ImpositionBooklet|ImpositionNup'
step describe simulate "$main_ui" "${panes[@]}" --set PaperTypeD=Transparency --set DuplexMode=DuplexNoTumble \
  --answer yes | grep -v '^  [A-Z]'
printf '\n$ LANGUAGE=ja kzpde describe simulate ... --network-ready --set SecurityPrint=True --set SamplePrintMode=SamplePrint\n'
LANGUAGE=ja "$kzpde" describe simulate "$main_ui" "${panes[@]}" --network-ready --set SecurityPrint=True \
  --set SamplePrintMode=SamplePrint | grep -v '^  [A-Z]'
step dump "$bundle/Contents/PlugIns/Media.bundle/Contents/Resources/Media_Front.plist"
