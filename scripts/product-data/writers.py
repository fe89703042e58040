"""Writes the bundle's data files from the model."""

import os
import plistlib
from collections import OrderedDict

import model
from options import TEXTS

# Keys of the internal form that the conversion joins or derives and that
# therefore never reach the PPD under their own name.
INTERNAL_ONLY = {"Punch_PunchHoles", "ImpositionMode_ImpositionCustomMode", model.BYPASS_PAPER_TYPE}

# The rows of a view are this wide; a row of n controls gives each 1/n.
VIEW_WIDTH = 520
MARGIN = 10


def _write_bytes(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    if not os.path.exists(path) or open(path, "rb").read() != data:
        with open(path, "wb") as f:
            f.write(data)


write_bytes = _write_bytes  # replaced by a comparison for --check


def write_plist(path, value):
    write_bytes(path, plistlib.dumps(value, sort_keys=False))


def write_text(path, content, encoding="utf-8"):
    write_bytes(path, content.encode(encoding))


# -- control descriptions -------------------------------------------------------

def description(o):
    d = OrderedDict(mainKeyword=o.key, control_type=o.kind)
    if o.label:
        d["text"] = o.label
    if o.choices:
        d["choices"] = [OrderedDict(choice=v, text=t) for v, t in o.choices]
    if o.default:
        d["default"] = o.default
    for k, v in o.extra.items():
        d[k] = v
    for k, v in o.rules.items():
        d[k] = v
    return d


def description_file(options):
    return OrderedDict((o.key, description(o)) for o in options)


def texts_of(options):
    """Every text key that the descriptions of the options show."""
    keys = []

    def add(k):
        if k and k not in keys:
            keys.append(k)

    def walk_rule(rule):
        for k, v in rule.items():
            if k in ("title", "message") and isinstance(v, str):
                add(v)
            elif isinstance(v, dict):
                walk_rule(v)

    for o in options:
        add(o.label)
        for _, t in o.choices:
            add(t)
        add(o.extra.get("desc_text"))
        walk_rule(o.rules.get("unrestorable_conflict", {}))
    return keys


# -- views ---------------------------------------------------------------------

def height(o):
    """The height the control asks for (the construction's height rules)."""
    has_text = bool(o.label)
    if o.kind == "CheckBox":
        return 24
    if o.kind.startswith("TextField") or o.kind.startswith("SecureTextField"):
        return 24 + (24 if has_text else 0)
    if o.kind in ("PopupButton", "Slider"):
        return 48 if has_text else 24
    raise SystemExit(f"no height rule for {o.kind}")


def rows_view(rows, width=VIEW_WIDTH):
    """The option controls stacked row by row; each carries its main keyword
    in its tooltip, which is how the pane finds its description."""
    heights = [max(height(o) for o in row) for row in rows]
    total = sum(heights) + 2 * MARGIN
    subviews, top = [], total - MARGIN
    for row, h in zip(rows, heights):
        top -= h
        w = (width - 2 * MARGIN) // len(row)
        for i, o in enumerate(row):
            subviews.append(OrderedDict([("class", "QuillUI"), ("frame", [MARGIN + i * w, top, w, height(o)]),
                                         ("toolTip", o.key)]))
    return OrderedDict(view=OrderedDict([("class", "View"), ("frame", [0, 0, width, total]),
                                         ("subviews", subviews)]))


def quill(outlet, x, y, w, h):
    return OrderedDict([("class", "QuillUI"), ("outlet", outlet), ("frame", [x, y, w, h])])


def button(outlet, title, action, x, y, w, tag=None, hidden=False):
    b = OrderedDict([("class", "Button"), ("outlet", outlet), ("title", title), ("frame", [x, y, w, 28]),
                     ("action", action)])
    if tag is not None:
        b["tag"] = tag
    if hidden:
        b["hidden"] = True
    return b


def label(outlet, title, x, y, w):
    return OrderedDict([("class", "TextField"), ("outlet", outlet), ("value", title), ("frame", [x, y, w, 20]),
                        ("editable", False), ("bezeled", False), ("drawsBackground", False),
                        ("selectable", False)])


def panel_view():
    """The panel: the favorites strip on top (the panel cuts the view at the
    Save button while it is shown), the nine option controls on the left,
    the buttons on the right."""
    width, height_ = 600, 460
    left = [("_quill_VLInputSlot", 48), ("_quill_DuplexMode", 48), ("_quill_StapleMode", 48),
            ("_quill_Punch_PunchHoles", 48), ("_quill_Fold", 48), ("_quill_OutputTray", 48),
            ("_quill_OffsetMode", 48), ("_quill_PagePrintOnCenter", 24), ("_quill_AutoTraySettingToBypass", 24)]
    subviews = [label("_titleFavorite", "Favorites:", 20, 428, 90),
                OrderedDict([("class", "PopUpButton"), ("outlet", "_Favorite"), ("frame", [110, 424, 170, 26]),
                             ("action", "selectFavorite:")]),
                button("_saveFavoriteButton", "Save...", "clickedSaveFavoriteButton:", 290, 422, 96),
                button("_deleteFavoriteButton", "Delete...", "clickedDeleteFavoriteButton:", 390, 422, 96),
                button("_browseFavoriteButton", "Browse...", "clickedBrowseFavoriteButton:", 490, 422, 96)]
    top = 412
    for outlet, h in left:
        top -= h
        # The two check boxes at the bottom run under the buttons: their
        # titles are longer than the left column.
        subviews.append(quill(outlet, 10, top, 340 if h > 24 else 570, h))
    x, w = 370, 210
    subviews += [
        button("_automaticPaperTraySelectionButton", "Automatic Tray...", "clickedSelectPaperTraySelectionButton:",
               x, 360, w, tag=0),
        button("_bypassPaperTraySelectionButton", "Bypass Tray...", "clickedSelectPaperTraySelectionButton:",
               x, 324, w, tag=1, hidden=True),
        label("_jobName", "Auto", x, 280, w),
        button("_jobNameButton", "Job name...", "clickedJobNameButton:", x, 248, w),
        button("_showDetailedSettingsButton", "Show Detailed Settings", "clickedShowDetailedSettingsButton:",
               x, 120, w),
        button("_revertToDefaultSettingsButton", "Revert to Default Settings", "clickedRevertToDefaultSettings:",
               x, 84, w),
    ]
    view = OrderedDict([("class", "View"), ("outlet", "_View"), ("frame", [0, 0, width, height_]),
                        ("subviews", subviews)])
    # The panel's view comes in a window of its own (the outlet "win"); the
    # host moves the view into its dialog.
    content = OrderedDict([("class", "View"), ("frame", [0, 0, width, height_]), ("subviews", [view])])
    window = OrderedDict([("class", "Window"), ("title", "KZ Print Server"), ("frame", [100, 100, width, height_]),
                          ("contentView", content)])
    return OrderedDict(window=window)


def tray_window():
    """Both tray windows: paper type, colour and weight on the left (the
    bypass window's controls in the same places), the optional media
    properties on the right, which the window cuts off when it has none."""
    # Six rows of 48 under a margin of 20, then a gap of 12 above the
    # separator (at 52) so that the last pop-up does not sit on its line.
    width, height_ = 640, 372
    half = width // 2
    subviews = []
    # The six rows of the left column fill the window down to a gap above
    # the separator line: started 20 points down, the last pop-up sat on it.
    top = height_ - 12
    left = [(["_quill_PaperType_MediaTypeTabbed",
              "_quill_PaperType_MediaTypeTabbed_MediaTypeCoatingMaterial_MediaTypePreprinted_MediaTypeDrilled_"
              "PaperTypeCustomNumber",
              "_quill_PaperTypeBypass_MediaTypeTabbedBypass_MediaTypeCoatingMaterialBypass_"
              "MediaTypePreprintedBypass_MediaTypeDrilledBypass_PaperTypeCustomNumberBypass"], 48),
            (["_quill_PaperTypeCustomName"], 48),
            (["_quill_MediaTypeSequence", "_quill_MediaTypeSequenceBypass"], 48),
            (["_quill_PaperColor", "_quill_PaperColorBypass"], 48),
            (["_quill_PaperColorCustomName"], 48),
            (["_quill_MediaTypeWeightValue", "_quill_MediaTypeWeight", "_quill_MediaTypeWeightBypass"], 48)]
    for outlets, h in left:
        top -= h
        for outlet in outlets:
            subviews.append(quill(outlet, 10, top, half - 20, h))
    top = height_ - 12
    for outlet, h in [("_quill_MediaTypeCoatingMaterial", 48), ("_quill_MediaTypeDrilled", 24),
                      ("_quill_MediaTypeGlossFine", 24), ("_quill_MediaTypePreprinted", 24)]:
        top -= h
        subviews.append(quill(outlet, half + 10, top, half - 20, h))
    subviews.append(OrderedDict([("class", "Box"), ("outlet", "_separator"), ("frame", [16, 52, width - 32, 1])]))
    subviews.append(button("_close", "close", "clickButtonClose:", 16, 14, 100))
    content = OrderedDict([("class", "View"), ("outlet", "_View"), ("frame", [0, 0, width, height_]),
                           ("subviews", subviews)])
    window = OrderedDict([("class", "Panel"), ("title", "AutomaticWindowTitle"),
                          ("frame", [200, 300, width, height_]), ("contentView", content)])
    return OrderedDict(window=window)


def detailed_settings_window(pane_height):
    """The detailed settings window: every pane as a tab, or (view style
    "Tree") the pane tree on the left beside the front pane. The tabs stand
    left of 200 points and span the tree's room; the tree style moves their
    left edge 200 points right. With
    tabs a pane's controls begin at x = 187 inside its tab, with the tree at
    0, so the tab view is 187 points wider than a pane."""
    margin, tree_width = 20, 200
    tab_width = 187 + VIEW_WIDTH + 13
    tab_height = pane_height + 40
    width = margin + tree_width + tab_width + margin
    bottom = 56
    height_ = bottom + tab_height + margin
    outline = OrderedDict([("class", "OutlineView"), ("outlet", "_outlineview"), ("frame", [0, 0, 178, tab_height - 2]),
                           ("columns", [OrderedDict([("identifier", "name"), ("width", 170)])])])
    tree = OrderedDict([("class", "ScrollView"), ("frame", [margin, bottom, tree_width - 20, tab_height]),
                        ("hidden", True), ("documentView", outline)])
    # With tabs the tab view spans the tree's room as well (the window's
    # controller gives that room back to the tree in the tree style).
    tabs = OrderedDict([("class", "TabView"), ("outlet", "_tabView"),
                        ("frame", [margin, bottom, tree_width + tab_width, tab_height])])
    style = OrderedDict([("class", "PopUpButton"), ("outlet", "_viewStyle"), ("frame", [400, 16, 150, 26]),
                         ("action", "setupViewStylePopupButton:"),
                         ("items", [OrderedDict([("title", "Tabs"), ("tag", 1)]),
                                    OrderedDict([("title", "Tree"), ("tag", 2)])])])
    # Return and Escape are given to the buttons by the window's controller.
    cancel = button("_cancelButton", "Cancel", "cancelButton:", width - 250, 14, 110)
    ok = button("_okButton", "Setting", "okButton:", width - 130, 14, 110)
    subviews = [tree, tabs,
                button("_versionInfoButton", "version info...", "clickedVersionInfo:", margin, 14, 150),
                button("_revertToDefaultButton", "Revert to Default Settings", "clickedRevertToDefault:", 180, 14, 210),
                style, cancel, ok]
    content = OrderedDict([("class", "View"), ("frame", [0, 0, width, height_]), ("subviews", subviews)])
    window = OrderedDict([("class", "Window"), ("title", "Detailed Settings"), ("styleMask", 3),
                          ("frame", [120, 80, width, height_]), ("contentView", content)])
    return OrderedDict(window=window)


def job_name_window():
    """The job name dialog: Auto or Input above the name field and its
    caption, Cancel and OK at the bottom right. Every text is a key the
    dialog's controller looks up; Return and Escape go to OK and Cancel."""
    width, height_ = 420, 170
    radio = OrderedDict([("class", "Matrix"), ("outlet", "_SpecificJobNameRadio"), ("frame", [20, 104, 200, 44]),
                         ("action", "selectRatio:"),
                         ("cells", [OrderedDict([("title", "Auto"), ("tag", 0), ("representedObject", "Auto")]),
                                    OrderedDict([("title", "Input"), ("tag", 1), ("representedObject", "Input")])])])
    caption = label("_JobNameCaption", "Job name", 20, 76, 100)
    field = OrderedDict([("class", "TextField"), ("outlet", "_JobNameEdit"), ("frame", [120, 74, width - 140, 24])])
    subviews = [radio, caption, field,
                button("_cancelButton", "Cancel", "sheetCancel:", width - 240, 14, 100),
                button("_okButton", "OK", "sheetOk:", width - 120, 14, 100)]
    content = OrderedDict([("class", "View"), ("frame", [0, 0, width, height_]), ("subviews", subviews)])
    window = OrderedDict([("class", "Panel"), ("title", "Job name setting"), ("frame", [300, 400, width, height_]),
                          ("contentView", content)])
    return OrderedDict(window=window)


# -- string tables ---------------------------------------------------------------

def strings_table(keys, lang, header):
    out = [f"/* {header} */"]
    for k in keys:
        en, ja = TEXTS[k]
        value = en if lang == "en" else ja
        out.append(f'"{escape(k)}" = "{escape(value)}";')
    return "\n".join(out) + "\n"


def escape(s):
    return s.replace("\\", "\\\\").replace('"', '\\"').replace("\r", "\\r").replace("\n", "\\n")
