#include "dialogtestutil.h"

DEFINE_RESPONSE_TABLE1(TRecordingParent, TWindow)
EV_COMMAND(resources::CM_HELP, CmdHelp),
    EV_COMMAND(resources::CM_EXIT, CmdExit), END_RESPONSE_TABLE;
