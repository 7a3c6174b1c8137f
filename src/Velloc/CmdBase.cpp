#include "CmdBase.h"

int CCmdBase::Call(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) { return 1; }

void CCmdBase::SetParam(const char*, void*) {}

void CCmdBaseEx::SetParam(const char* parameterText, void* context)
{
    m_parameterText = parameterText ? parameterText : "";
    m_context = context;
}
