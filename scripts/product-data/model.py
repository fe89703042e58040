"""Where every option lives (the panel, the tray windows, each pane), its
control, and the rules between options."""

from collections import OrderedDict

from options import (COATINGS, CREASES, FOLDS, FOLDER_COMMON, INPUT_SLOTS, NO_DUPLEX_PAPERS, NO_PUNCH_PAPERS,
                     OTHER_TRAYS, OUTPUT_TRAYS, PAPER_COLORS, PAPER_SIZES, PAPER_TYPES, PUNCHES, RANGE_MODES, SADDLE,
                     SIDE_STAPLES, STACKER_TRAYS, STAPLES, TRIFOLDS, WEIGHTS, check, field, number, popup, text)

BYPASS_PAPER_TYPE = ("PaperTypeBypass_MediaTypeTabbedBypass_MediaTypeCoatingMaterialBypass_"
                     "MediaTypePreprintedBypass_MediaTypeDrilledBypass_PaperTypeCustomNumberBypass")
DUPLEXES = [("None", "Off", "オフ"), ("DuplexNoTumble", "Long-Edge Binding", "長辺とじ"),
            ("DuplexTumble", "Short-Edge Binding", "短辺とじ"),
            ("SimplexTumble", "One-Sided, Rotated", "片面 (180度回転)")]
TWO_SIDED = ["DuplexNoTumble", "DuplexTumble"]


def restore(value):
    return OrderedDict(restore=value)


def each(values, body):
    """The same rule body for several own values or patterns."""
    return OrderedDict((v, body) for v in values)


def unrestorable(title, title_ja, message, message_ja, others):
    """An unrestorable rule: its dialog texts (without a message the dialog
    adds that the old setting comes back), then other option -> its
    conflicting values (leaves)."""
    rule = OrderedDict(title=text(title, title_ja))
    if message:
        rule["message"] = text(message, message_ja)
    for key, values in others.items():
        rule[key] = OrderedDict((v, OrderedDict()) for v in values)
    return rule


def enable_when(option, on_values, targets, all_values=None):
    """condition: the targets are enabled for the values in on_values and
    disabled for every other value of the option."""
    for value in all_values or option.choice_values():
        option.rule("condition", value, OrderedDict((t, value in on_values) for t in targets))


def hide_unless(option, shown, all_values=None, targets=None):
    """hide: shown maps a value to the targets it shows; every target not
    shown for a value is hidden then."""
    targets = list(targets or [])
    for keys in shown.values():
        targets += [k for k in keys if k not in targets]
    for value in all_values or option.choice_values():
        option.rule("hide", value, OrderedDict((t, t not in shown.get(value, [])) for t in targets))


# -- the panel's nine controls and the tray windows (the main description file)

auto_to_bypass = check("AutoTraySettingToBypass", "Use the Automatic Tray Settings for the Bypass Tray",
                       "自動トレイ選択の設定を手差しトレイにも使用する")
duplex = popup("DuplexMode", "2-Sided Printing", "両面印刷", DUPLEXES, "None")
center = check("PagePrintOnCenter", "Print on the Center of the Page", "用紙中央に印刷")
staple = popup("StapleMode", "Staple", "ステープル", STAPLES, "None")
punch = popup("Punch_PunchHoles", "Punch", "パンチ", PUNCHES, "None")
fold = popup("Fold", "Fold", "折り", FOLDS, "None")
output_tray = popup("OutputTray", "Output Tray", "排出トレイ", OUTPUT_TRAYS, "Auto")
offset = popup("OffsetMode", "Offset", "オフセット",
               [("None", "Off", "オフ"), ("PerJob", "Per Job", "ジョブごと"), ("PerSet", "Per Set", "部ごと")], "None")
input_slot = popup("VLInputSlot", "Paper Tray", "給紙トレイ", INPUT_SLOTS, "AutoSelect")

