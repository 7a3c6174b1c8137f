#include "drawing/PageCommands.h"

#include <cstdio>

#include "commands/HostServiceSite.h"
#include "core/CadSystem.h"
#include "core/SystemLog.h"
#include "drawing/DrawingFileCommands.h"
#include "drawing/PageManagerDialog.h"
#include "drawing/PageOperations.h"
#include "drawing/PageSettingsDialog.h"

namespace {

// The end of every page command: the status bar's first text cleared and the tool panel told
// that the drawing's attributes may have changed.
void Finish()
{
    ClearStatusText();
    GetHostServiceSite().NotifyDrawingAttributesChanged();
}

}  // namespace

int RunPageCommand(HWND context, int id)
{
    switch (id) {
    case 4037:
        LogCommand("%ld ページ登録", id);
        AppendPageCommand(context);
        Finish();
        return 1;
    case 4038:
        LogCommand("%ld Set Page", id);
        EditPagesCommand(context);
        Finish();
        return 1;
    case 4039:
        LogCommand("%ld ペーパー空間表示", id);
        ShowPaperSpace();
        Finish();
        return 1;
    case 4040:
        LogCommand("%ld モデル空間表示", id);
        ShowModelSpace();
        Finish();
        return 1;
    default:
        return 0;
    }
}
