"""The product PPD: every option of the model whose value is a choice, the
canonical keys that the conversion derives from them, the constraints that
mirror the rules, and Japanese translations."""

from collections import OrderedDict

import ipp
import model
from options import TEXTS
from writers import INTERNAL_ONLY


class PpdOption:
    def __init__(self, key, label, ja, kind, choices, default):
        self.key, self.label, self.ja, self.kind = key, label, ja, kind
        self.choices = choices  # (keyword, en, ja)
        self.default = default


def from_model(o):
    if o.ppd is None or o.key in INTERNAL_ONLY:
        return None
    en, ja = TEXTS[o.label]
    # libcups keeps the choice name "Custom" for custom options and renames
    # such a choice; the value "Custom" travels in a custom entry instead.
    choices = [(v, TEXTS[t][0], TEXTS[t][1]) for v, t in o.choices if v and v != "Custom"]
    kind = "Boolean" if o.ppd == "bool" else "PickOne"
    return PpdOption(o.key, en, ja, kind, choices, o.default)


def derived(key, en, ja, choices, default=None, kind="PickOne"):
    choices = [(c, TEXTS[t][0] if t in TEXTS else t, j) for c, t, j in choices]
    return PpdOption(key, en, ja, kind, choices, default or choices[0][0])


ON_OFF = [("True", "On", "オン"), ("False", "Off", "オフ")]
TRAY_STOCK_TYPES = [("Property", "By Paper Properties", "用紙属性で指定"), ("Name", "By Stock Name", "用紙名で指定")]

# Keys that the canonical form splits or derives: the PPD lists them so
# that the panel marks them as choices instead of sending custom entries.
DERIVED = OrderedDict()
DERIVED["General"] = [
    derived("Duplex", "2-Sided Printing (System)", "両面印刷 (システム)",
            [("None", "Off", "オフ"), ("DuplexNoTumble", "Long-Edge Binding", "長辺とじ"),
             ("DuplexTumble", "Short-Edge Binding", "短辺とじ")]),
    derived("Collate", "Collate", "部単位で印刷", ON_OFF, "True", "Boolean"),
    derived("Punch", "Punch Position", "パンチ位置", [("None", "Off", "オフ")] + [
        (s, e, j) for s, e, j in [("Left", "Left", "左"), ("Right", "Right", "右"), ("Top", "Top", "上"),
                                   ("Bottom", "Bottom", "下"), ("MixSize", "Mixed Sizes", "サイズ混在")]]),
    derived("PunchHoles", "Punch Holes", "パンチ穴数", [("None", "Off", "オフ"), ("Holes2", "2 Holes", "2穴"),
                                                     ("Holes3", "3 Holes", "3穴"), ("Holes4", "4 Holes", "4穴"),
                                                     ("HolesMulti", "Multiple Holes", "多穴")]),
    derived("StockType", "Paper Tray Selection", "給紙トレイの指定方法", TRAY_STOCK_TYPES),
]
DERIVED["Layout"] = [
    derived("ImpositionMode", "Imposition Mode", "面付けモード",
            [("Off", "Off", "オフ"), ("Template", "Template", "テンプレート"), ("Job", "Job Setting", "ジョブ設定")]),
    derived("ImpositionCustomMode", "Imposition Layout", "面付けレイアウト",
            [("Advanced", "Advanced", "詳細"), ("Nup", "N-Up", "Nアップ"), ("Booklet", "Booklet", "製本")]),
    derived("Fitting", "Scale to Fit", "用紙に合わせる", ON_OFF, "False", "Boolean"),
    derived("LayoutRepeatX", "Columns", "列数", [(str(n), str(n), str(n)) for n in (1, 2, 4, 8)]),
    derived("LayoutRepeatY", "Rows", "行数", [(str(n), str(n), str(n)) for n in (1, 2, 4, 8)]),
    derived("SheetDirection", "Sheet Direction", "用紙の向き",
            [("Landscape", "Landscape", "横"), ("Portrait", "Portrait", "縦")]),
    derived("FinishSheetDirection", "Finished Page Direction", "仕上がりの向き",
            [("Portrait", "Portrait", "縦"), ("Landscape", "Landscape", "横")]),
    derived("LayoutBaseFile", "Layout Template File", "レイアウト定義ファイル",
            [("Normal-1side.json", "Normal", "標準"), ("NUp-1side.json", "N-Up", "Nアップ"),
             ("SaddleStiching2x1(LeftBinding).json", "Booklet, Left Binding", "製本 左綴じ"),
             ("SaddleStiching2x1(RightBinding).json", "Booklet, Right Binding", "製本 右綴じ")]),
    derived("RotationAngle", "Rotation", "回転", [("Rotate0", "None", "なし"), ("Rotate90", "90 Degrees", "90度")]),
    derived("ImpositionAutoDuplex", "Automatic 2-Sided Imposition", "自動両面面付け", ON_OFF, "False", "Boolean"),
    derived("NupLayout", "Page Order", "ページ順", [("Z", "Z Order", "Z順")]),
    derived("FascicleMode", "Fascicles", "分冊", [("None", "Off", "オフ")]),
    derived("CreepSetting", "Creep Compensation", "クリープ補正", ON_OFF, "False", "Boolean"),
    derived("Imposition1stStockType", "First Sheet Tray Selection", "1枚目の給紙トレイの指定方法", TRAY_STOCK_TYPES),
]
DERIVED["Finishing"] = [
    derived("SeparatorsStockType", "Separator Tray Selection", "合紙の給紙トレイの指定方法", TRAY_STOCK_TYPES),
]
DERIVED["Color"] = [
    derived("GraphicsTreatmentBase", "Graphics Treatment Source", "グラフィックス処理の指定",
            [("System", "System Setting", "システム設定"), ("Job", "Job Setting", "ジョブ設定")]),
    derived("GraphicsTreatmentMode", "Graphics Treatment Mode", "グラフィックス処理方法",
            [("Image", "As Images", "イメージとして処理"), ("Text", "As Text", "テキストとして処理")]),
    derived("OutlineEmphasis", "Outline Emphasis On", "輪郭強調する", ON_OFF, "False", "Boolean"),
    derived("IQImageSettingToText", "Apply Image Quality Settings to Text (Printer)", "画質設定をテキストにも適用 (プリンター)",
            ON_OFF, "False", "Boolean"),
    derived("IndividualGraphicsScreen", "Screen (Printer)", "スクリーン (プリンター)",
            [("Auto", "Automatic", "自動"), ("Screen150", "150 Lines", "150線"), ("Screen200", "200 Lines", "200線"),
             ("Screen300", "300 Lines", "300線")]),
]
DERIVED["Media"] = [
    derived("BlankPapersFrontStockType", "Front Cover Tray Selection", "おもて表紙の給紙トレイの指定方法",
            TRAY_STOCK_TYPES),
    derived("BlankPapersBackStockType", "Back Cover Tray Selection", "うら表紙の給紙トレイの指定方法", TRAY_STOCK_TYPES),
]


