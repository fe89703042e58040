# Password field scrambling and the password transport library (a stand-in
# ships in the bundle's resources).
scrambled=$("$kzpde" password scramble 'paramoxide=qxlr_data' 'Secret!1')
step password scramble 'paramoxide=qxlr_data' 'Secret!1'
step password unscramble 'paramoxide=qxlr_data' "$scrambled"
step password selftest "$bundle/Contents/Resources"
