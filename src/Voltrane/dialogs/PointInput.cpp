#include "dialogs/PointInput.h"

#include "core/SystemLog.h"

// The coordinate dialog is not built yet: nothing is asked and no point is pending.
int InputTemporaryPoint()
{
    WriteSystemLog(2, "PointInput", "座標入力は使用できません");
    return 0;
}
