// Small value types of the settings records, and the helpers that let the records' Shift-JIS
// texts travel through the wide-character XML archives of the settings files.
#pragma once

#include <windows.h>

#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

#include <boost/serialization/nvp.hpp>
#include <boost/serialization/string.hpp>
#include <boost/serialization/vector.hpp>

// ---- Text conversion (code page 932 <-> wide characters of the archives) ----

std::wstring SettingsTextToWide(const std::string& text);
std::string WideToSettingsText(const std::wstring& text);

// One text member: stored as a wide string so that the archive's UTF-8 facet writes the
// Japanese characters themselves.
template <class Archive>
void SerializeText(Archive& ar, const char* name, std::string& text)
{
    if constexpr (Archive::is_saving::value) {
        std::wstring wide = SettingsTextToWide(text);
        ar& boost::serialization::make_nvp(name, wide);
    } else {
        std::wstring wide;
        ar& boost::serialization::make_nvp(name, wide);
        text = WideToSettingsText(wide);
    }
}

// A fixed table of texts, in the archive's fixed-array form (count, then items). A stored
// count above N fails the load; a smaller one leaves the remaining entries as they were.
template <class Archive, std::size_t N>
void SerializeTextArray(Archive& ar, const char* name, std::string (&texts)[N])
{
    std::wstring wide[N];
    for (std::size_t i = 0; i < N; ++i) wide[i] = SettingsTextToWide(texts[i]);
    ar& boost::serialization::make_nvp(name, wide);
    if constexpr (Archive::is_loading::value) {
        for (std::size_t i = 0; i < N; ++i) texts[i] = WideToSettingsText(wide[i]);
    }
}

// A list of texts in the archive's standard-container form.
template <class Archive>
void SerializeTextList(Archive& ar, const char* name, std::vector<std::string>& texts)
{
    std::vector<std::wstring> wide;
    if constexpr (Archive::is_saving::value) {
        for (const std::string& text : texts) wide.push_back(SettingsTextToWide(text));
        ar& boost::serialization::make_nvp(name, wide);
    } else {
        ar& boost::serialization::make_nvp(name, wide);
        texts.clear();
        for (const std::wstring& text : wide) texts.push_back(WideToSettingsText(text));
    }
}

// ---- Colours ----

// "#RRGGBB" → COLORREF (red in the low byte); "COLOR_3DFACE" → the system face colour at
// the time of the call; an empty text or any other text → 0. A "#" text of five or six
// characters reads its last pair from the digits present.
COLORREF ParseColorText(const std::string& text);
// The same, but false for a "#" text too short to hold red and green (fewer than five
// characters): such a colour makes the save or load of its record fail.
bool TryParseColorText(const std::string& text, COLORREF* value);

// Thrown while a settings record is saved or loaded when one of its colours cannot be read.
class SettingsValueError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One colour: kept as text ("#RRGGBB" or "COLOR_3DFACE") in the settings file and as a
// COLORREF in memory, recomputed from the text after every load and save.
struct ColorRefEx {
    COLORREF value = 0;
    std::string Color;

    ColorRefEx() = default;
    explicit ColorRefEx(const char* text);
    void Recompute();

    template <class Archive>
    void serialize(Archive& ar, const unsigned int /*version*/)
    {
        SerializeText(ar, "Color", Color);
        RecomputeOrThrow();
    }
    void RecomputeOrThrow();
};

// Colours of one kind of coloured push button. Memory order: text, background, disabled;
// file order: Bkgnd, Text, Disabled.
struct ColorBtnAttrEx {
    COLORREF textColor = 0;
    COLORREF bkColor = 0;
    COLORREF disabledColor = 0;
    std::string Text;
    std::string Bkgnd;
    std::string Disabled;

    ColorBtnAttrEx() = default;
    ColorBtnAttrEx(const char* text, const char* bkgnd, const char* disabled);
    void Recompute();

    template <class Archive>
    void serialize(Archive& ar, const unsigned int /*version*/)
    {
        SerializeText(ar, "Bkgnd", Bkgnd);
        SerializeText(ar, "Text", Text);
        SerializeText(ar, "Disabled", Disabled);
        RecomputeOrThrow();
    }
    void RecomputeOrThrow();
};

// ---- Geometry values ----

struct PaperMarginEx {
    double left = 0.0, right = 0.0, top = 0.0, bottom = 0.0;
    double left2 = 0.0, right2 = 0.0, top2 = 0.0, bottom2 = 0.0;
    int color = 0;
    int papercolor = 0;

    template <class Archive>
    void serialize(Archive& ar, const unsigned int /*version*/)
    {
        using boost::serialization::make_nvp;
        ar& make_nvp("left", left);
        ar& make_nvp("right", right);
        ar& make_nvp("top", top);
        ar& make_nvp("bottom", bottom);
        ar& make_nvp("left2", left2);
        ar& make_nvp("right2", right2);
        ar& make_nvp("top2", top2);
        ar& make_nvp("bottom2", bottom2);
        ar& make_nvp("color", color);
        ar& make_nvp("papercolor", papercolor);
    }
};

struct DPointEx {
    double x = 0.0, y = 0.0, z = 0.0;

    template <class Archive>
    void serialize(Archive& ar, const unsigned int /*version*/)
    {
        using boost::serialization::make_nvp;
        ar& make_nvp("x", x);
        ar& make_nvp("y", y);
        ar& make_nvp("z", z);
    }
};

struct RectEx {
    long left = 0, top = 0, right = 0, bottom = 0;

    template <class Archive>
    void serialize(Archive& ar, const unsigned int /*version*/)
    {
        using boost::serialization::make_nvp;
        ar& make_nvp("left", left);
        ar& make_nvp("top", top);
        ar& make_nvp("right", right);
        ar& make_nvp("bottom", bottom);
    }
};

// ---- Bounded copies into the fixed buffers of the settings' users ----

// Copies at most size - 1 bytes and a terminating zero, never splitting a double-byte
// character. Returns false when the text had to be cut.
bool CopySettingsText(char* out, std::size_t size, const char* text);
