// The dialog "線端の設定" reached through "SavePdfOption" as a user reaches it. The program
// registers the line-end picker; these tests register a stand-in of the class with the same
// messages (set, ask and disable a type; a choice reported with code 1) so that the dialog can
// be made in the plug-in's test program.
#include "GTest.h"

#include <cmath>
#include <string>

#include "CadPdf/PdfOutOptionLineTermDlg.h"
#include "CadPdf/PdfOutSettings.h"
#include "DialogDriver.h"
#include "Dravik.h"
#include "ExportFixture.h"
#include "PdfImportFakes.h"
#include "TestOwnerWindow.h"
#include "controls/LineEndPickers.h"

using namespace line_term_dialog;

namespace {

constexpr int kLineTermButton = 1018;
// Test-only: the user picks the type in wParam; the mask of disabled types.
constexpr UINT kUserPicks = WM_USER + 50;
constexpr UINT kDisabledMask = WM_USER + 51;

const char kOptionsCaption[] = "PDF保存設定";
const char kLineTermCaption[] = "線端の設定";

LRESULT CALLBACK StandInPicker(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        SetPropA(window, "type", reinterpret_cast<HANDLE>(1));
        SetPropA(window, "disabled", nullptr);
        return 0;
    case kPickerSetType:
        SetPropA(window, "type", reinterpret_cast<HANDLE>(lParam));
        return 1;
    case kPickerGetType:
        return reinterpret_cast<LRESULT>(GetPropA(window, "type"));
    case kPickerDisableType: {
        const auto mask = reinterpret_cast<uintptr_t>(GetPropA(window, "disabled")) | (uintptr_t{1} << (lParam & 31));
        SetPropA(window, "disabled", reinterpret_cast<HANDLE>(mask));
        return 0;
    }
    case kDisabledMask:
        return reinterpret_cast<LRESULT>(GetPropA(window, "disabled"));
    case kUserPicks:
        if (reinterpret_cast<uintptr_t>(GetPropA(window, "disabled")) & (uintptr_t{1} << (wParam & 31))) return 0;
        SetPropA(window, "type", reinterpret_cast<HANDLE>(wParam));
        SendMessageA(GetParent(window), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window), kPickerChoice), reinterpret_cast<LPARAM>(window));
        return 1;
    case WM_DESTROY:
        RemovePropA(window, "type");
        RemovePropA(window, "disabled");
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

class StandInPickerClass {
public:
    StandInPickerClass()
    {
        WNDCLASSA wc{};
        wc.style = CS_GLOBALCLASS;
        wc.lpfnWndProc = StandInPicker;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = kLineTermPickerClass;
        registered = RegisterClassA(&wc) != 0;
    }
    ~StandInPickerClass() { UnregisterClassA(kLineTermPickerClass, GetModuleHandleA(nullptr)); }
    bool registered = false;
};

std::string ReadLineTerm(int type)
{
    char buffer[256] = {};
    QmCadApi_GetPrivateProfileString("LINE_TERM", std::to_string(type).c_str(), "<missing>", buffer, sizeof buffer,
                                     "%USER_LOCAL_APPDATA%SETTEI\\PdfOut.ini");
    return buffer;
}

std::string Row(double angle, double size, double distance)
{
    LineTermSetting row;
    row.angle = angle, row.size = size, row.distance = distance;
    return FormatLineTermSetting(row);
}

// Opens the line-end dialog from the options dialog, runs `inside` on it; `inside` closes it.
std::string RunLineTermDialog(const std::function<void(DialogDriver&, HWND)>& inside)
{
    StartCmdExFn start = LoadVellocStartCmdEx();
    if (start == nullptr) return "no StartCmdEx";
    TestOwnerWindow host;
    DialogDriver driver([&](DialogDriver& d) {
        HWND options = d.WaitForDialog(kOptionsCaption);
        if (options == nullptr) return;
        DialogDriver::Click(options, kLineTermButton);
        HWND dialog = d.WaitForDialog(kLineTermCaption);
        if (dialog != nullptr) {
            inside(d, dialog);
            d.WaitUntilClosed(dialog);
        }
        DialogDriver::Click(options, IDCANCEL);
        d.WaitUntilClosed(options);
    });
    start(host.Window(), "/c:SavePdfOption", nullptr);
    return driver.failure;
}

// Presses OK on the refusal box and waits for it to go; its text.
std::string ConfirmRefusal(DialogDriver& driver)
{
    HWND box = driver.WaitForDialog("ERROR");
    if (box == nullptr) return "<no box>";
    const std::string text = DialogDriver::StaticTexts(box);
    DialogDriver::Click(box, IDOK);
    driver.WaitUntilClosed(box);
    return text;
}