paper_type = popup("PaperTypeD", "Paper Type", "用紙種類", PAPER_TYPES, "Plain")
paper_type_name = field("PaperTypeCustomName", "Custom Paper Type Name", "カスタム用紙種類名", max_byte=64)
sequence = field("MediaTypeSequence", "Paper Sequence", "用紙シーケンス", max_digit=32, text_type="ASCII")
color = popup("PaperColor", "Paper Color", "用紙色", PAPER_COLORS, "Auto")
color_name = field("PaperColorCustomName", "Custom Color Name", "カスタム色名", max_byte=64)
weight = popup("MediaTypeWeight", "Paper Weight", "坪量", WEIGHTS, "Auto")
coating = popup("MediaTypeCoatingMaterial", "Coating", "コーティング", COATINGS, "None")
drilled = check("MediaTypeDrilled", "Pre-Drilled Paper", "穴あき紙")
gloss = check("MediaTypeGlossFine", "Fine Gloss Finish", "高光沢仕上げ")
preprinted = check("MediaTypePreprinted", "Pre-Printed Paper", "印刷済み用紙")
bypass_type = popup(BYPASS_PAPER_TYPE, "Paper Type", "用紙種類", PAPER_TYPES, "Plain", ppd=None)
bypass_sequence = field("MediaTypeSequenceBypass", "Paper Sequence", "用紙シーケンス", max_digit=32, text_type="ASCII")
bypass_color = popup("PaperColorBypass", "Paper Color", "用紙色", PAPER_COLORS, "Auto")
bypass_weight = popup("MediaTypeWeightBypass", "Paper Weight", "坪量", WEIGHTS, "Auto")

PANEL = [auto_to_bypass, duplex, center, staple, punch, fold, output_tray, offset, input_slot]
TRAY_AUTOMATIC = [paper_type, paper_type_name, sequence, color, color_name, weight, coating, drilled, gloss,
                  preprinted]
TRAY_BYPASS = [bypass_type, bypass_sequence, bypass_color, bypass_weight]

# -- Page --------------------------------------------------------------------

size = popup("ChgPrintPaperSizeType", "Output Paper Size", "出力用紙サイズ", PAPER_SIZES, "NoChange")
size_width = number("ChgPrintPaperSizeWidth", "Width", "幅", "100.00", "330.20", "210.00", "mm (%@ - %@)",
                    "mm (%@～%@)")
size_length = number("ChgPrintPaperSizeLength", "Length", "長さ", "148.00", "487.70", "297.00", "mm (%@ - %@)",
                     "mm (%@～%@)")
orientation = popup("DocumentOrientation", "Orientation", "原稿の向き",
                    [("Portrait", "Portrait", "縦"), ("Landscape", "Landscape", "横")], "Portrait")
stock = field("StockName", "Stock Library Name", "用紙ライブラリー名", max_byte=128)
physical_mode = popup("PhysicalPageRangeMode", "Pages to Print (Sheets)", "印刷する用紙", RANGE_MODES, "All")
physical = field("PhysicalPageRange", "Sheets", "用紙番号", text_type="NUMOFPAGE", max_digit=255)
logical_mode = popup("LogicalPageRangeMode", "Pages to Print (Document Pages)", "印刷する原稿ページ", RANGE_MODES, "All")
logical = field("LogicalPageRange", "Document Pages", "原稿ページ番号", text_type="NUMOFPAGE", max_digit=255)
positions = [number(f"PrintPosition{side}{axis}", label, ja, "-50.00", "50.00", "0.00", "mm (%@ - %@)",
                    "mm (%@～%@)")
             for side, axis, label, ja in [("Front", "Width", "Front Side, Horizontal Shift", "表面 左右移動"),
                                           ("Front", "Length", "Front Side, Vertical Shift", "表面 上下移動"),
                                           ("Back", "Width", "Back Side, Horizontal Shift", "裏面 左右移動"),
                                           ("Back", "Length", "Back Side, Vertical Shift", "裏面 上下移動")]]
magnifications = [number(f"PrintPosition{side}{axis}Mag", label, ja, "90.0", "110.0", "100.0", "% (%@ - %@)",
                         "% (%@～%@)")
                  for side, axis, label, ja in [("Front", "Width", "Front Side, Horizontal Scale", "表面 左右倍率"),
                                                ("Front", "Length", "Front Side, Vertical Scale", "表面 上下倍率"),
                                                ("Back", "Width", "Back Side, Horizontal Scale", "裏面 左右倍率"),
                                                ("Back", "Length", "Back Side, Vertical Scale", "裏面 上下倍率")]]

# -- Layout ------------------------------------------------------------------

imposition = popup("ImpositionMode_ImpositionCustomMode", "Imposition", "面付け",
                   [("Off", "Off", "オフ"), ("Template", "Template", "テンプレート"), ("Nup", "N-Up", "Nアップ"),
                    ("Booklet", "Booklet", "製本")], "Off")
