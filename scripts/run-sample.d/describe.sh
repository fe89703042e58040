# Option controls built from a control description file that uses every
# control type: their widgets as text and as JSON, and the file's check.
step describe show "$samples/option-controls.plist" InputSlot --width 400 --height 120
step describe show "$samples/option-controls.plist" Copies --json
step describe show "$samples/option-controls.plist"
step describe lint "$samples/option-controls.plist"
