NAME=Caf‚