imposition_template = field("ImpositionTemplate", "Imposition Template", "面付けテンプレート", max_byte=255)
nup_pages = popup("ImpositionNup_NumOfPages", "Pages per Sheet", "1枚あたりのページ数",
                  [("2up", "2 Pages", "2ページ"), ("4up", "4 Pages", "4ページ"), ("8up", "8 Pages", "8ページ"),
                   ("16up", "16 Pages", "16ページ"), ("32up", "32 Pages", "32ページ")], "2up", ppd=None)
nup_fit = check("ImpositionNup_Fitting", "Scale to Fit", "用紙に合わせる", ppd=None)
booklet_binding = popup("ImpositionBooklet_LayoutBaseFile", "Binding", "綴じ方向",
                        [("Left", "Left Binding", "左綴じ"), ("Right", "Right Binding", "右綴じ")], "Left", ppd=None)
booklet_creep = number("ImpositionBooklet_CreepTotalOffset", "Creep Offset", "クリープ補正量", "0.00", "10.00", "0.00",
                       "mm (%@ - %@)", "mm (%@～%@)")
booklet_fit = check("ImpositionBooklet_Fitting", "Scale to Fit", "用紙に合わせる", ppd=None)
imp_pagination = popup("ImpositionPaginationMode", "Pagination", "ページ番号印字",
                       [("Off", "Off", "オフ"), ("Template", "Template", "テンプレート")], "Off")
imp_pagination_template = field("ImpositionPaginationTemplate", "Pagination Template", "ページ番号テンプレート",
                                max_byte=255)
first_tray = popup("Imposition1stTray", "First Sheet Tray", "1枚目の給紙トレイ", OTHER_TRAYS, "None")
first_stock = field("Imposition1stStockName", "First Sheet Stock", "1枚目の用紙ライブラリー名", max_byte=128)
imp_variable = popup("ImpositionVariablePrintMode", "Variable Printing", "可変印刷",
                     [("Off", "Off", "オフ"), ("UseForm", "Use a Form", "フォームを使用")], "Off")
imp_form = field("ImpositionFormName", "Form", "フォーム", max_byte=255)
imp_watermark = check("ImpositionWaterMark", "Watermark on Each Sheet", "用紙ごとにすかし")
imp_watermark_name = field("ImpositionWaterMarkName", "Watermark", "すかし", max_byte=255)

# -- Finishing ---------------------------------------------------------------

crease = popup("CreaseMode", "Crease", "クリース", CREASES, "None")
crease_num = popup("CreaseNum", "Number of Creases", "クリース数",
                   [(str(n), f"{n} Line" + ("s" if n > 1 else ""), f"{n}本") for n in range(1, 6)], "1")
crease_rows = []
for n in range(1, 6):
    crease_rows.append([
        number(f"CreasePosition{n}", f"Crease {n} Position", f"クリース{n} 位置", "0.00", "487.70", "0.00", "mm", "mm"),
        popup(f"CreaseDirection{n}", f"Crease {n} Direction", f"クリース{n} 方向",
              [("Mountain", "Mountain", "山折り"), ("Valley", "Valley", "谷折り")], "Mountain"),
        popup(f"CreasePressureLevel{n}", f"Crease {n} Pressure", f"クリース{n} 押し圧",
              [(f"Level{k}", f"Level {k}", f"レベル{k}") for k in range(1, 6)], "Level3"),
    ])
separators = popup("SeparatorsTray", "Separator Sheets", "合紙", OTHER_TRAYS, "None")
separators_stock = field("SeparatorsStockName", "Separator Stock", "合紙の用紙ライブラリー名", max_byte=128)
trimmer = check("TrimmerMode", "Trim the Fore Edge", "小口断裁")
trimmer_finished = number("TrimmerFinishedSize", "Finished Width", "仕上がり幅", "100.00", "330.20", "210.00", "mm", "mm")
trimmer_cut = number("TrimmerCutSize", "Cut Width", "断裁幅", "2.00", "20.00", "5.00", "mm", "mm")

# -- Color -------------------------------------------------------------------

