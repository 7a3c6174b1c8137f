// The yes/no/cancel prompt shown at the mouse pointer.
#pragma once

// Asks the question of the prompt with Yes, No and Cancel. useSaved and position carry the
// caller's remembered placement in and out; a null or empty caption keeps the template's.
// 6 for Yes, 2 for Cancel, and for No 1001, 1803 or 7.
int AskYesNoCancelAtCursor(int* useSaved, int position[2], const char* caption);
