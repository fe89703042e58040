"""The favorites manager window and the save-favorite dialog. Every title
is a text key; the window controllers look them up."""

from collections import OrderedDict

from writers import button, label


def field(outlet, x, y, w, tag):
    return OrderedDict([("class", "TextField"), ("outlet", outlet), ("frame", [x, y, w, 22]), ("tag", tag),
                        ("editable", True)])


def scrolled(view, x, y, w, h):
    return OrderedDict([("class", "ScrollView"), ("frame", [x, y, w, h]), ("documentView", view)])


def favorite_window():
    """The list of favorites on the left, the settings of the selected one on
    the right, the selected favorite's name and comment below them, Delete,
    Import and Export under those, Cancel and OK at the bottom right."""
    width, height_ = 660, 440
    list_ = OrderedDict([("class", "TableView"), ("outlet", "_favoriteListView"), ("tag", 10),
                         ("frame", [0, 0, 298, 236]),
                         ("columns", [OrderedDict([("identifier", "name"), ("width", 175)]),
                                      OrderedDict([("identifier", "comment"), ("width", 115)])])])
    tree = OrderedDict([("class", "OutlineView"), ("outlet", "_treeView"), ("tag", 11),
                        ("frame", [0, 0, 298, 236]),
                        ("columns", [OrderedDict([("identifier", "name"), ("width", 290)])])])
    subviews = [
        label("_listTitle", "Favorite list", 20, 400, 300),
        scrolled(list_, 20, 160, 300, 238),
        label("_settingTitle", "Setting list", 340, 400, 300),
        scrolled(tree, 340, 160, 300, 238),
        label("_nameTitle", "Name", 20, 122, 90),
        field("_nameField", 110, 120, 240, 1),
        label("_commentTitle", "Comment", 20, 90, 90),
        field("_commentField", 110, 88, 530, 2),
        button("_deleteButton", "Delete", "clickedDelete:", 20, 50, 100),
        button("_importButton", "Import", "clickedImport:", 126, 50, 100),
        button("_exportButton", "Export", "clickedExport:", 232, 50, 100),
        button("_cancelButton", "Cancel", "sheetCancel:", width - 240, 14, 110),
        button("_okButton", "OK", "sheetOk:", width - 125, 14, 110),
    ]
    content = OrderedDict([("class", "View"), ("frame", [0, 0, width, height_]), ("subviews", subviews)])
    window = OrderedDict([("class", "Window"), ("title", "Favorite window title"), ("styleMask", 3),
                          ("frame", [140, 120, width, height_]), ("contentView", content)])
    return OrderedDict(window=window)


def save_favorite_window():
    """The name and the comment of the new favorite, Cancel and Save."""
    width, height_ = 480, 150
    subviews = [
        label("_nameTitle", "Favorite name", 20, 108, 120),
        field("_nameField", 140, 106, 320, 1),
        label("_commentTitle", "Comment", 20, 74, 120),
        field("_commentField", 140, 72, 320, 2),
        button("_cancelButton", "Cancel", "sheetCancel:", width - 240, 14, 110),
        button("_saveButton", "Save", "sheetOk:", width - 125, 14, 110),
    ]
    content = OrderedDict([("class", "View"), ("frame", [0, 0, width, height_]), ("subviews", subviews)])
    window = OrderedDict([("class", "Window"), ("title", "Save Favorite"), ("styleMask", 3),
                          ("frame", [160, 300, width, height_]), ("contentView", content)])
    return OrderedDict(window=window)