# "CMYK" and "Gray" are names CUPS knows as colour and greyscale: with them a
# queue made from the PPD prints in colour unless asked otherwise. Stored
# favorites hold the print server's numbers, which the convert table keeps.
color_model = popup("ColorModel", "Color Mode", "カラーモード",
                    [("CMYK", "Color", "カラー"), ("CMYK2", "Color (Enhanced Black)", "カラー (黒強調)"),
                     ("Gray", "Grayscale", "グレースケール")], "CMYK")
rgb_correct = popup("VLRGBColorCorrect", "RGB Color Correction", "RGBカラー補正",
                    [("None", "Off", "オフ"), ("sRGB", "sRGB", "sRGB"), ("RGB", "Device RGB", "デバイスRGB"),
                     ("AdobeRGB", "Adobe RGB", "Adobe RGB"), ("sRGBAutoAdjust", "sRGB, Automatic", "sRGB 自動補正"),
                     ("sRGBAutoPerson", "sRGB, Portraits", "sRGB 人物"),
                     ("sRGBAutoScene", "sRGB, Scenery", "sRGB 風景"),
                     ("sRGBAutoOnSitePhoto", "sRGB, Site Photos", "sRGB 現場写真")], "sRGB")
cmyk_simulation = popup("VLCMYKSimulation", "CMYK Simulation", "CMYKシミュレーション",
                        [("None", "Off", "オフ"), ("JapanColor2011", "Japan Color 2011", "Japan Color 2011"),
                         ("FOGRA39", "FOGRA39", "FOGRA39"), ("SWOPCoated", "SWOP Coated", "SWOP コート")], "None")
graphics = popup("GraphicsTreatmentEx", "Graphics Treatment", "グラフィックス処理",
                 [("System", "System Setting", "システム設定"), ("JobImage", "As Images", "イメージとして処理"),
                  ("JobText", "As Text", "テキストとして処理")], "System")
outline = popup("OutlineEmphasisLevel", "Outline Emphasis", "輪郭強調",
                [(f"Emphasis{n}", t, j) for n, t, j in [(0, "Off", "オフ"), (1, "Low", "弱"), (2, "Medium", "中"),
                                                       (3, "High", "強")]], "Emphasis0")
line_width = number("MinimumLineWidthValue", "Minimum Line Width", "最小線幅", "0.000", "2.000", "0.100", "mm", "mm")
printer_mode = popup("PrinterMode", "Printer Mode", "プリンターモード",
                     [("Halftone1200dpi", "1200 dpi", "1200 dpi"), ("Contone600dpi", "600 dpi Contone", "600 dpi 多値")],
                     "Halftone1200dpi")
iq_text = check("IQImageSettingToText1200dpi", "Apply Image Quality Settings to Text", "画質設定をテキストにも適用")
screen = popup("IndividualGraphicsScreen1200dpi", "Screen", "スクリーン",
               [("Auto", "Automatic", "自動"), ("Screen150", "150 Lines", "150線"), ("Screen200", "200 Lines", "200線"),
                ("Screen300", "300 Lines", "300線")], "Auto")
image_adjust = check("ImageUserAdjust", "Image Adjustment Profile", "イメージ調整プロファイル")
image_adjust_name = field("ImageUserAdjustName", "Image Profile", "イメージプロファイル", max_byte=255)
text_adjust = check("TextUserAdjust", "Text Adjustment Profile", "テキスト調整プロファイル")
text_adjust_name = field("TextUserAdjustName", "Text Profile", "テキストプロファイル", max_byte=255)

# -- Job management (security print, mail notification) -----------------------

security = check("SecurityPrint", "Secure Print", "セキュリティープリント")
security_password = field("SecurityPrintPassword", "Password", "パスワード", secure=True, max_byte=32,
                          text_type="ASCII")
mail = check("MailNotifyJobEnd", "Notify by E-Mail When the Job Ends", "ジョブ終了をメールで通知")
mail_address = field("MailAddress", "E-Mail Address", "メールアドレス", text_type="EMAIL", max_byte=255)
sample = popup("SamplePrintMode", "Sample Print", "サンプルプリント",
               [("Off", "Off", "オフ"), ("SamplePrint", "Print One Sample Set", "1部だけ試し刷り"),
                ("ProofPrint", "Proof and Hold", "校正刷りして保留")], "Off")

# -- Spool options (saved file, job folder, record division) -------------------