def canonical(key, value):
    """A rule's (key, value) as the PPD knows it: joined internal keys stand
    for the canonical key that carries the meaning."""
    if key == "Punch_PunchHoles":
        for side in ("MixSize", "Bottom", "Right", "Left", "Top"):
            if value.startswith(side):
                return ("Punch", side)
        return None
    if key == "ImpositionMode_ImpositionCustomMode":
        return {"Template": ("ImpositionMode", "Template"), "Nup": ("ImpositionCustomMode", "Nup"),
                "Booklet": ("ImpositionCustomMode", "Booklet")}.get(value)
    return (key, value)


def own_values(option, pattern):
    """The option values a rule's own pattern stands for."""
    values = [v for v in option.choice_values() if v]
    if pattern == "__ALL__":
        return [v for v in values if v != option.default]
    if pattern.startswith("__GREATER__:"):
        limit = float(pattern[len("__GREATER__:"):])
        return [v for v in values if v.isdigit() and float(v) > limit]
    if pattern.startswith("__LESS__:"):
        limit = float(pattern[len("__LESS__:"):])
        return [v for v in values if v.isdigit() and float(v) < limit]
    return [pattern]


def has_choice(p, value):
    return value in [c for c, _, _ in p.choices]


def constraints(options_by_key, resolutions=None):
    """Pairs of choices that the conflict rules keep apart (both
    directions). Rules of three options only hold together and have no
    pair. RESOLUTIONS, when given, gets for a pair the choice that the
    panel's rule puts back on the pair's second option."""
    pairs = []
    for o in model.ALL_OPTIONS:
        for kind in ("conflict", "unrestorable_conflict"):
            for own, rule in o.rules.get(kind, {}).items():
                if own in ("title", "message"):
                    continue
                for other, patterns in rule.items():
                    if other in ("title", "message"):
                        continue
                    for pattern, outcome in patterns.items():
                        if pattern in ("title", "message"):
                            continue
                        if kind == "conflict" and "restore" not in outcome:
                            continue  # an "and" of three options
                        if kind == "unrestorable_conflict" and any(k not in ("title", "message") for k in outcome):
                            continue
                        for a in own_values(o, own):
                            for b in own_values(model.BY_KEY[other], pattern):
                                left, right = canonical(o.key, a), canonical(other, b)
                                if not left or not right:
                                    continue
                                back = canonical(other, outcome["restore"]) if "restore" in outcome else None
                                if resolutions is not None and back and back[0] == right[0] and \
                                        right[0] in options_by_key and has_choice(options_by_key[right[0]], back[1]):
                                    resolutions.setdefault((left, right), back[1])
                                for x, y in ((left, right), (right, left)):
                                    if x[0] in options_by_key and y[0] in options_by_key and not (
                                            has_choice(options_by_key[x[0]], x[1])
                                            and has_choice(options_by_key[y[0]], y[1])):
                                        continue
                                    if x[0] in options_by_key and y[0] in options_by_key and (x, y) not in pairs:
                                        pairs.append((x, y))
    return pairs


