#pragma once

// The window layer the program is written against: one small API in the shape of the
// Windows application framework it was designed for. Program code includes this header
// alone; it links either the wxWidgets backend (the program) or the headless one (tests).
// docs/toolkit.md describes the design.

#include "toolkit/constants.h"
#include "toolkit/dialog.h"
#include "toolkit/errors.h"
#include "toolkit/events.h"
#include "toolkit/geometry.h"
#include "toolkit/graphics.h"
#include "toolkit/listwindow.h"
#include "toolkit/services.h"
#include "toolkit/window.h"
