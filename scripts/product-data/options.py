"""The product's options: one table from which the control descriptions, the
views, the string tables, the PPD and the convert table rows are written, so
that they cannot drift apart.

Every text is given in English and Japanese. The English text is the key of
the "UI" string tables (descriptions name texts by key), except for the tray
titles, whose keys are the Japanese titles that the device option updater
hands to the pop-ups."""

from collections import OrderedDict

TEXTS = OrderedDict()  # key -> (en, ja)


def text(key, ja, en=None):
    """Registers a text key with its English and Japanese texts."""
    if en is None:
        en = TEXTS[key][0] if key in TEXTS else key
    if key in TEXTS and TEXTS[key] != (en, ja):
        raise SystemExit(f"text {key!r} given twice with different translations")
    TEXTS[key] = (en, ja)
    return key


class Option:
    """One option control. kind: CheckBox, PopupButton, TextField_text,
    SecureTextField_text, TextField_number. ppd: "pick", "bool" or None (the
    value travels in a custom print-settings entry)."""

    def __init__(self, key, kind, label, ja, choices=(), default=None, ppd=None, **extra):
        self.key = key
        self.kind = kind
        self.label = text(label, ja) if label else None
        self.choices = [(v, text(t, j)) for v, t, j in choices]
        self.default = default
        self.ppd = ppd
        self.extra = extra
        self.rules = OrderedDict()

    def rule(self, kind, own, body):
        self.rules.setdefault(kind, OrderedDict())[own] = body
        return self

    def choice_values(self):
        return [v for v, _ in self.choices]


ON_OFF = [("True", "On", "オン"), ("False", "Off", "オフ")]


def check(key, label, ja, default="False", ppd="bool", **extra):
    return Option(key, "CheckBox", label, ja, ON_OFF, default, ppd, **extra)


def popup(key, label, ja, choices, default=None, ppd="pick", **extra):
    return Option(key, "PopupButton", label, ja, choices, default if default is not None else choices[0][0], ppd,
                  **extra)


def field(key, label, ja, default="", secure=False, **extra):
    return Option(key, "SecureTextField_text" if secure else "TextField_text", label, ja, (), default or None, None,
                  **extra)


def number(key, label, ja, low, high, default, desc=None, desc_ja=None, **extra):
    if desc:
        extra["desc_text"] = text(desc, desc_ja)
    return Option(key, "TextField_number", label, ja, (), default, None, min=low, max=high, **extra)


# -- choice lists ---------------------------------------------------------

# Input trays: keywords of the device option updater (input-slot column), and
# its title keys.
INPUT_SLOTS = [
    ("AutoSelect", text("自動選択", "自動選択", "Auto Select"), None),
    ("Manual", text("手差しトレイ", "手差しトレイ", "Bypass Tray"), None),
    ("Tray1", text("トレイ1", "トレイ1", "Tray 1"), None),
    ("Tray2", text("トレイ2", "トレイ2", "Tray 2"), None),
    ("Tray3", text("トレイ3", "トレイ3", "Tray 3"), None),
    ("Tray4", text("トレイ4", "トレイ4", "Tray 4"), None),
    ("Tray6", text("トレイ6", "トレイ6", "Tray 6"), None),
    ("Tray7", text("トレイ7", "トレイ7", "Tray 7"), None),
    ("Tray8", text("トレイ8", "トレイ8", "Tray 8"), None),
    ("Tray9", text("トレイ9", "トレイ9", "Tray 9"), None),
    ("TrayInterposer", text("インターポーザー", "インターポーザー", "Interposer"), None),
    ("TrayJobSameTray", text("ジョブ設定を使用", "ジョブ設定を使用", "Use Job Setting"), None),
    ("TrayStock", text("メディア", "メディア", "Stock Library"), None),
    ("TraySystemSetting", text("システム設定に従う", "システム設定に従う", "Follow System Setting"), None),
]
INPUT_SLOTS = [(v, k, TEXTS[k][1]) for v, k, _ in INPUT_SLOTS]

# Trays of the other tray options (covers, separators, first sheet): the
# updater's other column, with an "off" entry first.
OTHER_TRAYS = [("None", "Off", "オフ")] + [
    ("TrayAuto", "自動選択", "自動選択"),
    ("TrayMSI", "手差しトレイ", "手差しトレイ"),
    ("Tray1", "トレイ1", "トレイ1"),
    ("Tray2", "トレイ2", "トレイ2"),
    ("Tray3", "トレイ3", "トレイ3"),
    ("Tray4", "トレイ4", "トレイ4"),
    ("TrayInterposer", "インターポーザー", "インターポーザー"),
    ("TrayStock", "メディア", "メディア"),
]

