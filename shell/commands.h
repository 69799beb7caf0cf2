// The command numbers of the navigator window. Every toolbar button, menu item, key and
// command link reaches the controller's one command handler with one of these numbers.
#pragma once

namespace kestrova {

enum NavCommand : int {
    ID_GO_BACK = 32771,
    ID_GO_FORWARD = 32772,
    ID_SHOW_CONTENTS = 32773,
    ID_SHOW_INDEX = 32774,
    ID_FIND_IN_CONTENTS = 32775,
    ID_SEARCH = 32776,
    ID_FIND_ON_PAGE = 32777,
    ID_PRINT_PAGE = 32778,
    ID_MAIN_MENU = 32779,
    ID_EDIT_PAGE = 32780,
    ID_ADD_FAVORITE = 32781,
    ID_FONT_SIZE = 32782,
    ID_TITLES_ONLY = 32790,
    ID_RELATED_WORDS = 32791,
    ID_QUERY_LANGUAGE = 32811,
    ID_OPEN_NEW_WINDOW = 32800,
    ID_OFFLINE_MODE = 32801,
    ID_HIGHLIGHT = 32809,
    ID_LEFT_PANE = 32802,
    ID_RESULT_PANE = 32803,
    ID_TOOLBAR_TEXT = 32826,
    ID_CONTENT_ICONS = 32804,
    ID_DB_INFO = 32805,
    ID_DB_EXPORT_XML = 32813,
    ID_DB_REBUILD = 32806,
    ID_CLEAR_HISTORY = 32807,
    ID_EDIT_CURRENT_PAGE = 32810,
    ID_ABOUT = 32808,
    ID_ZOOM_IN = 32819,
    ID_ZOOM_OUT = 32820,
    ID_ZOOM_0 = 32821,
    ID_ZOOM_1 = 32822,
    ID_ZOOM_2 = 32823,
    ID_ZOOM_3 = 32824,
    ID_ZOOM_4 = 32825,
    ID_FAV_UP = 32814,
    ID_FAV_DOWN = 32815,
    ID_FAV_ADD_FOLDER = 32816,
    ID_FAV_EDIT = 32817,
    ID_FAV_DELETE = 32818,
    // The standard edit commands.
    ID_EDIT_COPY = 57634,
    ID_EDIT_CUT = 57635,
    ID_EDIT_PASTE = 57637,
    ID_EDIT_SELECT_ALL = 57642,
    ID_EDIT_UNDO = 57643,
};

// The identifiers of the navigator window's children (their objectName is given beside them
// in the class that makes them).
enum NavChildId : int {
    kIdBrowser = 1001,
    kIdLeftSplitter = 1002,
    kIdBottomSplitter = 1003,
    kIdTabsPane = 1004,
    kIdResultPane = 1005,
    kIdResultList = 1006,
    kIdResultHeader = 1007,
    kIdIndexBox = 1008,
    kIdIndexList = 1009,
    kIdIndexPane = 1010,
    kIdContentTree = 1011,
    kIdSearchBox = 1013,
    kIdDomainBox = 1014,
    kIdFavoritesPane = 1027,
    kIdToolBar = 59392,
    kIdToolBarStrip = 59396,
};

}  // namespace kestrova
