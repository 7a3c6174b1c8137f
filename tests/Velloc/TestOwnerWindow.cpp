#include "TestOwnerWindow.h"

#include <cstring>

#include "HostMessages.h"
#include "HostRecords.h"

namespace {

const char kOwnerClass[] = "VellocTestOwner";
const char kViewClass[] = "VellocTestView";

void RegisterClasses()
{
    static bool registered = false;
    if (registered) return;
    WNDCLASSA owner = {};
    owner.lpfnWndProc = DefWindowProcA;
    owner.hInstance = GetModuleHandleA(nullptr);
    owner.lpszClassName = kOwnerClass;
    owner.cbWndExtra = sizeof(LONG_PTR);
    RegisterClassA(&owner);
    WNDCLASSA view = owner;
    view.lpszClassName = kViewClass;
    RegisterClassA(&view);
    registered = true;
}

}  // namespace

TestOwnerWindow::TestOwnerWindow()
{
    RegisterClasses();
    m_owner = CreateWindowA(kOwnerClass, "owner", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    m_view = CreateWindowA(kViewClass, "view", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    SetWindowLongPtrA(m_view, 0, reinterpret_cast<LONG_PTR>(m_viewBlock));
    SetWindowLongPtrA(m_owner, 0, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrA(m_owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OwnerProc));
}

TestOwnerWindow::~TestOwnerWindow()
{
    DestroyWindow(m_view);
    DestroyWindow(m_owner);
}

int16_t TestOwnerWindow::ViewCurrentLayer() const
{
    int16_t layer;
    std::memcpy(&layer, m_viewBlock + 108, sizeof layer);
    return layer;
}

LRESULT CALLBACK TestOwnerWindow::OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<TestOwnerWindow*>(GetWindowLongPtrA(window, 0));
    if (self != nullptr && message == WM_CAD_ACTIVE_VIEW) {
        return self->m_hasView ? reinterpret_cast<LRESULT>(self->m_view) : 0;
    }
    if (self != nullptr && message == WM_CAD_FONT_SERVICE) {
        return self->AnswerFontService(static_cast<int>(wParam), reinterpret_cast<uint8_t*>(lParam));
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT TestOwnerWindow::AnswerFontService(int subCode, uint8_t* bytes)
{
    ++fontQuestions;
    auto* record = reinterpret_cast<DicFunctionRecord*>(bytes);
    auto entry = [](const std::vector<std::string>& list, INT_PTR index) {
        return index >= 0 && static_cast<size_t>(index) < list.size() ? list[index] : std::string();
    };
    switch (subCode) {
    case 23:
        record->value8 = static_cast<int32_t>(textFonts.size());
        return 1;
    case 24: {
        const std::string name = entry(textFonts, record->value8);
        std::memcpy(reinterpret_cast<char*>(record->value682), name.c_str(), name.size() + 1);
        return 1;
    }
    case 21:
        if (record->value8 == 1) record->value12 = static_cast<INT_PTR>(vectorListA.size());
        if (record->value8 == 2) record->value12 = static_cast<INT_PTR>(vectorListB.size());
        if (record->value8 == 3 || record->value8 == 4) {
            const std::string name = entry(record->value8 == 3 ? vectorListA : vectorListB, record->value12);
            std::strncpy(record->name380, name.c_str(), sizeof record->name380 - 1);
        }
        return 1;
    default:
        return 0;
    }
}
