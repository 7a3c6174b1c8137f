// Glyph data of the stroke font.
//
// A glyph is written as strokes separated by blanks; a stroke is a run of points, each point two
// digits (x, y) on a grid. Half-width glyphs (ASCII) use x 0..6 and y 0..9 with the base line at
// y 2 and the descender down to 0; full-width glyphs (kana, symbols) use x 0..9 and y 0..9. The
// grids leave a margin inside the cell so that neighbouring characters do not touch.
#include "StrokeFont.h"

#include "EngineText.h"

#include <array>
#include <cstring>
#include <memory>
#include <string>
#include <unordered_map>

namespace dravikdb {

namespace {

struct GlyphSource {
    const char* character;  // Shift-JIS (the sources are compiled to code page 932)
    const char* strokes;
};

// Printable ASCII, half-width grid.
const GlyphSource kAsciiGlyphs[] = {
    {"!", "3934 3332"}, {"\"", "2927 4947"}, {"#", "2922 4942 0767 0464"},
    {"$", "685919080716556463521203 3931"}, {"%", "0962 1928170819 5463524354"},
    {"&", "621718293948470403124264"}, {"'", "3937"}, {"(", "493826243342"}, {")", "293846443322"},
    {"*", "3933 1755 1557"}, {"+", "3733 1555"}, {",", "3321"}, {"-", "1555"}, {".", "3332"},
    {"/", "0269"}, {"0", "195968635212030819"}, {"1", "2839 3932 1252"}, {"2", "08195968670262"},
    {"3", "08195968675626 566563521203"}, {"4", "52590464"}, {"5", "690906566563521203"},
    {"6", "59190803125263655606"}, {"7", "096922"}, {"8", "195968675616070819 1605031252636556"},
    {"9", "66160708195968635212"}, {":", "3635 3332"}, {";", "3635 3321"}, {"<", "680562"},
    {"=", "0464 0666"}, {">", "086502"}, {"?", "0819596867563534 3332"},
    {"@", "44242646436368591908031252"}, {"A", "023962 1454"}, {"B", "02095968675606 5665635202"},
    {"C", "6859190803125263"}, {"D", "02094967644202"}, {"E", "69090262 0646"}, {"F", "690902 0646"},
    {"G", "68591908031252636535"}, {"H", "0902 6962 0666"}, {"I", "1959 3932 1252"},
    {"J", "2969 4943321203"}, {"K", "0902 6903 2562"}, {"L", "090262"}, {"M", "0209356962"},
    {"N", "02096269"}, {"O", "195968635212030819"}, {"P", "02095968665505"},
    {"Q", "195968635212030819 4462"}, {"R", "02095968665505 3562"}, {"S", "685919080716556463521203"},
    {"T", "0969 3932"}, {"U", "090312526369"}, {"V", "093269"}, {"W", "0912365269"}, {"X", "0962 6902"},
    {"Y", "093569 3532"}, {"Z", "09690262"}, {"[", "49292242"}, {"\\", "0962"}, {"]", "29494222"},
    {"^", "173957"}, {"_", "0060"}, {"`", "2938"}, {"a", "16566562 641403125263"},
    {"b", "0902 0516566563521203"}, {"c", "6556160503125263"}, {"d", "6556160503125263 6962"},
    {"e", "046465561605031252"}, {"f", "6859392822 0656"}, {"g", "6661501001 6556160504135364"},
    {"h", "0902 0516566562"}, {"i", "3632 3938"}, {"j", "4641301001 4948"}, {"k", "0902 5603 2462"},
    {"l", "39334252"}, {"m", "0602 0516263532 3546566562"}, {"n", "0602 0516566562"},
    {"o", "165665635212030516"}, {"p", "0600 0516566563521203"}, {"q", "6660 6556160503125263"},
    {"r", "0602 04265665"}, {"s", "65561605145463521203"}, {"t", "28233252 0656"},
    {"u", "0603125263 6662"}, {"v", "063266"}, {"w", "0612345266"}, {"x", "0662 6602"},
    {"y", "0633 6610"}, {"z", "06660262"}, {"{", "49383625343342"}, {"|", "3930"},
    {"}", "29383645343322"}, {"~", "061727455566"},
};

// Full-width glyphs: kana without marks, punctuation and the symbols of electrical drawings.
const GlyphSource kFullGlyphs[] = {
    // Katakana
    {"ア", "188866 474411"}, {"イ", "7914 5650"}, {"ウ", "4947 1517878540"}, {"エ", "2878 4841 0191"},
    {"オ", "0797 6960 6712"}, {"カ", "17878160 494511"}, {"キ", "1787 0494 4950"}, {"ク", "3916 38887520"},
    {"ケ", "3905 2797 676430"}, {"コ", "188881 1181"}, {"サ", "0696 3933 797440"},
    {"シ", "1837 0524 1087"}, {"ス", "18884310 5480"}, {"セ", "069674 39314080"}, {"ソ", "1835 8820"},
    {"タ", "3916 38887520 2563"}, {"チ", "7918 0696 585430"}, {"ツ", "0826 3856 8820"},
    {"テ", "2878 0696 565330"}, {"ト", "3930 3674"}, {"ナ", "0696 595430"}, {"ニ", "2777 0292"},
    {"ヌ", "188820 3581"}, {"ネ", "4948 188813 4640 6482"}, {"ノ", "796510"}, {"ハ", "3702 6792"},
    {"ヒ", "19112090 1577"}, {"フ", "18887520"}, {"ヘ", "033791"}, {"ホ", "0696 4940 2401 6491"},
    {"マ", "089843 3460"}, {"ミ", "2978 2675 1381"}, {"ム", "491182 6590"}, {"メ", "7910 2681"},
    {"モ", "1888 0595 48415090"}, {"ヤ", "069774 3950"}, {"ユ", "177771 0191"},
    {"ヨ", "18888010 1484"}, {"ラ", "2979 16867320"}, {"リ", "2824 797430"}, {"ル", "393400 696093"},
    {"レ", "292094"}, {"ロ", "1888811118"}, {"ワ", "1618887530"}, {"ヲ", "18887520 1585"},
    {"ン", "1836 1187"},
    // Hiragana
    {"あ", "1787 4950 6531122465848260"}, {"い", "18122133 7784"}, {"う", "3968 2666847230"},
    {"え", "3968 267610 435191"}, {"お", "0757 3931111344748260 7896"}, {"か", "0657655141 3900 7794"},
    {"き", "1788 1586 3964 53223070"}, {"く", "691560"}, {"け", "1811 4696 797340"},
    {"こ", "287867 132181"}, {"さ", "1687 3973 53223070"}, {"し", "3932406083"},
    {"す", "0797 5954433445545230"}, {"せ", "0696 696453 28213080"}, {"そ", "287814844240"},
    {"た", "0656 3900 5494 526090"}, {"ち", "0787 492365837130"}, {"つ", "0667857230"},
    {"て", "079856435180"}, {"と", "2935 77232180"}, {"な", "0747 3902 6786 656140315280"},
    {"に", "1811 4787 435191"}, {"ぬ", "1831 6912 15578582617291"}, {"ね", "3930 065711 34668582617291"},
    {"の", "583113164878969360"}, {"は", "1811 4696 797251608190"}, {"ひ", "0737133061768494"},
    {"ふ", "4958 46645140 1123 7391"}, {"へ", "043791"}, {"ほ", "1811 4898 4595 787251608190"},
    {"ま", "1787 1585 595231406180"}, {"み", "184812316386 7770"}, {"む", "0757 3931407082 8896"},
    {"め", "1831 6912 155785826040"}, {"も", "3922407184 0767 0464"}, {"や", "0677957354 2836 4960"},
    {"ゆ", "1812 133777958353 595330"}, {"よ", "49412112336290 4686"}, {"ら", "3958 27134575837130"},
    {"り", "282334 797440"}, {"る", "187813658371414252"}, {"れ", "2920 063712 35576291"},
    {"ろ", "18781365837130"}, {"わ", "2920 063712 2457869360"}, {"を", "1878 491445 86425080"},
    {"ん", "5910 234553618193"},
    // Punctuation
    {"ー", "0595"}, {"－", "0595"}, {"―", "0595"}, {"‐", "2575"}, {"～", "041536648596"},
    {"・", "4555"}, {"、", "1331"}, {"。", "1223322112"}, {"「", "793933"}, {"」", "666020"},
    {"゛", "2948 4968"}, {"゜", "3949594838 39"},
    // Symbols
    {"○", "396996936030030639"},
    {"●", "396996936030030639 2171 1282 0393 0494 0595 0696 1787 2878"},
    {"◎", "396996936030030639 475775745242242547"}, {"△", "01915901"},
    {"▲", "01915901 1282 1383 3575 4767"}, {"□", "0999900009"},
    {"■", "0999900009 0191 0292 0393 0494 0595 0696 0797 0898"}, {"◇", "5995511559"},
    {"◆", "5995511559 3373 1595 3777"}, {"→", "0595 689562"}, {"←", "0595 380532"},
    {"↑", "5059 265986"}, {"↓", "5059 235083"}, {"±", "1686 4943 1181"}, {"×", "1881 1188"},
    {"÷", "1585 4847 4342"}, {"°", "192938372616070819"}, {"Ω", "103032141739698784626080"},
    {"μ", "1610 13325273 767282"}, {"φ", "5885522558 5950"}, {"Φ", "5885522558 5950"},
    {"π", "1787 3731 676271"}, {"∞", "4527170604132377879694837345"}, {"≠", "1686 1383 7922"},
    {"∠", "881191"}, {"⊥", "5951 1191"}, {"√", "04153069 6999"},
};

// Kana drawn as another glyph made small, or with the voicing marks.
const char kSmallKana[] = "ァアィイゥウェエォオッツャヤュユョヨヮワヵカヶケぁあぃいぅうぇえぉおっつゃやゅゆょよゎわ";
const char kVoicedKana[] =
    "ガカギキグクゲケゴコザサジシズスゼセゾソダタヂチヅツデテドトバハビヒブフベヘボホヴウ"
    "がかぎきぐくげけごこざさじしずすぜせぞそだたぢちづつでてどとばはびひぶふべへぼほ";
const char kSemiVoicedKana[] = "パハピヒプフペヘポホぱはぴひぷふぺへぽほ";
// Full-width forms of ASCII characters.
const char kFullWidthAscii[] =
    "０0１1２2３3４4５5６6７7８8９9ＡAＢBＣCＤDＥEＦFＧGＨHＩIＪJＫKＬLＭMＮNＯOＰPＱQＲRＳSＴTＵUＶVＷWＸXＹYＺZ"
    "ａaｂbｃcｄdｅeｆfｇgｈhｉiｊjｋkｌlｍmｎnｏoｐpｑqｒrｓsｔtｕuｖvｗwｘxｙyｚz"
    "＋+＝=＜<＞>（(）)［[］]／/＼\\：:；;．.，,？?！!％%＃#＆&＊*＠@＿_｜|＄$";
// Half-width katakana and their full-width glyphs (the half-width voicing marks stand alone).
const char kHalfWidthKana[] =
    "｡。｢「｣」､、･・ｦヲｧァｨィｩゥｪェｫォｬャｭュｮョｯッｰーｱアｲイｳウｴエｵオｶカｷキｸクｹケｺコｻサｼシｽスｾセｿソ"
    "ﾀタﾁチﾂツﾃテﾄトﾅナﾆニﾇヌﾈネﾉノﾊハﾋヒﾌフﾍヘﾎホﾏマﾐミﾑムﾒメﾓモﾔヤﾕユﾖヨﾗラﾘリﾙルﾚレﾛロﾜワﾝンﾞ゛ﾟ゜";

const char kHalfBox[] = "1858521218";
const char kFullBox[] = "1888811118";
const char kVoicingMarks[] = "7988 8998";
const char kSemiVoicingMark[] = "8999988889";

enum class Grid { Half, Full };

// Reads the stroke text of one glyph; `shiftX` moves half-width strokes on the full grid.
void AddStrokes(Glyph& glyph, const char* text, Grid grid, float scale = 1.0f, float shiftX = 0.0f)
{
    std::vector<GlyphPoint> stroke;
    auto flush = [&] {
        if (stroke.size() >= 2) glyph.strokes.push_back(stroke);
        stroke.clear();
    };
    for (const char* p = text; *p != '\0';) {
        if (*p == ' ') {
            flush();
            ++p;
            continue;
        }
        if (p[1] == '\0') break;
        const float gx = static_cast<float>(p[0] - '0') * scale + shiftX;
        const float gy = static_cast<float>(p[1] - '0') * scale;
        if (grid == Grid::Half) {
            stroke.push_back({(1.0f + gx) / 8.0f, (0.5f + gy) / 10.0f});
        } else {
            stroke.push_back({(0.5f + gx) / 10.0f, (0.5f + gy) / 10.0f});
        }
        p += 2;
    }
    flush();
}

uint16_t CodeAt(const char* text, size_t& at)
{
    const auto first = static_cast<unsigned char>(text[at]);
    if (EngineSupport::IsLeadByte(first) && text[at + 1] != '\0') {
        const auto second = static_cast<unsigned char>(text[at + 1]);
        at += 2;
        return static_cast<uint16_t>(first << 8 | second);
    }
    at += 1;
    return first;
}

class StrokeFont {
public:
    StrokeFont()
    {
        AddStrokes(halfBox_, kHalfBox, Grid::Half);
        AddStrokes(fullBox_, kFullBox, Grid::Full);
        half_[' '] = std::make_unique<Glyph>();
        for (const auto& source : kAsciiGlyphs) {
            auto glyph = std::make_unique<Glyph>();
            AddStrokes(*glyph, source.strokes, Grid::Half);
            half_[static_cast<unsigned char>(source.character[0])] = std::move(glyph);
        }
        for (const auto& source : kFullGlyphs) {
            size_t at = 0;
            Glyph& glyph = full_[CodeAt(source.character, at)];
            AddStrokes(glyph, source.strokes, Grid::Full);
        }
        full_[0x8140];  // the ideographic space: no strokes
        for (const auto& pair : Pairs(kSmallKana)) {
            Glyph& glyph = full_[pair.first];
            if (const Glyph* base = Full(pair.second)) {
                // Two thirds of the base glyph, sitting on the line and a little to the right.
                for (const auto& stroke : base->strokes) {
                    std::vector<GlyphPoint> small;
                    for (GlyphPoint p : stroke) small.push_back({0.2f + p.x * 0.66f, p.y * 0.66f});
                    glyph.strokes.push_back(small);
                }
            }
        }
        AddMarked(kVoicedKana, kVoicingMarks);
        AddMarked(kSemiVoicedKana, kSemiVoicingMark);
        for (const auto& pair : Pairs(kFullWidthAscii)) {
            const unsigned char ascii = static_cast<unsigned char>(pair.second);
            Glyph& glyph = full_[pair.first];
            for (const auto& source : kAsciiGlyphs) {
                if (static_cast<unsigned char>(source.character[0]) == ascii) {
                    AddStrokes(glyph, source.strokes, Grid::Full, 1.0f, 1.5f);
                }
            }
        }
        for (const auto& pair : Pairs(kHalfWidthKana)) {
            // The full-width shapes squeezed into the half-width cell.
            if (const Glyph* base = Full(pair.second)) half_[pair.first & 0xFF] = std::make_unique<Glyph>(*base);
        }
    }

