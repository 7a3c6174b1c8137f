// A dialog template in memory: push buttons with the given ids in a row and one static text,
// for the dialog-base tests of the program and of the plug-in, whose own templates do not have
// every button id the two looks treat differently.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <vector>

class ButtonDialogTemplate {
public:
    static constexpr WORD kStaticId = 1500;

    explicit ButtonDialogTemplate(std::initializer_list<WORD> buttonIds)
    {
        Add(DS_MODALFRAME | WS_POPUP | WS_CAPTION);
        Add(0);  // extended style
        m_words.push_back(static_cast<WORD>(buttonIds.size() + 1));
        for (short value : {0, 0, 60 * static_cast<short>(buttonIds.size()) + 10, 60}) m_words.push_back(static_cast<WORD>(value));
        for (WORD value : {0, 0, 0}) m_words.push_back(value);  // no menu, the dialog class, no title
        short x = 5;
        for (WORD id : buttonIds) {
            AddItem(BS_PUSHBUTTON | WS_CHILD | WS_VISIBLE | WS_TABSTOP, x, 30, id, 0x0080);
            x += 60;
        }
        AddItem(SS_LEFT | WS_CHILD | WS_VISIBLE, 5, 5, kStaticId, 0x0082);
    }

    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(m_words.data()); }

private:
    void Add(DWORD value)
    {
        m_words.push_back(LOWORD(value));
        m_words.push_back(HIWORD(value));
    }
    void AddItem(DWORD style, short x, short y, WORD id, WORD atom)
    {
        if (m_words.size() % 2 != 0) m_words.push_back(0);  // items start on a DWORD boundary
        Add(style);
        Add(0);
        for (short value : {x, y, static_cast<short>(55), static_cast<short>(14)}) m_words.push_back(static_cast<WORD>(value));
        m_words.push_back(id);
        m_words.push_back(0xFFFF);
        m_words.push_back(atom);
        m_words.push_back(L'x');
        m_words.push_back(0);  // title
        m_words.push_back(0);  // no creation data
    }

    std::vector<WORD> m_words;
};
