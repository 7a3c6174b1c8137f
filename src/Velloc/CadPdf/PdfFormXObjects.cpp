// What a content stream reaches beyond its own operators: the named XObjects (a Form is run by
// a nested converter, an image raises a one-time warning), the /Properties resources, the
// naming of layers after the optional content groups, and marked content (BDC, BMC, EMC), which
// puts content marked by a group on that group's layer.
#include "PdfImportConverter.h"

#include "core/Dbcs.h"
#include "PdfLibrary.h"

#include <algorithm>

using namespace PoDoFo;

namespace {

// Compares two Shift-JIS texts character by character (a double-byte character as its code).
int CompareMbcs(const std::string& a, const std::string& b)
{
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        unsigned ca = static_cast<unsigned char>(a[i++]);
        unsigned cb = static_cast<unsigned char>(b[j++]);
        if (IsSjisLeadByte(static_cast<int>(ca)) && i < a.size()) ca = (ca << 8) | static_cast<unsigned char>(a[i++]);
        if (IsSjisLeadByte(static_cast<int>(cb)) && j < b.size()) cb = (cb << 8) | static_cast<unsigned char>(b[j++]);
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (i < a.size()) return 1;
    if (j < b.size()) return -1;
    return 0;
}

// The language escape of a text string (ESC, a language code, ESC) says nothing of its text.
std::u16string StripLanguageEscape(const std::u16string& text)
{
    std::u16string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != 0x1B) {
            out.push_back(text[i]);
            continue;
        }
        const size_t end = text.find(char16_t(0x1B), i + 1);
        if (end == std::u16string::npos) break;
        i = end;
    }
    return out;
}

const size_t kMaxLayers = 1024;

}  // namespace

int PdfImportConverter::LoadFontResources(const PdfObject* owner)
{
    const PdfObject* fonts = PdfDictionaryValue(PageResources(owner), "Font", Objects());
    if (fonts == nullptr || !fonts->IsDictionary()) return -1;
    try {
        for (const auto& item : fonts->GetDictionary().GetKeys()) {
            if (item.second == nullptr || !item.second->IsReference()) continue;
            LoadFont(item.first.GetName(), PdfResolve(item.second, Objects()), Objects(), *m_textState, m_services);
        }
    } catch (const PdfError&) {
        return -1;
    }
    return 0;
}

int PdfImportConverter::LoadXObjectResources(const PdfObject* owner)
{
    const PdfObject* xobjects = PdfDictionaryValue(PageResources(owner), "XObject", Objects());
    if (xobjects == nullptr || !xobjects->IsDictionary()) return -1;
    try {
        for (const auto& item : xobjects->GetDictionary().GetKeys()) {
            const PdfObject* value = PdfResolve(item.second, Objects());
            if (value == nullptr || !value->IsDictionary()) continue;
            m_xobjects.emplace_back(item.first.GetName(), value);
        }
    } catch (const PdfError&) {
        return -1;
    }
    return 0;
}

void PdfImportConverter::CopyPageState(PdfImportConverter& to) const
{
    to.unitFactor = unitFactor;
    to.pointsPerMm = pointsPerMm;
    to.originX = originX;
    to.originY = originY;
    to.pageAngle = pageAngle;
    to.pageRotated = pageRotated;
    to.currentMatrix = currentMatrix;
    to.savedLineType = savedLineType;
    to.savedColour = savedColour;
    to.savedStrokingColour = savedStrokingColour;
    to.savedLineWidth = savedLineWidth;
}

void PdfImportConverter::OpPaintXObject(const PdfOperandStack& op)
{
    if (op.operands.empty() || !op.operands[0].IsName()) return;
    PaintXObject(op.operands[0].GetName().GetName());
}

