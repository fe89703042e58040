# View descriptions shown as the views they make: the version panel of the
# bundle by name, and the same tree as JSON.
step dump About --bundle "$bundle"
step dump About --bundle "$bundle" --json
