// The current layer of a freshly loaded drawing: the lowest layer that is named on page 0 or
// holds an element (members of figures counted, figure references themselves not), 0 when
// there is none.
#pragma once

int ChooseInitialCurrentLayer(void* db);