save_file = popup("VLSaveFile", "Save as File", "ファイルとして保存",
                  [("None", "Off", "オフ")] +
                  [(f"{kind}{dpi}dpi", f"{kind} {dpi} dpi", f"{kind} {dpi} dpi")
                   for kind in ("TIFF", "PDF") for dpi in (200, 300, 400, 600, 1200)], "None")
job_folder = popup("VLJobFolder", "Job Folder", "ジョブフォルダー", [("", FOLDER_COMMON, "共通")], "", ppd=None)
record_div = popup("RecordDiv", "Record Division", "レコード分割",
                   [("Off", "Off", "オフ"), ("Job", "Divide into Jobs", "ジョブに分割"),
                    ("Set", "Divide into Sets", "部に分割")], "Off")
record_spec = check("RecordSpec", "Print Only the Specified Records", "指定したレコードだけ印刷")
record_number = field("RecordSpecNumber", "Records", "レコード番号", text_type="NUMOFPAGE", max_digit=255)

# -- Pagination, forms, watermarks, memo ----------------------------------------

pagination = popup("PaginationMode", "Pagination", "ページ番号印字",
                   [("Off", "Off", "オフ"), ("Template", "Template", "テンプレート")], "Off")
pagination_template = field("PaginationTemplate", "Pagination Template", "ページ番号テンプレート", max_byte=255)
variable = popup("VariablePrintMode", "Variable Printing", "可変印刷",
                 [("Off", "Off", "オフ"), ("UseForm", "Use a Form", "フォームを使用")], "Off")
form = field("FormName", "Form", "フォーム", max_byte=255)
form_width = number("FormPositionWidth", "Form Horizontal Position", "フォーム 左右位置", "-50.00", "50.00", "0.00",
                    "mm (%@ - %@)", "mm (%@～%@)")
form_length = number("FormPositionLength", "Form Vertical Position", "フォーム 上下位置", "-50.00", "50.00", "0.00",
                     "mm (%@ - %@)", "mm (%@～%@)")
watermark = check("WaterMark", "Watermark", "すかし")
watermark_name = field("WaterMarkName", "Watermark", "すかし", max_byte=255)
option_memo = check("OptionMemo", "Option Memo", "オプションメモ")
option_memo_file = field("OptionMemoFile", "Memo File", "メモファイル", max_byte=255)
user_memo = check("UserDefineMemo", "User-Defined Memo", "ユーザー定義メモ")
user_memo_file = field("UserDefineMemoFile", "User Memo File", "ユーザーメモファイル", max_byte=255)
memo_comment = check("MemoComment", "Memo Comment", "メモコメント")
memo_comment_content = field("MemoCommentContent", "Comment", "コメント", max_byte=255)

# -- Media: one bundle, two roles (front and back cover sheets) ----------------

def cover(side, side_en, side_ja):
    tray = popup(f"BlankPapers{side}Tray", f"{side_en} Cover Tray", f"{side_ja}表紙の給紙トレイ", OTHER_TRAYS, "None")
    stock_name = field(f"BlankPapers{side}StockName", f"{side_en} Cover Stock", f"{side_ja}表紙の用紙ライブラリー名",
                       max_byte=128)
    printed = check(f"BlankPapers{side}Print", f"Print on the {side_en} Cover", f"{side_ja}表紙に印刷する")
    return tray, stock_name, printed


front_tray, front_stock, front_print = cover("Front", "Front", "おもて")
back_tray, back_stock, back_print = cover("Back", "Back", "うら")

# -- rules -----------------------------------------------------------------------