void Pick(HWND dialog, int type)
{
    PostMessageA(GetDlgItem(dialog, kPicker), kUserPicks, type, 0);
}

}  // namespace

TEST(LineTermValues, AnglesReduceAndOnlyNumbersAreTaken)
{
    struct AngleCase { double angle; bool ok; double reduced; };
    const AngleCase angles[] = {{725, true, 5},    {-725, true, -5}, {360, true, 360}, {-360, true, -360},
                                {10, true, 10},    {720, true, 0},   {1e300, true, std::fmod(1e300, 360.0)},
                                {INFINITY, false, 0}, {NAN, false, 0}};
    for (const AngleCase& c : angles) {
        double reduced = 99999;
        EXPECT_EQ(c.ok, ReduceLineTermAngle(c.angle, &reduced)) << c.angle;
        if (c.ok) {
            EXPECT_DOUBLE_EQ(c.reduced, reduced) << c.angle;
            EXPECT_LE(std::fabs(reduced), 360) << c.angle;
        }
    }
    struct TextCase { const char* text; bool ok; double value; };
    const TextCase texts[] = {{"7.5", true, 7.5}, {" -2 ", true, -2}, {"1e300", true, 1e300}, {"abc", false, 0},
                              {"", false, 0},     {"3x", false, 0},   {"inf", false, 0},      {"nan", false, 0},
                              {"1e999", false, 0}};
    for (const TextCase& c : texts) {
        double value = 0;
        EXPECT_EQ(c.ok, ParseLineTermValue(c.text, &value)) << c.text;
        if (c.ok) {
            EXPECT_DOUBLE_EQ(c.value, value) << c.text;
        }
    }
    char text[260] = {};
    EXPECT_EQ(1, GetLineTermText(13, text));
    EXPECT_STREQ("入力値が異常です", text);
    EXPECT_EQ(0, GetLineTermText(17, text));
    EXPECT_EQ(0, GetLineTermText(-1, text));
}

TEST(LineTermDialog, WithoutThePickerItIsNotAvailable)
{
    ExportSettingsFolder folder;
    std::string text;
    StartCmdExFn start = LoadVellocStartCmdEx();
    ASSERT_NE(nullptr, start);
    TestOwnerWindow host;
    DialogDriver driver([&](DialogDriver& d) {
        HWND options = d.WaitForDialog(kOptionsCaption);
        if (options == nullptr) return;
        DialogDriver::Click(options, kLineTermButton);
        text = ConfirmRefusal(d);
        DialogDriver::Click(options, IDCANCEL);
        d.WaitUntilClosed(options);
    });
    start(host.Window(), "/c:SavePdfOption", nullptr);
    ASSERT_EQ("", driver.failure);
    EXPECT_EQ("線端の設定は使用できません。", text);
    EXPECT_EQ("<missing>", ReadLineTerm(1));
}

TEST(LineTermDialog, WithoutLineTermShowsTheBuiltInRowsAndOkWritesAll)
{
    StandInPickerClass picker;
    ASSERT_TRUE(picker.registered);
    ExportSettingsFolder folder;
    std::string label1, value1, label2, value2;
    LRESULT disabled = 0;
    const std::string failure = RunLineTermDialog([&](DialogDriver&, HWND dialog) {
        label1 = DialogDriver::Text(dialog, kFirstLabel);
        value1 = DialogDriver::Text(dialog, kFirstEdit);
        label2 = DialogDriver::Text(dialog, kSecondLabel);
        value2 = DialogDriver::Text(dialog, kSecondEdit);
        disabled = SendMessageA(GetDlgItem(dialog, kPicker), kDisabledMask, 0, 0);
        DialogDriver::Click(dialog, IDOK);
    });
    ASSERT_EQ("", failure);
    EXPECT_EQ("矢印長さ", label1);
    EXPECT_EQ("7.5", value1);
    EXPECT_EQ("矢印角度", label2);
    EXPECT_EQ("10", value2);
    EXPECT_EQ((1 << 0) | (1 << 14) | (1 << 15), disabled);  // types 0, 14 and 15 cannot be picked
    for (int type = 0; type < 14; ++type) {
        const LineTermSetting row = DefaultLineTerm(type);
        EXPECT_EQ(FormatLineTermSetting(row), ReadLineTerm(type)) << type;
    }
    EXPECT_EQ(Row(0, 7.5, 1), ReadLineTerm(10));
    EXPECT_EQ("<missing>", ReadLineTerm(14));
}