int PdfImportConverter::PaintXObject(const std::string& name)
{
    // A Form that paints itself, directly or through other Forms, stops at this depth.
    if (m_formDepth >= kMaxFormDepth || *m_formPaints >= kMaxFormPaints) return -1;
    ++*m_formPaints;
    // A Form is painted inside its own graphics state: the attributes it sets end with it.
    const int colour = DocumentColour(), lineType = DocumentLineType(), lineWidth = DocumentLineWidth();
    int result = 0;
    try {
        PdfImportConverter nested(m_document, m_services);
        CopyPageState(nested);
        nested.m_objects = Objects();
        nested.m_formDepth = m_formDepth + 1;
        nested.m_nextNewColour = m_nextNewColour;  // colours given out by the page stay as they are
        nested.m_formPaints = m_formPaints;
        nested.m_colours = m_colours;
        for (const auto& entry : m_xobjects) {
            if (entry.first != name || entry.second == nullptr) continue;
            const PdfObject* subtype = PdfDictionaryValue(entry.second, "Subtype", Objects());
            if (subtype == nullptr || !subtype->IsName()) continue;
            if (subtype->GetName().GetName() == "Form") {
                if (PdfDictionaryValue(entry.second, "Resources", Objects()) != nullptr) {
                    nested.LoadFontResources(entry.second);
                } else {
                    // A Form without resources of its own uses those of the page.
                    nested.m_textState->fonts = m_textState->fonts;
                    nested.m_xobjects = m_xobjects;
                }
                nested.m_formObject = entry.second;
                if (nested.RunFormXObject() != 0) result = -1;
            } else if (!imageWarningShown) {
                m_services.messages->Show(
                    "申し訳ありません。\n外部オブジェクト（イメージデータ等）を読み込む機能が無いので、正常に読み込むことができません。",
                    "確認", IPdfMessages::Warning);
                imageWarningShown = true;
            }
        }
        m_colours = nested.m_colours;
        if (!nested.m_messageText.empty()) AddMessageOnce(nested.m_messageText);
    } catch (const PdfError&) {
        result = -1;  // the Form ends; the page goes on
    }
    if (colour >= 0) DocumentSetColour(colour);
    if (lineType >= 0) DocumentSetLineType(lineType);
    if (lineWidth >= 0) DocumentSetLineWidth(lineWidth);
    return result;
}

int PdfImportConverter::RunFormXObject()
{
    if (m_formObject == nullptr) return -1;
    const PdfObject* matrix = PdfDictionaryValue(m_formObject, "Matrix", Objects());
    if (matrix != nullptr && matrix->IsArray() && matrix->GetArray().size() == 6) {
        double m[6];
        bool numbers = true;
        for (size_t i = 0; i < 6 && numbers; ++i) numbers = PdfNumberOf(matrix->GetArray()[i], m[i]);
        if (numbers) {
            const PdfMatrix product = PdfMatrix{m[0], m[1], m[2], m[3], m[4], m[5]} * currentMatrix;
            if (product.IsFinite()) currentMatrix = product;
        }
    }
    if (PdfDictionaryValue(m_formObject, "Resources", Objects()) != nullptr) {
        m_xobjects.clear();
        LoadXObjectResources(m_formObject);
    }
    std::string content;
    if (!PdfDecodedStream(m_formObject, content, kMaxDecodedStreamBytes)) return -1;
    RunContentStream(content.data(), content.size());
    return 0;
}