# Enabling: a switch and the text it needs.
enable_when(input_slot, ["TrayStock"], ["StockName"])
enable_when(color, ["StockCustom"], ["PaperColorCustomName"])
enable_when(size, ["Custom"], ["ChgPrintPaperSizeWidth", "ChgPrintPaperSizeLength"])
enable_when(physical_mode, ["Appoint"], ["PhysicalPageRange"])
enable_when(logical_mode, ["Appoint"], ["LogicalPageRange"])
enable_when(center, ["False"], [o.key for o in positions])
enable_when(first_tray, ["TrayStock"], ["Imposition1stStockName"])
enable_when(imp_pagination, ["Template"], ["ImpositionPaginationTemplate"])
enable_when(imp_variable, ["UseForm"], ["ImpositionFormName"])
enable_when(imp_watermark, ["True"], ["ImpositionWaterMarkName"])
enable_when(crease, ["Custom"], ["CreaseNum"])
enable_when(separators, ["TrayStock"], ["SeparatorsStockName"])
enable_when(trimmer, ["True"], ["TrimmerFinishedSize", "TrimmerCutSize"])
enable_when(color_model, ["CMYK", "CMYK2"], ["VLRGBColorCorrect", "VLCMYKSimulation"])
enable_when(image_adjust, ["True"], ["ImageUserAdjustName"])
enable_when(text_adjust, ["True"], ["TextUserAdjustName"])
enable_when(security, ["True"], ["SecurityPrintPassword"])
enable_when(mail, ["True"], ["MailAddress"])
enable_when(record_div, ["Job", "Set"], ["RecordSpec", "RecordSpecNumber"])
enable_when(record_spec, ["True"], ["RecordSpecNumber"])
enable_when(pagination, ["Template"], ["PaginationTemplate"])
enable_when(variable, ["UseForm"], ["FormName", "FormPositionWidth", "FormPositionLength"])
enable_when(watermark, ["True"], ["WaterMarkName"])
enable_when(option_memo, ["True"], ["OptionMemoFile"])
enable_when(user_memo, ["True"], ["UserDefineMemoFile"])
enable_when(memo_comment, ["True"], ["MemoCommentContent"])
for tray, stock_name in ((front_tray, front_stock), (back_tray, back_stock)):
    enable_when(tray, ["TrayStock"], [stock_name.key])

# Enabling by items: an external finisher cannot shift sets, so it offers
# no offset per set.
for value in output_tray.choice_values():
    per_set = value != "Documentfinishing"
    output_tray.rule("condition", value,
                     OrderedDict(OffsetMode=OrderedDict([("None", True), ("PerJob", True), ("PerSet", per_set)])))

# Hiding: the imposition mode shows the keys of its own layout only.
hide_unless(imposition, {
    "Template": ["ImpositionTemplate"],
    "Nup": ["ImpositionNup_NumOfPages", "ImpositionNup_Fitting"],
    "Booklet": ["ImpositionBooklet_LayoutBaseFile", "ImpositionBooklet_CreepTotalOffset", "ImpositionBooklet_Fitting"],
})
# The crease count shows as many crease rows as it counts; no custom
# positions hide them all.
crease_keys = [[o.key for o in row] for row in crease_rows]
hide_unless(crease_num, {str(n): sum(crease_keys[:n], []) for n in range(1, 6)})
hide_unless(crease, {"Custom": crease_keys[0]}, targets=sum(crease_keys, []))
crease.rule("cooperation", "Custom", OrderedDict(CreaseNum="1"))
# The 1200 dpi image settings mean nothing in the contone mode.
hide_unless(printer_mode, {"Halftone1200dpi": ["IQImageSettingToText1200dpi", "IndividualGraphicsScreen1200dpi"]})

# Cooperation: saddle stitching makes a booklet; a booklet is printed on
# both sides, turned on the short edge.
for value in SADDLE:
    staple.rule("cooperation", value, OrderedDict(ImpositionMode_ImpositionCustomMode="Booklet"))
imposition.rule("cooperation", "Booklet", OrderedDict(DuplexMode="DuplexTumble"))
security.rule("cooperation", "True", OrderedDict(SamplePrintMode="Off"))

# Conflicts the user is asked about (the other option is reset on yes).
two_sided_papers = OrderedDict(PaperTypeD=each(NO_DUPLEX_PAPERS, restore("Plain")))
for value in TWO_SIDED:
    duplex.rule("conflict", value, two_sided_papers)
stacker_trays = OrderedDict(OutputTray=each(STACKER_TRAYS, restore("Auto")))
for value in SIDE_STAPLES + SADDLE:
    staple.rule("conflict", value, stacker_trays)
for value in STACKER_TRAYS:
    output_tray.rule("conflict", value, OrderedDict(StapleMode=each(SIDE_STAPLES + SADDLE, restore("None"))))
saddle_punch = OrderedDict(StapleMode=each(SADDLE, restore("None")))
for value in punch.choice_values()[1:]:
    punch.rule("conflict", value, saddle_punch)
for value in TRIFOLDS:
    fold.rule("conflict", value, OrderedDict(StapleMode=each(SIDE_STAPLES + SADDLE, restore("None"))))
for value in crease.choice_values()[1:]:
    crease.rule("conflict", value, OrderedDict(Fold=each(fold.choice_values()[1:], restore("None"))))
