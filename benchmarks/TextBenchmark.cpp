// The engine's text services with many short texts: measure (dictionary code 15) and stroke
// (code 25, all phases) 100,000 Japanese and ASCII texts in the vector font and measure them in a
// TrueType face, beside the system's GetTextExtentPoint32 for the same strings in the same run.
//   scripts/run-test-exe <build folder> TextBenchmark [text count]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "DravikDb.h"
#include "BenchmarkSupport.h"
#include "EngineRecords.h"

using benchmark::Seconds;

namespace {

// Short labels as electrical drawings carry them: half Japanese, half ASCII.
std::vector<std::string> MakeTexts(int count)
{
    const char* japanese[] = {"電源", "制御盤", "ブレーカ", "モータ", "リレー", "端子台", "スイッチ", "トランス", "接地",
                              "配線用遮断器"};
    const char* ascii[] = {"MCCB", "R1", "TB-", "M", "CN", "PLC", "AC200V", "DC24V", "X", "3φ"};
    std::vector<std::string> texts;
    texts.reserve(count);
    for (int i = 0; i < count; ++i) {
        char number[16];
        std::snprintf(number, sizeof number, "%d", i % 1000);
        texts.push_back(std::string(i % 2 == 0 ? japanese[i / 2 % 10] : ascii[i / 2 % 10]) + number);
    }
    return texts;
}

TextRecord MakeText(const char* font)
{
    TextRecord t{};
    t.header[0] = kElementText;
    t.header[13] = 3;
    t.height = 3.5;
    t.widthRatio = 1.0;
    t.spacing = 0.5;
    std::strncpy(t.font, font, sizeof t.font - 1);
    return t;
}

}  // namespace

int main(int argc, char** argv)
{
    if (!benchmark::BindEngine()) return 2;
    const int count = benchmark::CountArgument(argc, argv, 100000);
    const std::vector<std::string> texts = MakeTexts(count);

    // Vector font: measure.
    TextRecord vector = MakeText("VectorFont");
    DicParamBlock block{};
    double sum = 0;
    double start = Seconds();
    for (const std::string& s : texts) {
        vector.text = s.c_str();
        block.pointer334 = &vector;
        if (ZUriDicFunction(kDicTextExtent, &block) == 1) sum += block.real294;
    }
    const double vectorMeasure = Seconds() - start;

    // Vector font: stroke (phase 0, every segment, phase 10).
    long long segments = 0;
    start = Seconds();
    for (const std::string& s : texts) {
        vector.text = s.c_str();
        std::memset(&block, 0, sizeof block);
        block.pointer334 = &vector;
        block.arg8 = kStrokePhaseStart;
        if (ZUriDicFunction(kDicTextStrokes, &block) != 1) continue;
        block.arg8 = kStrokePhaseNext;
        while (ZUriDicFunction(kDicTextStrokes, &block) != 0) {
            ++segments;
            ++block.arg12;
        }
        block.arg8 = kStrokePhaseEnd;
        ZUriDicFunction(kDicTextStrokes, &block);
    }
    const double vectorStroke = Seconds() - start;

    // TrueType face: measure through the engine, then the system's call for the same strings.
    const char* face = "ＭＳ ゴシック";
    TextRecord trueType = MakeText(face);
    std::memset(&block, 0, sizeof block);
    start = Seconds();
    for (const std::string& s : texts) {
        trueType.text = s.c_str();
        block.pointer334 = &trueType;
        if (ZUriDicFunction(kDicTextExtent, &block) == 1) sum += block.real294;
    }
    const double trueTypeMeasure = Seconds() - start;

    HDC dc = CreateCompatibleDC(nullptr);
    LOGFONTA font{};
    font.lfHeight = 35;
    font.lfCharSet = SHIFTJIS_CHARSET;
    std::strcpy(font.lfFaceName, face);
    HFONT handle = CreateFontIndirectA(&font);
    HGDIOBJ old = SelectObject(dc, handle);
    start = Seconds();
    for (const std::string& s : texts) {
        SIZE size{};
        if (GetTextExtentPoint32A(dc, s.c_str(), static_cast<int>(s.size()), &size)) sum += size.cx;
    }
    const double system = Seconds() - start;
    SelectObject(dc, old);
    DeleteObject(handle);
    DeleteDC(dc);

    auto perText = [&](double seconds) { return seconds / count * 1e6; };
    std::printf("texts                                   %d (half Japanese, half ASCII)\n", count);
    std::printf("vector font, measure (code 15)          %8.3f s  %6.2f us/text\n", vectorMeasure, perText(vectorMeasure));
    std::printf("vector font, stroke (code 25, %lld segs) %8.3f s  %6.2f us/text\n", segments, vectorStroke,
                perText(vectorStroke));
    std::printf("TrueType, measure (code 15)             %8.3f s  %6.2f us/text\n", trueTypeMeasure,
                perText(trueTypeMeasure));
    std::printf("GetTextExtentPoint32, same strings      %8.3f s  %6.2f us/text\n", system, perText(system));
    std::printf("(checksum %.1f)\n", sum);
    return 0;
}