int PdfImportConverter::LoadPropertyResources(const PdfObject* page)
{
    const PdfObject* properties = PdfDictionaryValue(PageResources(page), "Properties", Objects());
    if (properties == nullptr || !properties->IsDictionary()) return -1;
    try {
        for (const auto& item : properties->GetDictionary().GetKeys()) {
            const PdfObject* value = PdfResolve(item.second, Objects());
            if (value == nullptr || !value->IsDictionary()) continue;
            const PdfObject* type = PdfDictionaryValue(value, "Type", Objects());
            if (type == nullptr) continue;
            PdfPropertyEntry entry;
            entry.resourceName = item.first.GetName();
            entry.type = type->IsName() ? type->GetName().GetName() : std::string();
            const PdfObject* name = PdfDictionaryValue(value, "Name", Objects());
            if (name != nullptr && (name->IsString() || name->IsHexString())) {
                const PdfString& s = name->GetString();
                if (s.IsUnicode()) {
                    std::u16string utf16;
                    const char* raw = s.GetString();
                    for (long i = 0; i + 1 < s.GetLength(); i += 2)
                        utf16.push_back(static_cast<char16_t>((static_cast<unsigned char>(raw[i]) << 8) |
                                                              static_cast<unsigned char>(raw[i + 1])));
                    entry.name = m_services.codePage->FromUtf16(StripLanguageEscape(utf16));
                } else {
                    entry.name = PdfStringBytes(s);
                }
                const size_t zero = entry.name.find('\0');
                if (zero != std::string::npos) entry.name.resize(zero);
            }
            m_properties.push_back(entry);
        }
    } catch (const PdfError&) {
        return -1;
    }
    return 0;
}

int PdfImportConverter::NameLayersFromOcgs()
{
    if (m_properties.empty()) return -1;
    std::vector<PdfPropertyEntry> groups;
    for (const PdfPropertyEntry& e : m_properties)
        if (e.type == "OCG") groups.push_back(e);
    std::stable_sort(groups.begin(), groups.end(), [](const PdfPropertyEntry& a, const PdfPropertyEntry& b) {
        return CompareMbcs(a.name, b.name) < 0;
    });
    for (size_t i = 0; i < groups.size() && i < kMaxLayers; ++i)
        DocumentNameLayer(static_cast<int>(i), groups[i].name);
    return 0;
}

int PdfImportConverter::FindOcgProperty(const std::string& resourceName, PdfPropertyEntry& entry) const
{
    for (const PdfPropertyEntry& e : m_properties) {
        if (e.resourceName != resourceName || e.type != "OCG") continue;
        entry = e;
        return 0;
    }
    return -1;
}

void PdfImportConverter::OpBeginMarkedContentProps(const PdfOperandStack& op)
{
    if (op.operands.size() != 2) return;
    const int layerBefore = DocumentLayer();
    PdfPropertyEntry entry;
    if (op.operands[0].IsName() && op.operands[0].GetName().GetName() == "OC" && op.operands[1].IsName() &&
        FindOcgProperty(op.operands[1].GetName().GetName(), entry) == 0) {
        const int layer = DocumentFindLayerByName(entry.name);
        if (layer >= 0) DocumentSetLayer(layer);
    }
    if (m_markedStates.size() >= kMaxGraphicsDepth) return;
    m_markedContent.push_back(0);
    m_markedStates.push_back(PdfMarkedState{
        PdfSavedState{currentMatrix, savedLineType, savedColour, savedStrokingColour, savedLineWidth},
        m_stateStack.size(), layerBefore});
}

void PdfImportConverter::OpBeginMarkedContent(const PdfOperandStack& op)
{
    if (op.operands.size() != 1 || m_markedStates.size() >= kMaxGraphicsDepth) return;
    m_markedContent.push_back(1);
    m_markedStates.push_back(PdfMarkedState{
        PdfSavedState{currentMatrix, savedLineType, savedColour, savedStrokingColour, savedLineWidth},
        m_stateStack.size(), DocumentLayer()});
}

void PdfImportConverter::OpEndMarkedContent()
{
    if (m_markedContent.empty()) return;
    m_markedContent.pop_back();
    if (m_markedStates.empty()) return;
    const PdfMarkedState entry = m_markedStates.back();
    m_markedStates.pop_back();
    // An unbalanced q inside the marked content is discarded without restoring from it.
    while (m_stateStack.size() > entry.depth) m_stateStack.pop_back();
    currentMatrix = entry.state.matrix;
    savedLineType = entry.state.lineType;
    savedColour = entry.state.colour;
    savedStrokingColour = entry.state.strokingColour;
    savedLineWidth = entry.state.lineWidth;
    // Content after the marked content goes back to the layer it was on before.
    if (entry.layerBefore >= 0) DocumentSetLayer(entry.layerBefore);
}
