"""How the PPD's choices become standard IPP job attributes: the finishings
enums that CUPS reads from *cupsIPPFinishings, and the constraints with their
resolvers that print dialogs read from *cupsUIConstraints/*cupsUIResolver.
Choices that no IPP value describes exactly get the generic enum of their
kind (a staple, a fold, a punch); the exact choice still travels as the
option itself."""

# Finishings enums (IPP finishings, PWG registry).
STAPLE, PUNCH, SADDLE_STITCH, FOLD, TRIM = 4, 5, 8, 10, 11
STAPLE_TOP_LEFT, STAPLE_BOTTOM_LEFT, STAPLE_TOP_RIGHT, STAPLE_BOTTOM_RIGHT = 20, 21, 22, 23
STAPLE_DUAL = {"Left": 28, "Top": 29, "Right": 30, "Bottom": 31}
PUNCH_DUAL = {"Left": 74, "Top": 75, "Right": 76, "Bottom": 77}
PUNCH_TRIPLE = {"Left": 78, "Top": 79, "Right": 80, "Bottom": 81}
PUNCH_QUAD = {"Left": 82, "Top": 83, "Right": 84, "Bottom": 85}
PUNCH_MULTIPLE = {"Left": 86, "Top": 87, "Right": 88, "Bottom": 89}
FOLD_HALF, FOLD_HALF_Z, FOLD_LETTER, FOLD_Z, FOLD_ENGINEERING_Z = 93, 94, 96, 100, 101

STAPLE_FINISHINGS = {
    "TopLeftCorner": STAPLE_TOP_LEFT, "TopRightCorner": STAPLE_TOP_RIGHT,
    "BottomLeftCorner": STAPLE_BOTTOM_LEFT, "BottomRightCorner": STAPLE_BOTTOM_RIGHT,
    "TopEdge": STAPLE_DUAL["Top"], "BottomEdge": STAPLE_DUAL["Bottom"],
    "LeftEdge": STAPLE_DUAL["Left"], "RightEdge": STAPLE_DUAL["Right"],
    "SaddleInside": SADDLE_STITCH, "SaddleOutside": SADDLE_STITCH, "Saddle": SADDLE_STITCH,
}
FOLD_FINISHINGS = {
    "BifoldInside": FOLD_HALF, "BifoldOutside": FOLD_HALF, "Bifold": FOLD_HALF,
    "ZfoldRightBind": FOLD_HALF_Z, "ZfoldLeftBind": FOLD_HALF_Z, "MixSizeZfold": FOLD_ENGINEERING_Z,
    "C_TrifoldInside": FOLD_LETTER, "C_TrifoldOutside": FOLD_LETTER,
    "Z_TrifoldInside": FOLD_Z, "Z_TrifoldOutside": FOLD_Z,
}
PUNCH_HOLES = {"Holes2": PUNCH_DUAL, "Holes3": PUNCH_TRIPLE, "Holes4": PUNCH_QUAD, "HolesMulti": PUNCH_MULTIPLE}


def finishings(by_key):
    """(enum, text, "*Option Choice ...") for every staple, punch, fold,
    saddle and trim choice of the PPD, in the PPD's order."""
    out = []

    def choices(key):
        return [c for c, _, _ in by_key[key].choices] if key in by_key else []

    for c in choices("StapleMode"):
        if c != "None":
            out.append((STAPLE_FINISHINGS.get(c, STAPLE), f"*StapleMode {c}"))
    for side in choices("Punch"):
        if side == "None":
            continue
        for holes in choices("PunchHoles"):
            if holes == "None":
                continue
            enum = PUNCH_HOLES.get(holes, {}).get(side, PUNCH)
            out.append((enum, f"*Punch {side} *PunchHoles {holes}"))
    for c in choices("Fold"):
        if c != "None":
            out.append((FOLD_FINISHINGS.get(c, FOLD), f"*Fold {c}"))
    if "True" in choices("TrimmerMode"):
        out.append((TRIM, "*TrimmerMode True"))
    return out


def finishing_lines(by_key):
    return [f'*cupsIPPFinishings {enum}/{spec.replace("*", "").replace(" ", "-")}: "{spec}"'
            for enum, spec in finishings(by_key)]


def constraint_lines(pairs, resolutions):
    """*cupsUIConstraints for every pair of choices that cannot be set
    together (PAIRS lists both directions of each), with a resolver where
    the panel's rule names the choice it puts back (RESOLUTIONS: the pair
    -> that choice of its second option)."""
    lines, done = [], set()
    for left, right in pairs:
        if frozenset((left, right)) in done:
            continue
        done.add(frozenset((left, right)))
        if (left, right) not in resolutions and (right, left) in resolutions:
            left, right = right, left
        spec = f'"*{left[0]} {left[1]} *{right[0]} {right[1]}"'
        if (left, right) in resolutions:
            name = f"KZResolve{len(done)}"
            lines.append(f'*cupsUIResolver {name}: "*{right[0]} {resolutions[(left, right)]}"')
            lines.append(f"*cupsUIConstraints {name}: {spec}")
        else:
            lines.append(f"*cupsUIConstraints: {spec}")
    return lines
