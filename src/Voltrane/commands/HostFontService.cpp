// The font service: each request builds a fresh engine parameter block, calls the engine once,
// copies the listed fields back and keeps nothing.
#include <cstring>

#include "DravikDb.h"
#include "HostMessages.h"
#include "commands/HostServiceFamilies.h"
#include "core/CadSystem.h"

namespace {

const FontServiceEngine kEngine = {ZUriDicFunction, ZUriGetFontNum, ZUriGetFontNm};
FontServiceEngine g_engine = kEngine;

// The inputs shared by the text-measure codes 4 to 7.
void FillMeasure(DicParamBlock& b, DicFunctionRecord& r)
{
    b.pointer334 = r.name380;
    b.pointer338 = reinterpret_cast<void*>(r.value682);
    b.real294 = r.double642;
    b.real302 = r.double650;
}

// The inputs shared by codes 11 and 14.
void FillBufferRequest(DicParamBlock& b, DicFunctionRecord& r)
{
    b.arg8 = r.value8;
    b.arg12 = static_cast<int32_t>(r.value12);
    b.arg16 = r.value16;
    b.pointer334 = reinterpret_cast<void*>(r.value682);
    b.pointer338 = r.buffer24;
}

}  // namespace

FontServiceEngine& GetFontServiceEngine() { return g_engine; }

void SetFontServiceEngine(const FontServiceEngine* engine) { g_engine = engine ? *engine : kEngine; }

LRESULT CCadSysCmdFont::Serve(int code, DicFunctionRecord* record)
{
    if (record == nullptr) return 0;
    DicFunctionRecord& r = *record;
    const FontServiceEngine& engine = g_engine;
    DicParamBlock b;
    std::memset(&b, 0, sizeof(b));
    switch (code) {
    case 1:
    case 2:
    case 20:
        return engine.dicFunction(code, &r);
    case 3:
        b.pointer334 = r.name380;
        b.pointer338 = reinterpret_cast<void*>(r.value682);
        b.arg342 = r.value686;
        return engine.dicFunction(3, &b);
    case 4:
    case 5:
    case 6:
    case 7:
        FillMeasure(b, r);
        if (code == 5 || code == 7) {
            b.arg8 = r.value8;
            b.arg12 = static_cast<int32_t>(r.value12);
        }
        engine.dicFunction(code, &b);
        r.double658 = b.real310;
        return 1;
    case 8:
    case 9:
        b.pointer334 = r.name380;
        engine.dicFunction(code, &b);
        r.double642 = b.real294;
        return 1;
    case 10:
    case 12:
        b.pointer334 = reinterpret_cast<void*>(r.value682);
        b.pointer338 = r.buffer24;
        engine.dicFunction(code, &b);
        r.double642 = b.real294;
        r.double650 = b.real302;
        return 1;
    case 11:
        FillBufferRequest(b, r);
        engine.dicFunction(11, &b);
        r.double642 = b.real294;
        r.double650 = b.real302;
        return 1;
    case 13:
        b.pointer334 = r.buffer24;
        engine.dicFunction(13, &b);
        r.value8 = b.arg8;
        return 1;
    case 14:
        FillBufferRequest(b, r);
        engine.dicFunction(14, &b);
        r.double642 = b.real294;
        return 1;
    case 15:
    case 16:
    case 17:
        b.pointer334 = r.buffer24;
        if (code == 17) b.arg8 = r.value8;
        engine.dicFunction(code, &b);
        r.double642 = b.real294;
        r.double650 = b.real302;
        return 1;
    case 18:
        b.pointer334 = r.buffer24;
        b.pointer338 = reinterpret_cast<void*>(r.value682);
        engine.dicFunction(18, &b);
        return 1;
    case 19:
        return GetCadSystem().config.EXTDIC != 0 ? 123 : 1;
    case 21:
        if (r.value8 == 1 || r.value8 == 2) {
            r.value12 = engine.getFontNum(r.value8);
        } else if (r.value8 == 3 || r.value8 == 4) {
            b.arg8 = r.value8;
            b.arg12 = static_cast<int32_t>(r.value12);
            b.pointer334 = r.name380;
            engine.dicFunction(21, &b);
        }
        return 1;
    case 22:
        b.pointer334 = reinterpret_cast<void*>(r.value682);
        engine.dicFunction(22, &b);
        return 0;
    case 23:
        r.value8 = engine.getFontNum(0);
        return 1;
    case 24:
        // The name goes into the caller's buffer: without one nothing can be written.
        if (r.value682 == 0) return 0;
        return engine.getFontNm(0, r.value8, reinterpret_cast<char*>(r.value682));
    default:
        return 0;
    }
}

BOOL CCadSysCmdFont::ProcessWindowMessage(HWND, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                                          DWORD mapId)
{
    if (mapId != 0 || uMsg != WM_CAD_FONT_SERVICE) return FALSE;
    lResult = Serve(static_cast<int>(wParam), reinterpret_cast<DicFunctionRecord*>(lParam));
    return TRUE;
}