    const Glyph* Find(uint16_t code, bool doubleByte) const
    {
        if (!doubleByte) {
            const Glyph* glyph = code < 256 ? half_[code].get() : nullptr;
            return glyph != nullptr ? glyph : &halfBox_;
        }
        const Glyph* glyph = Full(code);
        return glyph != nullptr ? glyph : &fullBox_;
    }

private:
    const Glyph* Full(uint16_t code) const
    {
        auto it = full_.find(code);
        return it != full_.end() ? &it->second : nullptr;
    }

    // The characters of a table, taken two at a time.
    static std::vector<std::pair<uint16_t, uint16_t>> Pairs(const char* table)
    {
        std::vector<std::pair<uint16_t, uint16_t>> pairs;
        for (size_t at = 0; table[at] != '\0' && table[at + 1] != '\0';) {
            uint16_t first = CodeAt(table, at);
            if (table[at] == '\0') break;
            uint16_t second = CodeAt(table, at);
            pairs.emplace_back(first, second);
        }
        return pairs;
    }

    void AddMarked(const char* table, const char* marks)
    {
        for (const auto& pair : Pairs(table)) {
            const Glyph* base = Full(pair.second);
            if (base == nullptr) continue;
            Glyph glyph = *base;
            AddStrokes(glyph, marks, Grid::Full);
            full_[pair.first] = std::move(glyph);
        }
    }