OUTPUT_TRAYS = [
    ("Auto", "自動選択", None),
    ("Stackertray", text("スタッカートレイ", "スタッカートレイ", "Stacker Tray"), None),
    ("Stackertray2", text("スタッカートレイ2", "スタッカートレイ2", "Stacker Tray 2"), None),
    ("Autochange", text("スタッカートレイ(自動切替え)", "スタッカートレイ(自動切替え)", "Stacker Tray (Auto Change)"), None),
    ("Documentfinishing", text("外部フィニッシャー", "外部フィニッシャー", "External Finisher"), None),
    ("Stackertoptray", text("スタッカー排出トレイ", "スタッカー排出トレイ", "Stacker Top Tray"), None),
    ("D3finishertray", text("フィニッシャートレイ", "フィニッシャートレイ", "Finisher Tray"), None),
    ("D3finishertoptray", text("フィニッシャー排出トレイ", "フィニッシャー排出トレイ", "Finisher Top Tray"), None),
    ("Stackertoptray2", text("スタッカー排出トレイ2", "スタッカー排出トレイ2", "Stacker Top Tray 2"), None),
]
OUTPUT_TRAYS = [(v, k, TEXTS[k][1]) for v, k, _ in OUTPUT_TRAYS]
STACKER_TRAYS = ["Stackertray", "Stackertray2", "Autochange", "Stackertoptray", "Stackertoptray2"]

STAPLE_CORNERS = [("TopLeftCorner", "Top Left", "左上"), ("TopRightCorner", "Top Right", "右上"),
                  ("BottomLeftCorner", "Bottom Left", "左下"), ("BottomRightCorner", "Bottom Right", "右下"),
                  ("MixSizeCorner", "Mixed Sizes, Corner", "サイズ混在 (コーナー)")]
STAPLE_EDGES = [("TopEdge", "2 Staples, Top", "上2か所"), ("BottomEdge", "2 Staples, Bottom", "下2か所"),
                ("LeftEdge", "2 Staples, Left", "左2か所"), ("RightEdge", "2 Staples, Right", "右2か所"),
                ("MixSizeEdge", "Mixed Sizes, 2 Staples", "サイズ混在 (2か所)")]
STAPLE_SADDLE = [("SaddleInside", "Saddle Stitch, Print Inside", "中綴じ (内側印刷)"),
                 ("SaddleOutside", "Saddle Stitch, Print Outside", "中綴じ (外側印刷)"),
                 ("Saddle", "Saddle Stitch", "中綴じ")]
STAPLE_CENTER = [("TopCenter", "1 Staple, Top Center", "上中央1か所"),
                 ("BottomCenter", "1 Staple, Bottom Center", "下中央1か所"),
                 ("LeftCenter", "1 Staple, Left Center", "左中央1か所"),
                 ("RightCenter", "1 Staple, Right Center", "右中央1か所")]
STAPLE_QUAD = [("TopEdge4", "4 Staples, Top", "上4か所"), ("BottomEdge4", "4 Staples, Bottom", "下4か所"),
               ("LeftEdge4", "4 Staples, Left", "左4か所"), ("RightEdge4", "4 Staples, Right", "右4か所")]
STAPLES = [("None", "Off", "オフ")] + STAPLE_CORNERS + STAPLE_EDGES + STAPLE_SADDLE + STAPLE_CENTER + STAPLE_QUAD
SADDLE = [v for v, _, _ in STAPLE_SADDLE]
SIDE_STAPLES = [v for v, _, _ in STAPLE_CORNERS + STAPLE_EDGES + STAPLE_CENTER + STAPLE_QUAD]

PUNCH_SIDES = [("Left", "Left", "左"), ("Right", "Right", "右"), ("Top", "Top", "上"), ("Bottom", "Bottom", "下"),
               ("MixSize", "Mixed Sizes", "サイズ混在")]
PUNCH_HOLES = [("Holes2", "2 Holes", "2穴"), ("Holes3", "3 Holes", "3穴"), ("Holes4", "4 Holes", "4穴"),
               ("HolesMulti", "Multiple Holes", "多穴")]
PUNCHES = [("None", "Off", "オフ")]
for holes, holes_en, holes_ja in PUNCH_HOLES:
    for side, side_en, side_ja in PUNCH_SIDES:
        if side == "MixSize" and holes == "HolesMulti":
            continue  # no such pair in the canonical form
        PUNCHES.append((side + holes, f"{side_en}, {holes_en}", f"{side_ja} {holes_ja}"))
for side, side_en, side_ja in PUNCH_SIDES:
    text(side_en, side_ja)
for holes, holes_en, holes_ja in PUNCH_HOLES:
    text(holes_en, holes_ja)

FOLDS = [("None", "Off", "オフ"),
         ("BifoldInside", "Bi-Fold, Print Inside", "二つ折り (内側印刷)"),
         ("BifoldOutside", "Bi-Fold, Print Outside", "二つ折り (外側印刷)"),
         ("Bifold", "Bi-Fold", "二つ折り"),
         ("ZfoldRightBind", "Z-Fold, Right Binding", "Z折り (右綴じ)"),
         ("ZfoldLeftBind", "Z-Fold, Left Binding", "Z折り (左綴じ)"),
         ("MixSizeZfold", "Z-Fold, Mixed Sizes", "Z折り (サイズ混在)"),
         ("C_TrifoldInside", "C-Tri-Fold, Print Inside", "三つ折り内 (内側印刷)"),
         ("C_TrifoldOutside", "C-Tri-Fold, Print Outside", "三つ折り内 (外側印刷)"),
         ("Z_TrifoldInside", "Z-Tri-Fold, Print Inside", "三つ折り外 (内側印刷)"),
         ("Z_TrifoldOutside", "Z-Tri-Fold, Print Outside", "三つ折り外 (外側印刷)")]
