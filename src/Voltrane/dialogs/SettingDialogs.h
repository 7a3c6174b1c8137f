// The small settings dialogs the tool panel and the system commands open.
#pragma once

// The grid dialog; 0 when ended with OK, else -1.
int ShowSetGridDlg();