GROUPS = [("General", "General", "基本"), ("Paper", "Paper", "用紙"), ("Page", "Page", "ページ"),
          ("Layout", "Layout", "レイアウト"), ("Finishing", "Finishing", "後処理"), ("Color", "Color", "カラー"),
          ("JobManagement", "Job Management", "ジョブ管理"), ("SpoolOptions", "Spool Options", "スプール設定"),
          ("PaginationForms", "Pagination and Forms", "ページ番号とフォーム"), ("Media", "Cover Sheets", "表紙")]

HEADER = """*PPD-Adobe: "4.3"
*% The PPD of the KZ Print Server panel. Written by scripts/make-product-data
*% from the same table as the control descriptions: edit the table, not this file.
*%
*% Options whose value is a text or a number (passwords, mail addresses, stock
*% and resource names, page ranges, lengths, magnifications) are
*% not PPD options: the panel sends every value that is not a choice of this
*% PPD in a custom print-settings entry, and a PPD option would bring its
*% default choice back as the field's text on restore. For the same reason
*% the joined keys of the internal form (Punch_PunchHoles,
*% ImpositionMode_ImpositionCustomMode, the long bypass paper type key, whose
*% name exceeds the 40 characters of a PPD keyword) appear here only as the
*% canonical keys that the conversion makes of them. The job name and its
*% mode travel only in their own custom entries: a PPD option would be marked
*% at its default beside them and contradict them.
*%
*% The value "Custom" (a custom paper size, creases at given positions) is no
*% choice here: libcups keeps that name for custom options and renames such a
*% choice, so the value travels in a custom entry with the option left at its
*% default.
*%
*% cupstestppd warns that some option keywords begin with another one
*% (Duplex/DuplexMode, Punch/PunchHoles, PaperColor/PaperColorBypass,
*% MediaTypeWeight/MediaTypeWeightBypass, OutlineEmphasis/OutlineEmphasisLevel,
*% IQImageSettingToText/...1200dpi, IndividualGraphicsScreen/...1200dpi). The
*% print server reads these names, and libcups finds options by whole name, so
*% the shared prefixes are kept.
*FormatVersion: "4.3"
*FileVersion: "2.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*cupsLanguages: "ja"
*PCFileName: "KZPRINT.PPD"
*Manufacturer: "KZ"
*Product: "(KZ Print Server)"
*ModelName: "KZ Print Server"
*ShortNickName: "KZ Print Server"
*NickName: "KZ Print Server"
*% The print dialog loads the panel for the printers whose PPD names it.
*APDialogExtension: "/usr/lib/kzpde/KZPrintServer.plugin"
*PSVersion: "(3010.000) 0"
*LanguageLevel: "3"
*ColorDevice: True
*DefaultColorSpace: CMYK
*FileSystem: False
*Throughput: "100"
*LandscapeOrientation: Plus90
*TTRasterizer: Type42
*DefaultFont: Courier
*Font Courier: Standard "(002.004S)" Standard ROM
"""

SIZES = [("A4", "A4", "A4", 595, 842), ("A3", "A3", "A3", 842, 1191), ("B4", "B4", "B4", 729, 1032),
         ("Letter", "Letter", "レター", 612, 792), ("Tabloid", "Tabloid", "タブロイド", 792, 1224)]


