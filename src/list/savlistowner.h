#pragma once

#include "toolkit/toolkit.h"

// What the SAV list asks of the window that holds it (the main window). The list knows its
// owner through this one interface alone, so it can be tested with a stand-in.
class TSavListOwner {
  public:
    virtual ~TSavListOwner() = default;

    // The selection moved to another label: open this file (label + ".sav", or label + ".dvw"
    // when the label has a working copy) into the editor. An empty name means that no file is
    // selected any more (the list became empty): the editor must show no file and write none.
    virtual void resetPlayerInfo(const char* fileName) = 0;

    // A mouse press on the list (fromList 1); the list moves its selection only when this
    // returns true.
    virtual bool leftClick(const TPoint& point, uint fromList) = 0;
    // The button was released or the mouse moved over the list: any drag in the editor ends.
    virtual void endDrag() = 0;
    // The right button was pressed on the list, at this point of the list's client area.
    virtual void listPopupMenu(const TPoint& point) = 0;
    // A key pressed on the list while the list has the keys.
    virtual void processListKeyDown(uint key, uint flags) = 0;

    // Keys pressed and released on the list while the editor has the keys.
    virtual void EvKeyDown(uint key, uint repeatCount, uint flags) = 0;
    virtual void EvKeyUp(uint key, uint repeatCount, uint flags) = 0;
    virtual void EvChar(uint ch, uint repeatCount, uint flags) = 0;
};