TRIFOLDS = ["C_TrifoldInside", "C_TrifoldOutside", "Z_TrifoldInside", "Z_TrifoldOutside"]

CREASES = [("None", "Off", "オフ"), ("SaddleFold", "Saddle Fold", "中折り"), ("CTriFold", "C-Tri-Fold", "三つ折り内"),
           ("ZTriFold", "Z-Tri-Fold", "三つ折り外"), ("ZFoldRightBind", "Z-Fold, Right Binding", "Z折り (右綴じ)"),
           ("ZFoldLeftBind", "Z-Fold, Left Binding", "Z折り (左綴じ)"),
           ("DoubleGateFold", "Double Gate Fold", "観音折り"), ("ParallelFold", "Double Parallel Fold", "二つ折り平行"),
           ("3LineAccordionFold", "Accordion Fold, 3 Lines", "蛇腹折り (3本)"),
           ("4LineAccordionFold", "Accordion Fold, 4 Lines", "蛇腹折り (4本)"),
           ("5LineAccordionFold", "Accordion Fold, 5 Lines", "蛇腹折り (5本)"),
           ("Custom", "Specified Positions", "位置指定")]

PAPER_TYPES = [("Plain", "Plain", "普通紙"), ("Recycled", "Recycled", "再生紙"), ("Bond", "Bond", "上質紙"),
               ("Coated1", "Coated 1", "コート紙1"), ("Coated2", "Coated 2", "コート紙2"),
               ("Thick1", "Heavyweight 1", "厚紙1"), ("Thick2", "Heavyweight 2", "厚紙2"),
               ("Thick3", "Heavyweight 3", "厚紙3"), ("Transparency", "Transparency", "OHPフィルム"),
               ("Label", "Labels", "ラベル紙"), ("Tab", "Tab Stock", "インデックス紙"),
               ("Envelope", "Envelope", "封筒")]
NO_DUPLEX_PAPERS = ["Transparency", "Label", "Envelope"]
NO_PUNCH_PAPERS = ["Transparency", "Label"]

PAPER_COLORS = [("Auto", "Any Color", "指定なし"), ("White", "White", "白"), ("Ivory", "Ivory", "アイボリー"),
                ("Yellow", "Yellow", "黄"), ("Pink", "Pink", "ピンク"), ("Blue", "Blue", "青"),
                ("Green", "Green", "緑"), ("Gray", "Gray", "グレー"), ("Buff", "Buff", "もえぎ"),
                ("StockCustom", "Custom Color", "カスタム色")]

WEIGHTS = [("Auto", "Any Weight", "指定なし"), ("W52to63", "52-63 gsm", "52～63 gsm"),
           ("W64to79", "64-79 gsm", "64～79 gsm"), ("W80to105", "80-105 gsm", "80～105 gsm"),
           ("W106to135", "106-135 gsm", "106～135 gsm"), ("W136to176", "136-176 gsm", "136～176 gsm"),
           ("W177to220", "177-220 gsm", "177～220 gsm"), ("W221to256", "221-256 gsm", "221～256 gsm"),
           ("W257to300", "257-300 gsm", "257～300 gsm"), ("W301to350", "301-350 gsm", "301～350 gsm")]

COATINGS = [("None", "Uncoated", "コートなし"), ("Glossy", "Glossy", "光沢"), ("Matte", "Matte", "マット"),
            ("Silk", "Silk", "シルク")]

PAPER_SIZES = [("NoChange", "Same as Document", "原稿と同じ"), ("A3", "A3", "A3"),
               ("A4SEF", "A4 (Short Edge Feed)", "A4 (縦送り)"), ("A4LEF", "A4 (Long Edge Feed)", "A4 (横送り)"),
               ("A5", "A5", "A5"), ("B4", "B4", "B4"), ("B5SEF", "B5 (Short Edge Feed)", "B5 (縦送り)"),
               ("B5LEF", "B5 (Long Edge Feed)", "B5 (横送り)"),
               ("85x110SEF", "Letter (Short Edge Feed)", "レター (縦送り)"),
               ("85x110LEF", "Letter (Long Edge Feed)", "レター (横送り)"), ("85x140", "Legal", "リーガル"),
               ("110x170", "Tabloid", "タブロイド"), ("120x180", "12 x 18 in", "12×18インチ"),
               ("126x177", "SRA3", "SRA3"), ("Hagaki", "Postcard", "はがき"), ("Custom", "Custom Size", "カスタムサイズ")]

RANGE_MODES = [("All", "All Pages", "すべて"), ("Appoint", "Page Range", "ページ指定")]
FOLDER_COMMON = text("#共通", "共通", "Common Folder")