def page_sizes(out, trans):
    out.append('*OpenUI *PageSize/Page Size: PickOne')
    out.append('*OrderDependency: 10 AnySetup *PageSize')
    out.append('*DefaultPageSize: A4')
    for k, en, _, w, h in SIZES:
        out.append(f'*PageSize {k}/{en}: "<</PageSize[{w} {h}]/ImagingBBox null>>setpagedevice"')
    out.append('*CloseUI: *PageSize')
    out.append('*OpenUI *PageRegion/Page Region: PickOne')
    out.append('*OrderDependency: 10 AnySetup *PageRegion')
    out.append('*DefaultPageRegion: A4')
    for k, en, _, w, h in SIZES:
        out.append(f'*PageRegion {k}/{en}: "<</PageSize[{w} {h}]/ImagingBBox null>>setpagedevice"')
    out.append('*CloseUI: *PageRegion')
    out.append('*DefaultImageableArea: A4')
    for k, en, _, w, h in SIZES:
        out.append(f'*ImageableArea {k}/{en}: "12 12 {w - 12} {h - 12}"')
    out.append('*DefaultPaperDimension: A4')
    for k, en, _, w, h in SIZES:
        out.append(f'*PaperDimension {k}/{en}: "{w} {h}"')
    trans.append('*ja.Translation PageSize/用紙サイズ: ""')
    trans.append('*ja.Translation PageRegion/用紙領域: ""')
    for k, _, ja, _, _ in SIZES:
        for name in ("PageSize", "PageRegion", "ImageableArea", "PaperDimension"):
            trans.append(f'*ja.{name} {k}/{ja}: ""')


def check_text(s):
    if ":" in s or "/" in s or len(s.encode()) > 80:
        raise SystemExit(f"PPD text {s!r} holds ':' or '/' or is longer than 80 bytes")
    return s


def check_keyword(s):
    if len(s) > 40 or not all(33 <= ord(c) < 127 and c not in "/:" for c in s):
        raise SystemExit(f"PPD keyword {s!r} is not a keyword of at most 40 characters")
    return s


def write(places):
    """places: group name -> model options; returns the PPD text without the
    server lists."""
    groups = OrderedDict((g, []) for g, _, _ in GROUPS)
    for group, options in places.items():
        for o in options:
            p = from_model(o)
            if p:
                groups[group].append(p)
    for group, options in DERIVED.items():
        groups[group] += options
    by_key = OrderedDict((p.key, p) for ps in groups.values() for p in ps)
    if len(by_key) != sum(len(ps) for ps in groups.values()):
        raise SystemExit("a PPD option is listed twice")

    out, trans = [HEADER.rstrip("\n")], []
    page_sizes(out, trans)
    order = 20
    for group, en, ja in GROUPS:
        if not groups[group]:
            continue
        out.append(f"*OpenGroup: {group}/{en}")
        trans.append(f'*ja.Translation {group}/{ja}: ""')
        for p in groups[group]:
            check_keyword(p.key)
            out.append(f"*OpenUI *{p.key}/{check_text(p.label)}: {p.kind}")
            out.append(f"*OrderDependency: {order} AnySetup *{p.key}")
            out.append(f"*Default{p.key}: {p.default}")
            if p.default not in [c for c, _, _ in p.choices]:
                raise SystemExit(f"{p.key}: default {p.default} is not a choice")
            for c, cen, _ in p.choices:
                out.append(f'*{p.key} {check_keyword(c)}/{check_text(cen)}: ""')
            out.append(f"*CloseUI: *{p.key}")
            trans.append(f'*ja.Translation {p.key}/{check_text(p.ja)}: ""')
            for c, _, cja in p.choices:
                trans.append(f'*ja.{p.key} {c}/{check_text(cja)}: ""')
        out.append(f"*CloseGroup: {group}")
    out.append("*% Choices that cannot be set together; the panel's rules ask the user")
    out.append("*% or refuse the change, these keep other dialogs from setting them.")
    for (k1, v1), (k2, v2) in constraints(by_key):
        if v1 not in [c for c, _, _ in by_key[k1].choices] or v2 not in [c for c, _, _ in by_key[k2].choices]:
            raise SystemExit(f"constraint {k1} {v1} {k2} {v2} names a choice the PPD lacks")
        out.append(f"*UIConstraints: *{k1} {v1} *{k2} {v2}")
    out.append("*% The same conflicts for print dialogs, each with the choice the panel")
    out.append("*% puts back when it resolves one.")
    resolutions = {}
    pairs = constraints(by_key, resolutions)
    out += ipp.constraint_lines(pairs, resolutions)
    out.append("*% Finishing choices as IPP finishings values, which the product's")
    out.append("*% backend and every IPP-aware dialog read.")
    out += ipp.finishing_lines(by_key)
    out.append("*% Japanese")
    out += trans
    return "\n".join(out) + "\n", by_key
