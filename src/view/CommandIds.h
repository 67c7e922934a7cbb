// The program's command ids. The frame's command table (app/Commands.h) gives each its
// texts, shortcut and states; the view posts some of them.
#pragma once

enum CommandId : int {
    ID_NEXT = 32771,
    ID_OPTION = 32772,
    ID_PREV = 32773,
    ID_FULLSCREEN = 32774,
    ID_OPEN_FOLDER = 32779,
    ID_OPEN_FILE = 32780,
    ID_PREV10 = 32781,
    ID_PAGE_PREV = 32782,
    ID_PAGE_NEXT = 32783,
    ID_NEXT10 = 32784,
    ID_FLIP = 32785,
    ID_VIEW_2PAGE = 32786,
    ID_INTERPOLATION = 32787,
    ID_ZOOM = 32788,
    ID_ZOOM_TOGGLE = 32789,
    ID_FILE_LIST = 32790,
    ID_SELECT_PAGE = 32791,
    ID_OPEN_ARCHIVE = 32792,
    ID_SHARPEN = 32793,
    ID_ROTATE = 32794,
    ID_RECENT_BOOKS = 32795,
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,
    ID_APP_ABOUT = 57664,
    ID_APP_EXIT = 57665,
};