TEST(LineTermDialog, ArrowAnglesAreReducedAndNonNumbersRefused)
{
    StandInPickerClass picker;
    ASSERT_TRUE(picker.registered);
    struct Case { const char* angle; const char* stored; };  // stored null: refused
    const std::string huge = Row(std::fmod(1e300, 360.0), 7.5, 0);
    const Case cases[] = {{"725", "1,5,7.5,0,0,0,0"}, {"-725", "1,-5,7.5,0,0,0,0"}, {"360", "1,360,7.5,0,0,0,0"},
                          {"-360", "1,-360,7.5,0,0,0,0"}, {"1e300", huge.c_str()}, {"inf", nullptr},
                          {"abc", nullptr}};
    for (const Case& c : cases) {
        ExportSettingsFolder folder;
        std::string message;
        bool focusOnAngle = false;
        const std::string failure = RunLineTermDialog([&](DialogDriver& driver, HWND dialog) {
            DialogDriver::SetText(dialog, kSecondEdit, c.angle);
            DialogDriver::Click(dialog, IDOK);
            if (c.stored != nullptr) return;
            message = ConfirmRefusal(driver);
            focusOnAngle = driver.WaitFor([&] { return DialogDriver::FocusOf(dialog) == GetDlgItem(dialog, kSecondEdit); });
            DialogDriver::Click(dialog, IDCANCEL);
        });
        ASSERT_EQ("", failure) << c.angle;
        if (c.stored != nullptr) {
            EXPECT_EQ(c.stored, ReadLineTerm(1)) << c.angle;
        } else {
            EXPECT_EQ("入力値が異常です", message) << c.angle;
            EXPECT_TRUE(focusOnAngle) << c.angle;
            EXPECT_EQ("<missing>", ReadLineTerm(1)) << c.angle;
        }
    }
}

TEST(LineTermDialog, RaisedLineNeedsAPositiveDistance)
{
    StandInPickerClass picker;
    ASSERT_TRUE(picker.registered);
    ExportSettingsFolder folder;
    std::string label1, label2, message;
    bool focusOnDistance = false;
    const std::string failure = RunLineTermDialog([&](DialogDriver& driver, HWND dialog) {
        Pick(dialog, 10);
        driver.WaitFor([&] { return DialogDriver::Text(dialog, kFirstLabel) == "線長さ"; });
        label1 = DialogDriver::Text(dialog, kFirstLabel);
        label2 = DialogDriver::Text(dialog, kSecondLabel);
        DialogDriver::SetText(dialog, kFirstEdit, "3");
        DialogDriver::SetText(dialog, kSecondEdit, "0");
        DialogDriver::Click(dialog, IDOK);
        message = ConfirmRefusal(driver);
        focusOnDistance = driver.WaitFor([&] { return DialogDriver::FocusOf(dialog) == GetDlgItem(dialog, kSecondEdit); });
        DialogDriver::SetText(dialog, kSecondEdit, "2");
        DialogDriver::Click(dialog, IDOK);
    });
    ASSERT_EQ("", failure);
    EXPECT_EQ("線長さ", label1);
    EXPECT_EQ("距離", label2);
    EXPECT_EQ("入力値が異常です", message);
    EXPECT_TRUE(focusOnDistance);
    EXPECT_EQ(Row(0, 3, 2), ReadLineTerm(10));  // size the line's length, distance its offset
}

TEST(LineTermDialog, ARefusedChangeSetsThePickerBackToTheShownType)
{
    StandInPickerClass picker;
    ASSERT_TRUE(picker.registered);
    ExportSettingsFolder folder;
    std::string message, labelAfterRefusal, labelAfterFix;
    LRESULT pickerAfterRefusal = -2;
    bool secondHidden = false;
    const std::string failure = RunLineTermDialog([&](DialogDriver& driver, HWND dialog) {
        Pick(dialog, 2);
        driver.WaitFor([&] { return DialogDriver::Text(dialog, kFirstLabel) == "半径"; });
        secondHidden = !IsWindowVisible(GetDlgItem(dialog, kSecondEdit));
        DialogDriver::SetText(dialog, kFirstEdit, "-1");
        Pick(dialog, 3);
        message = ConfirmRefusal(driver);
        pickerAfterRefusal = SendMessageA(GetDlgItem(dialog, kPicker), kPickerGetType, 0, 0);
        labelAfterRefusal = DialogDriver::Text(dialog, kFirstLabel);
        DialogDriver::SetText(dialog, kFirstEdit, "2");
        Pick(dialog, 3);
        driver.WaitFor([&] { return DialogDriver::Text(dialog, kFirstLabel) == "１辺の長さ"; });
        labelAfterFix = DialogDriver::Text(dialog, kFirstLabel);
        Pick(dialog, 0);  // disabled: nothing happens
        DialogDriver::Click(dialog, IDOK);
    });
    ASSERT_EQ("", failure);
    EXPECT_TRUE(secondHidden);
    EXPECT_EQ("入力値が異常です", message);
    EXPECT_EQ(2, pickerAfterRefusal);
    EXPECT_EQ("半径", labelAfterRefusal);
    EXPECT_EQ("１辺の長さ", labelAfterFix);
    EXPECT_EQ(Row(0, 2, 0), ReadLineTerm(2));
}

