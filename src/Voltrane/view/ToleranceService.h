// The length and angle tolerances as plug-ins read and set them (host message 2619): for the
// whole program, or per drawing when the setting iEpsMode is 1.
#pragma once

#include <windows.h>

#include "HostRecords.h"

// The third tolerance value the service keeps (1e14 at start).
double GetLargeTolerance();

// Message 2619 with the request record: sub-code at +16 (1 to 10, see the implementation), the
// view at +36. 0 only when a per-drawing request meets a database without information block;
// sub-code 7 answers the bZero setting; every other code 1.
LRESULT HandleToleranceRequest(CmdParamRecord* param);
