# The rules of a small control description: a condition and a cooperation,
# a conflict answered no and then yes, and a conflict that cannot be resolved
# (looked for once the network data is in).
step describe simulate "$samples/option-rules.plist" --set Staple=True
step describe simulate "$samples/option-rules.plist" --set MediaType=Thick --set Duplex=DuplexNoTumble --answer no
step describe simulate "$samples/option-rules.plist" --set MediaType=Thick --set Duplex=DuplexNoTumble --answer yes
step describe simulate "$samples/option-rules.plist" --network-ready --set Duplex=DuplexTumble --set MediaType=Transparency --json