security.rule("conflict", "True", OrderedDict(VLSaveFile=each(save_file.choice_values()[1:], restore("None"))))
watermark.rule("conflict", "True", OrderedDict(ImpositionWaterMark=each(["True"], restore("False"))))
imp_watermark.rule("conflict", "True", OrderedDict(WaterMark=each(["True"], restore("False"))))
variable.rule("conflict", "UseForm", OrderedDict(ImpositionVariablePrintMode=each(["UseForm"], restore("Off"))))
imp_variable.rule("conflict", "UseForm", OrderedDict(VariablePrintMode=each(["UseForm"], restore("Off"))))
# An "and" of three options: a booklet on a manual-feed tray stapled at the
# side cannot be finished; the staple gives way.
imposition.rule("conflict", "Booklet", OrderedDict(VLInputSlot=OrderedDict(Manual=OrderedDict(
    StapleMode=each(SIDE_STAPLES, restore("None"))))))

# Conflicts that cannot be resolved (the change is refused with the reason).
for value in NO_DUPLEX_PAPERS:
    paper_type.rule("unrestorable_conflict", value, unrestorable(
        "This paper cannot be printed on both sides.", "この用紙には両面印刷できません。",
        "Choose one-sided printing first.", "先に片面印刷を選んでください。",
        OrderedDict(DuplexMode=TWO_SIDED)))
for value in NO_PUNCH_PAPERS:
    paper_type.rules["unrestorable_conflict"][value]["Punch_PunchHoles"] = OrderedDict(
        (v, OrderedDict()) for v in punch.choice_values()[1:])
sample.rule("unrestorable_conflict", "SamplePrint", unrestorable(
    "A secure print job cannot be sample printed.", "セキュリティープリントのジョブは試し刷りできません。",
    "Turn secure print off first.", "先にセキュリティープリントをオフにしてください。",
    OrderedDict(SecurityPrint=["True"])))
sample.rules["unrestorable_conflict"]["ProofPrint"] = sample.rules["unrestorable_conflict"]["SamplePrint"]
# ("__ALL__" stands for any change only in "conflict"; here every saved file
# type is named.)
for value in save_file.choice_values()[1:]:
    save_file.rule("unrestorable_conflict", value, unrestorable(
        "A secure print job cannot be saved as a file.", "セキュリティープリントのジョブはファイルに保存できません。",
        "Turn secure print off first.", "先にセキュリティープリントをオフにしてください。",
        OrderedDict(SecurityPrint=["True"])))
crease_num.rule("unrestorable_conflict", "__GREATER__:3", unrestorable(
    "More than three creases need a custom crease mode.", "4本以上のクリースは位置指定でのみ設定できます。",
    None, None, OrderedDict(CreaseMode=[v for v in crease.choice_values() if v not in ("None", "Custom")])))

# Hiding rules act on changes only, so what they hide at the defaults is
# hidden from the start.
def hide_at_defaults(options):
    by_key = {o.key: o for o in options}
    for o in options:
        for target, hidden in o.rules.get("hide", {}).get(o.default, {}).items():
            if hidden:
                by_key[target].extra["isHidden"] = True


# -- places ---------------------------------------------------------------------

MAIN_FILE = "KZPrintServerUI"  # the "VLPOD" name

# Each pane: its principal class, display name, and the rows of its view
# (several keys in a row share its width). A role pane has one view per role.
PANES = OrderedDict()
PANES["Page"] = dict(cls="PagePane", name=("Page", "ページ"), rows=[
    [size], [size_width, size_length], [orientation], [stock], [physical_mode, physical], [logical_mode, logical],
    positions[0:2], positions[2:4], magnifications[0:2], magnifications[2:4]])
PANES["Layout"] = dict(cls="LayoutPane", name=("Layout", "レイアウト"), rows=[
    [imposition], [imposition_template], [nup_pages, nup_fit], [booklet_binding, booklet_creep], [booklet_fit],
    [imp_pagination, imp_pagination_template], [first_tray, first_stock], [imp_variable, imp_form],
    [imp_watermark, imp_watermark_name]])
PANES["Finishing"] = dict(cls="FinishingPane", name=("Finishing", "後処理"), rows=[
    [crease, crease_num]] + crease_rows + [[separators, separators_stock], [trimmer], [trimmer_finished, trimmer_cut]])
