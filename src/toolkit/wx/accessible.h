#pragma once

#include "toolkit/window.h"

#include <functional>
#include <vector>

class wxWindow;

namespace toolkit_wx {

// Tells assistive technology of the parts a window draws itself: on GTK they become children
// of the widget's accessible object (ATK, read over AT-SPI by screen readers), asked for anew
// each time a reader looks. Elsewhere this does nothing: wx's own accessibility is Windows'.
void exposeParts(wxWindow* window, std::function<std::vector<TAccessiblePart>()> parts);
void unexposeParts(wxWindow* window);
// Tells readers what changed in the window's parts since they were last told, once one has
// looked at them; called after each event the window handled.
void announceParts(wxWindow* window);

} // namespace toolkit_wx
