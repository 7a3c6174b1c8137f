// A host window of the tests: answers WM_CAD_ACTIVE_VIEW (2429) with a view window whose
// window long 0 points to a view block of its own, and WM_CAD_FONT_SERVICE (2671) sub-codes
// 21, 23 and 24 from lists the test sets.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

class TestOwnerWindow {
public:
    TestOwnerWindow();
    ~TestOwnerWindow();
    TestOwnerWindow(const TestOwnerWindow&) = delete;
    TestOwnerWindow& operator=(const TestOwnerWindow&) = delete;

    HWND Window() const { return m_owner; }
    // The view's block: the bytes behind window long 0 of the view.
    uint8_t* ViewBlock() { return m_viewBlock; }
    int16_t ViewCurrentLayer() const;
    // With false, 2429 answers 0 (no active view).
    void SetHasView(bool has) { m_hasView = has; }

    std::vector<std::string> textFonts;
    std::vector<std::string> vectorListA;
    std::vector<std::string> vectorListB;
    int fontQuestions = 0;

private:
    static LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT AnswerFontService(int subCode, uint8_t* record);

    HWND m_owner = nullptr;
    HWND m_view = nullptr;
    bool m_hasView = true;
    uint8_t m_viewBlock[512] = {};
};