PANES["Color"] = dict(cls="ColorPane", name=("Color", "カラー"), rows=[
    [color_model], [rgb_correct, cmyk_simulation], [graphics, outline], [line_width], [printer_mode],
    [iq_text], [screen], [image_adjust, image_adjust_name], [text_adjust, text_adjust_name]])
PANES["JobManagement"] = dict(cls="JobManagementPane", name=("Job Management", "ジョブ管理"), rows=[
    [security], [security_password], [mail], [mail_address], [sample]])
PANES["SpoolOptions"] = dict(cls="SpoolOptionsPane", name=("Spool Options", "スプール設定"), rows=[
    [save_file], [job_folder], [record_div], [record_spec], [record_number]])
PANES["PaginationForms"] = dict(cls="PaginationFormsPane", name=("Pagination and Forms", "ページ番号とフォーム"), rows=[
    [pagination, pagination_template], [variable, form], [form_width, form_length], [watermark, watermark_name],
    [option_memo, option_memo_file], [user_memo, user_memo_file], [memo_comment, memo_comment_content]])
PANES["Media"] = dict(cls="MediaPane", name=("Cover Sheets", "表紙"), roles=OrderedDict([
    ("Front", dict(name=("Front Cover", "おもて表紙"), rows=[[front_tray], [front_stock], [front_print]])),
    ("Back", dict(name=("Back Cover", "うら表紙"), rows=[[back_tray], [back_stock], [back_print]])),
]))


def pane_options(pane):
    rows = pane.get("rows", [])
    for role in pane.get("roles", {}).values():
        rows = rows + role["rows"]
    return [o for row in rows for o in row]


ALL_OPTIONS = PANEL + TRAY_AUTOMATIC + TRAY_BYPASS + [o for p in PANES.values() for o in pane_options(p)]
BY_KEY = OrderedDict((o.key, o) for o in ALL_OPTIONS)
if len(BY_KEY) != len(ALL_OPTIONS):
    raise SystemExit("an option is placed twice")
hide_at_defaults(ALL_OPTIONS)

# -- favorites manager and save dialog -----------------------------------------
# Keys the two favorite windows and the panel's Browse button look up.
FAVORITE_TEXTS = [
    text("Favorite window title", "お気に入りの管理", "Manage Favorites"),
    text("Favorite list", "お気に入り", "Favorites"),
    text("Setting list", "設定内容", "Settings"),
    text("Name", "名前"),
    text("Comment", "コメント"),
    text("Delete", "削除", "Delete"),
    text("Import", "読み込み...", "Import..."),
    text("Export", "書き出し...", "Export..."),
    text("Save Favorite", "お気に入りの保存", "Save Favorite"),
    text("Favorite name", "お気に入り名:", "Favorite name:"),
    text("Save", "保存", "Save"),
    text("Browse...", "管理...", "Manage..."),
    text("CurrentSetting", "現在の設定", "Current Settings"),
    text("Invalid favorite name", "このお気に入り名は使えません。27バイトまでで、空白だけの名前や次の文字は使えません: / : \\ * ? \" < > | ¥",
         "This favorite name cannot be used. Use at most 27 bytes, not only spaces, and none of / : \\ * ? \" < > |"),
    text("Invalid favorite name2", "標準のお気に入りと同じ名前は使えません。",
         "The name of the standard favorite cannot be used."),
    text("Invalid favorite comment", "コメントが長すぎるか、改行を含んでいます。",
         "The comment is too long or holds a line break."),
    text("characterSet_InvalidCharsForFavorite", "/:\\*?\"<>|¥", "/:\\*?\"<>|"),
    text("There is same favorite name", "「%@」という名前のお気に入りがすでにあります。",
         "A favorite named \"%@\" already exists."),
    text("fmtConfirmationOfDeleteFavorite", "お気に入り「%@」を削除しますか?", "Delete the favorite \"%@\"?"),
    text("Fail to save favorite file", "お気に入りを保存できませんでした。", "The favorite could not be saved."),
    text("Fail to loading favorite file", "お気に入りファイルを読み込めませんでした。",
         "The file could not be read as a favorite."),
]

# Choices renamed since favorites and convert tables were first written:
# option -> old name -> new name.
RENAMED_CHOICES = {"ColorModel": {"CMYK1": "CMYK"}}