    std::array<std::unique_ptr<Glyph>, 256> half_{};
    std::unordered_map<uint16_t, Glyph> full_;
    Glyph halfBox_, fullBox_;
};

const StrokeFont& Font()
{
    static const StrokeFont font;
    return font;
}

// One stroke font, listed under one name in each list, so its pair name is "VectorPF(STD :STD )".
const char* const kSingleByteFonts[] = {"STD"};
const char* const kDoubleByteFonts[] = {"STD"};

}  // namespace

const Glyph* FindGlyph(uint16_t code, bool doubleByte)
{
    return Font().Find(code, doubleByte);
}

int VectorFontCount(int kind)
{
    if (kind == 1) return static_cast<int>(sizeof kSingleByteFonts / sizeof kSingleByteFonts[0]);
    if (kind == 2) return static_cast<int>(sizeof kDoubleByteFonts / sizeof kDoubleByteFonts[0]);
    return 0;
}

const char* VectorFontName(int kind, int index)
{
    if (index < 0 || index >= VectorFontCount(kind)) return nullptr;
    return kind == 1 ? kSingleByteFonts[index] : kDoubleByteFonts[index];
}

bool IsVectorFontName(const char* field)
{
    std::string name(field, strnlen(field, kFontFieldSize));
    if (!name.empty() && name[0] == '@') name.erase(0, 1);
    return name.empty() || name == "VectorFont" || name.compare(0, 8, "VectorPF") == 0 || name == "ベクトル" ||
           name == "ZO rezo" || name == "DA Dezeru";
}

}  // namespace dravikdb