TEST(LineTermDialog, ResetReplacesEveryType)
{
    StandInPickerClass picker;
    ASSERT_TRUE(picker.registered);
    ExportSettingsFolder folder;
    for (int type = 0; type < 14; ++type)
        folder.Write("PdfOut.ini", "LINE_TERM", std::to_string(type).c_str(), "1,20,9,4,0,0,0");
    std::string before, after;
    const std::string failure = RunLineTermDialog([&](DialogDriver&, HWND dialog) {
        before = DialogDriver::Text(dialog, kFirstEdit);
        DialogDriver::ClickNow(dialog, kResetButton);
        after = DialogDriver::Text(dialog, kFirstEdit);
        DialogDriver::Click(dialog, IDOK);
    });
    ASSERT_EQ("", failure);
    EXPECT_EQ("9", before);
    EXPECT_EQ("7.5", after);
    for (int type = 0; type < 14; ++type) EXPECT_EQ(FormatLineTermSetting(DefaultLineTerm(type)), ReadLineTerm(type)) << type;
}

TEST(LineTermDialog, TypesWithoutARecordShowNoFieldsAndStoreNothing)
{
    StandInPickerClass picker;
    ASSERT_TRUE(picker.registered);
    static HMODULE plugin = LoadLibraryA((TestProgramFolder() + "Velloc.dll.so").c_str());
    ASSERT_NE(nullptr, plugin);
    CAcadOutOptionSentanDlg dialog;
    for (int type = 0; type < 3; ++type) dialog.lineTerms.push_back(DefaultLineTerm(type));
    ASSERT_NE(nullptr, dialog.CreateIn(plugin, nullptr));
    ShowWindow(dialog.m_hWnd, SW_SHOWNA);
    HWND pickerWindow = GetDlgItem(dialog.m_hWnd, kPicker);
    SendMessageA(pickerWindow, kUserPicks, 5, 0);  // a type past the short list
    EXPECT_EQ(5, dialog.currentType);
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog.m_hWnd, kFirstEdit)));
    SetDlgItemTextA(dialog.m_hWnd, kFirstEdit, "-1");
    EXPECT_EQ(1, dialog.StoreTypeFields());
    EXPECT_EQ(3u, dialog.lineTerms.size());
    SendMessageA(pickerWindow, kUserPicks, 2, 0);
    EXPECT_EQ(2, dialog.currentType);
    EXPECT_EQ("1.25", DialogDriver::Text(dialog.m_hWnd, kFirstEdit));
    DestroyWindow(dialog.m_hWnd);
}

TEST(LineTermDialog, WithTheProgramsPicker)
{
    // As the program starts: types 0 to 14 offered, the start-mark picker registered.
    for (int type = 0; type < kLineEndTypeCount; ++type) LineEndTypeEnableMask[type] = type <= 14 ? 1 : 0;
    ASSERT_NE(0, RegisterLineStartMarkPickerClasses(GetModuleHandleA(nullptr)));
    ExportSettingsFolder folder;
    LRESULT firstType = -2;
    std::string firstLabel, radiusLabel, radius;
    const std::string failure = RunLineTermDialog([&](DialogDriver& driver, HWND dialog) {
        HWND field = GetDlgItem(dialog, kPicker);
        firstType = SendMessageA(field, kPickerGetType, 0, 0);
        firstLabel = DialogDriver::Text(dialog, kFirstLabel);
        // The field reports a choice to its dialog with code 1.
        SendMessageA(field, kPickerSetType, 0, 6);
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(kPicker, kPickerChoice), reinterpret_cast<LPARAM>(field));
        driver.WaitFor([&] { return DialogDriver::Text(dialog, kFirstLabel) == "半径"; });
        radiusLabel = DialogDriver::Text(dialog, kFirstLabel);
        radius = DialogDriver::Text(dialog, kFirstEdit);
        DialogDriver::SetText(dialog, kFirstEdit, "0.5");
        DialogDriver::Click(dialog, IDOK);
    });
    UnregisterLineStartMarkPickerClass(GetModuleHandleA(nullptr));
    ASSERT_EQ("", failure);
    EXPECT_EQ(1, firstType);  // type 0 is not offered
    EXPECT_EQ("矢印長さ", firstLabel);
    EXPECT_EQ("半径", radiusLabel);
    EXPECT_EQ("1.25", radius);
    EXPECT_EQ(Row(0, 0.5, 0), ReadLineTerm(6));
}
