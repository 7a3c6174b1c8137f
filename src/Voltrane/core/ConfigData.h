// The system settings record of "ConfigData.xml" (root "SYSTEM").
#pragma once

#include "core/SettingsTypes.h"

// System colours and the colours of coloured buttons (element "SystemColor").
struct ConfigDataColor {
    int reserved = 0;  // in memory only
    int RUBBERCOL = 3;
    int INIT_COLOR = 4;
    ColorRefEx COLOR_SYS_BK{"#C0C0C0"};
    ColorRefEx COLOR_PANEL{"#FFFFB5"};
    ColorRefEx COLOR_DLG_BK{"#FFFFB5"};
    ColorBtnAttrEx COLOR_BTN_ATTR[20];

    ConfigDataColor();
};

struct ConfigData {
    ConfigDataColor color;
};
