#include "QmCadDocument.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "ActiveViewBlock.h"
#include "DravikDb.h"
#include "EngineRecords.h"
#include "HostLibrary.h"
#include "NumericFormat.h"
#include "PaperSizeTable.h"
#include "core/Dbcs.h"

namespace {

const char kDefaultFont[] = "ＭＳ ゴシック";
constexpr size_t kMaxLayerNameBytes = 256;
constexpr size_t kLayerNameBuffer = 258;
constexpr uint16_t kGroupKindCurves = 100;
constexpr int kGroupExtraDataSlot = 38;
constexpr int kGroupExtraDataSize = 256;

// Element records are packed: fields are written at their offsets byte-wise.
template <class T>
void Put(void* record, int offset, T value)
{
    std::memcpy(static_cast<uint8_t*>(record) + offset, &value, sizeof value);
}

template <class T>
T Get(const void* record, int offset)
{
    T value;
    std::memcpy(&value, static_cast<const uint8_t*>(record) + offset, sizeof value);
    return value;
}

// Lines, circles, arcs, ellipses and elliptic arcs, and the groups that closed inner levels
// made of them: a nested group stays a member of the group of its enclosing level, so
// FilterCurveElements keeps groups too.
bool IsCurveType(uint16_t type)
{
    return type == kElementLine || type == kElementCircle || type == kElementArc || type == kElementEllipse ||
           type == kElementEllipticArc || type == kElementGroup;
}

void SetMaskBit(uint16_t* mask, int layer, bool on)
{
    const uint16_t bit = static_cast<uint16_t>(1u << (layer % 16));
    if (on) {
        mask[layer / 16] = static_cast<uint16_t>(mask[layer / 16] | bit);
    } else {
        mask[layer / 16] = static_cast<uint16_t>(mask[layer / 16] & ~bit);
    }
}

bool MaskBit(const uint16_t* mask, int layer) { return (mask[layer / 16] >> (layer % 16)) & 1u; }

std::string FieldText(const char* field, size_t size) { return std::string(field, strnlen(field, size)); }

// Writes a finite drawing size: paper size divided by a positive scale.
void WriteDrawingSize(DbInfoRecord& record)
{
    if (!(record.scale > 0.0) || !std::isfinite(record.scale)) return;
    record.drawingWidth = record.paperWidthMm / record.scale;
    record.drawingHeight = record.paperHeightMm / record.scale;
}

}  // namespace

// ---- ChangeElementDirect -----------------------------------------------------------------------

int ChangeElementDirect(const void* record, ElementChangeState* state, CadElement element, void* database)
{
    if (element == nullptr || record == nullptr) return 0;
    if (state) state->modified = 1;
    const void* engineRecord = ZUriReadElement(element, 0, nullptr, database);
    if (engineRecord == nullptr) return 0;
    // The node's whole image, with the new record over its first 174 bytes: the links behind
    // the record stay the engine's.
    uint8_t image[kEngineNodeSize];
    std::memcpy(image, engineRecord, kEngineNodeSize);
    const HGLOBAL oldDib = Get<HGLOBAL>(engineRecord, offsetof(ImageRecord, dib));
    std::memcpy(image, record, kElementRecordSize);
    const uint16_t type = Get<uint16_t>(image, 0);
    if (state == nullptr || !state->keep3d) {
        switch (type) {
        case kElementLine:
        case kElementImage:
            Put(image, 49, 0.0);
            Put(image, 73, 0.0);
            break;
        case kElementFigureReference:
            Put(image, 73, 0.0);
            break;
        case kElementPoint:
            Put(image, 49, 0.0);
            break;
        case kElementCircle:
            Put(image, 49, 0.0);
            Put(image, 65, 0.0);
            Put(image, 73, 0.0);
            Put(image, 81, 1.0);
            break;
        case kElementArc:
            Put(image, 49, 0.0);
            Put(image, 83, 0.0);
            Put(image, 91, 0.0);
            Put(image, 99, 1.0);
            break;
        case kElementText:
            Put(image, 128, 0.0);
            Put(image, 140, 0.0);
            Put(image, 148, 0.0);
            Put(image, 156, 1.0);
            break;
        case kElementEllipse:
            Put(image, 49, 0.0);
            Put(image, 73, 0.0);
            Put(image, 89, 0.0);
            Put(image, 97, 0.0);
            Put(image, 105, 1.0);
            break;
        case kElementEllipticArc:
            Put(image, 49, 0.0);
            Put(image, 73, 0.0);
            Put(image, 107, 0.0);
            Put(image, 115, 0.0);
            Put(image, 123, 1.0);
            break;
        default:
            break;
        }
    }
    const bool changed = ZUriChangeElement(element, image, database) != nullptr;
    if (type == kElementImage) {
        // The engine keeps a copy of a new picture; the element's own picture handed back
        // unchanged stays the engine's and must not be freed.
        const HGLOBAL newDib = Get<HGLOBAL>(record, offsetof(ImageRecord, dib));
        if (changed && newDib != nullptr && newDib != oldDib) GlobalFree(newDib);
    }
    return changed ? 1 : 0;
}

// ---- Construction --------------------------------------------------------------------------------

QmCadDocument::QmCadDocument() : fontName(kDefaultFont) {}

QmCadDocument::QmCadDocument(HWND owner) : ownerWindow(owner), fontName(kDefaultFont) {}

QmCadDocument::~QmCadDocument() = default;

// ---- Attributes ----------------------------------------------------------------------------------

void QmCadDocument::SetElementPage(int value) { elementPage = static_cast<uint16_t>(value); }
void QmCadDocument::SetElementLayer(int layer) { currentLayer = static_cast<int16_t>(layer); }
void QmCadDocument::SetElementColor(int value) { color = static_cast<uint16_t>(value); }
void QmCadDocument::SetElementLinetype(int value) { lineType = static_cast<uint8_t>(value); }
void QmCadDocument::SetElementLinewidth(int value) { lineWidth = static_cast<uint8_t>(value); }
void QmCadDocument::SetTextMode(int mode) { textMode = static_cast<int16_t>(mode); }
void QmCadDocument::SetTextVertical(int vertical) { textVertical = static_cast<int16_t>(vertical); }

void QmCadDocument::SetTextSize(double width, double height)
{
    charWidth = width;
    charHeight = height;
}

void QmCadDocument::SetTextAngles(double angleDegrees, double secondDegrees)
{
    textAngleDegrees = angleDegrees;
    secondAngleDegrees = secondDegrees;
}

void QmCadDocument::SetTextSpacing(double spacing) { charSpacing = spacing; }

void QmCadDocument::SetTextFont(const char* name)
{
    static const char* const kGothicAliases[] = {"MS-Gothic", "MSGothic", "MS-PGothic",
                                                 "MSPGothic", "MS-UIGothic", "MSUIGothic"};
    const std::string given = name ? name : "";
    for (const char* alias : kGothicAliases) {
        if (given == alias) {
            fontName = kDefaultFont;
            return;
        }
    }
    fontName = given;
}

// ---- Lists ---------------------------------------------------------------------------------------

void* QmCadDocument::InfoBlock() const
{
    if (database == nullptr) return nullptr;
    return ZUriGetDbInfoPtr(page, database);
}

void QmCadDocument::LoadLists()
{
    const auto* info = static_cast<const DbInfoBlock*>(InfoBlock());
    if (info == nullptr) return;

    m_layers.Clear();
    for (int n = 0; n < kLayerCount; ++n) {
        const char* name = info->layers.names[n];
        QmCadLayerEntry entry;
        entry.number = n;
        entry.name = name ? name : "";
        entry.groupName = FieldText(info->layers.groupNames[n], kLayerGroupNameSize);
        if (entry.name.empty() && entry.groupName.empty()) continue;
        if (!MaskBit(info->layers.displayMask, n)) entry.flags &= ~1;
        m_layers.AddUnique(entry);
    }

    m_colors.Clear();
    for (int n = 0; n < kColourCount; ++n) {
        const ColourRecord& record = info->colours[n];
        QmCadColorEntry entry;
        entry.number = n;
        entry.name = FieldText(record.name, sizeof record.name);
        entry.color = RGB(record.red & 0xFF, record.green & 0xFF, record.blue & 0xFF);
        m_colors.AddUnique(entry);
    }

    m_linetypes.Clear();
    for (int n = 0; n < kLineTypeCount; ++n) {
        const LineTypeRecord& record = info->lineTypes[n];
        QmCadLinetypeEntry entry;
        entry.number = n;
        entry.name = FieldText(record.name, sizeof record.name);
        const int count = record.dashCount < 0 ? 0 : (record.dashCount > 16 ? 16 : record.dashCount);
        entry.dashes.assign(record.dashMm, record.dashMm + count);
        m_linetypes.AddUnique(entry);
    }

    m_linewidths.Clear();
    for (int n = 0; n < kLineWidthCount; ++n) {
        QmCadLinewidthEntry entry;
        entry.number = n;
        entry.widthMm = info->lineWidthsMm[n];
        entry.name = FormatReal(entry.widthMm, 15) + "mm";
        m_linewidths.AddUnique(entry);
    }
}

bool QmCadDocument::GetColor(int number, COLORREF* value) const
{
    const QmCadColorEntry* entry = Colors().FindNumber(number);
    if (entry == nullptr) return false;
    if (value) *value = entry->color;
    return true;
}

int QmCadDocument::GetLinetypeDashes(std::vector<double>& dashes, int number, std::string& name) const
{
    if (database == nullptr || number < 0 || number >= kLineTypeCount) return -1;
    const auto* info = static_cast<const DbInfoBlock*>(static_cast<const EngineDbRecord*>(database)->info);
    if (info == nullptr) return -1;
    const LineTypeRecord& record = info->lineTypes[number];
    const int count = record.dashCount < 0 ? 0 : (record.dashCount > 16 ? 16 : record.dashCount);
    dashes.insert(dashes.end(), record.dashMm, record.dashMm + count);
    name = FieldText(record.name, sizeof record.name);
    return 0;
}

// ---- Database and drawing information -------------------------------------------------------

int QmCadDocument::CreateDatabase()
{
    if (ownerWindow == nullptr) return -1;
    void* made = HostLib::VyMAKE_DB();
    if (made == nullptr) {
        MessageBoxA(messageOwner, "CADデータベースを構築できません", "エラー", MB_OK);
        return -1;
    }
    HostLib::VyINIT_DB(made);
    createdDatabase = made;
    database = made;
    return 0;
}

void ReapplyActiveDbHead()
{
    uint8_t header[4224] = {};
    HostLib::VyGET_DB_HEAD(header);
    HostLib::VySET_DB_HEAD(header);
}

void QmCadDocument::SetFileInfo(const char* path, const char* title)
{
    if (database == nullptr) return;
    auto* info = static_cast<DbInfoBlock*>(ZUriGetDbInfoPtr(0, database));
    if (info == nullptr) return;
    if (path != nullptr) {
        DbcsCopy(info->record.fileName, sizeof info->record.fileName, path);
        DbcsCopy(info->record.fileType, sizeof info->record.fileType, "tcf");
    }
    if (title != nullptr) DbcsCopy(info->record.title, sizeof info->record.title, title);
}

void QmCadDocument::SetPaperSize(double widthMm, double heightMm)
{
    if (database == nullptr) return;
    auto* info = static_cast<DbInfoBlock*>(ZUriGetDbInfoPtr(0, database));
    if (info == nullptr) return;
    DbInfoRecord& record = info->record;
    if (const PaperSizeRow* row = FindPaperBySize(widthMm, heightMm)) {
        record.paperWidthMm = row->widthMm;
        record.paperHeightMm = row->heightMm;
        record.paperCode = row->code;
    } else {
        record.paperWidthMm = RoundToStep(widthMm, 1.0, 1e-8);
        record.paperHeightMm = RoundToStep(heightMm, 1.0, 1e-8);
        record.paperCode = kPaperCodeOther;
    }
    WriteDrawingSize(record);
}

void QmCadDocument::SetScale(double scale)
{
    if (database == nullptr) return;
    auto* info = static_cast<DbInfoBlock*>(ZUriGetDbInfoPtr(0, database));
    if (info == nullptr) return;
    info->record.scale = scale;
    WriteDrawingSize(info->record);
}

void QmCadDocument::GetPaperKind(int* series, int* size) const
{
    if (database == nullptr) return;
    const auto* info = static_cast<const DbInfoBlock*>(ZUriGetDbInfoPtr(0, database));
    if (info == nullptr) return;
    const PaperSizeRow* row = FindPaperByCode(info->record.paperCode);
    if (row == nullptr) return;
    if (series) *series = row->series;
    if (size) *size = row->size;
}

// ---- Layers --------------------------------------------------------------------------------------

int QmCadDocument::GetLayerName(std::string& name, int layer) const
{
    if (database == nullptr) return -1;
    char buffer[kLayerNameBuffer] = {};
    if (!ZUriGetLayerName(page, layer, 0, buffer, database)) return -1;
    name = FieldText(buffer, sizeof buffer);
    return 0;
}

int QmCadDocument::FindLayerByName(const char* name, int onPage) const
{
    if (database == nullptr || name == nullptr) return -1;
    const int p = onPage == -1 ? page : onPage;
    for (int n = 0; n < kLayerCount; ++n) {
        char buffer[kLayerNameBuffer] = {};
        if (ZUriGetLayerName(p, n, 0, buffer, database) && std::strcmp(buffer, name) == 0) return n;
    }
    return -1;
}

int QmCadDocument::SetLayer(int layer, const char* name)
{
    const int n = layer == -1 ? currentLayer : layer;
    if (n < 0 || n >= kLayerCount || database == nullptr) return -1;
    char layerName[kMaxLayerNameBytes + 1] = {};
    if (name != nullptr && name[0] != '\0') {
        DbcsCopy(layerName, sizeof layerName, name);
    } else {
        std::snprintf(layerName, sizeof layerName, "レイヤ %d", n + 1);
    }
    ZUriSetLayerName(0, n, layerName, database);

    LayerInfoBlock block;
    std::memset(&block, 0, sizeof block);
    if (ZUriGetLayerInfo(0, &block, database)) {
        block.currentLayer = n;
        std::memset(block.groupNames[n], 0, kLayerGroupNameSize);
        SetMaskBit(block.displayMask, n, true);
        SetMaskBit(block.detectMask, n, true);
        SetMaskBit(block.lockMask, n, false);
        ZUriSetLayerInfo(0, &block, database);
    }
    if (ownerWindow != nullptr) WriteActiveViewLayer(n);
    return 0;
}

void QmCadDocument::ResetCurrentLayer()
{
    if (database != nullptr) {
        LayerInfoBlock block;
        std::memset(&block, 0, sizeof block);
        if (ZUriGetLayerInfo(0, &block, database)) {
            block.currentLayer = 0;
            ZUriSetLayerInfo(0, &block, database);
        }
    }
    if (ownerWindow != nullptr) WriteActiveViewLayer(0);
}

void QmCadDocument::WriteActiveViewLayer(int layer) const { WriteActiveViewCurrentLayer(ownerWindow, layer); }

// ---- Elements ------------------------------------------------------------------------------------

namespace {

// The header every appended record shares.
void FillHeader(void* record, uint16_t type, const QmCadDocument& document)
{
    std::memset(record, 0, kElementRecordSize);
    Put<uint16_t>(record, 0, type);
    Put<uint16_t>(record, 2, document.elementValue);
    Put<int16_t>(record, 4, document.currentLayer);
    Put<uint8_t>(record, 6, document.elementByte);
    Put<int32_t>(record, 7, document.elementPage);
    Put<uint16_t>(record, 11, document.color);
    Put<uint8_t>(record, 13, document.lineType);
    Put<uint8_t>(record, 14, document.lineWidth);
}

}  // namespace

CadElement QmCadDocument::AppendLine(const GeoVectorPair& line)
{
    if (database == nullptr) return nullptr;
    if (std::fabs(line.second.x - line.first.x) < 1e-6 && std::fabs(line.second.y - line.first.y) < 1e-6) {
        return nullptr;
    }
    uint8_t record[kElementRecordSize];
    FillHeader(record, kElementLine, *this);
    Put(record, 33, line.first.x);
    Put(record, 41, line.first.y);
    Put(record, 57, line.second.x);
    Put(record, 65, line.second.y);
    CadElement element = ZUriAppendElement(record, database);
    AddToOpenGroup(element);
    return element;
}

CadElement QmCadDocument::AppendCircle(const GeoVector& centre, double radius)
{
    if (database == nullptr || !(std::fabs(radius) >= 1e-8)) return nullptr;
    uint8_t record[kElementRecordSize];
    FillHeader(record, kElementCircle, *this);
    Put(record, 33, centre.x);
    Put(record, 41, centre.y);
    Put(record, 57, std::fabs(radius));
    CadElement element = ZUriAppendElement(record, database);
    AddToOpenGroup(element);
    return element;
}

void QmCadDocument::BuildTextRecord(void* record, const GeoVector& position, const char* text) const
{
    FillHeader(record, kElementText, *this);
    Put<uint8_t>(record, 13, static_cast<uint8_t>(textMode));
    Put<uint8_t>(record, 14, 0);
    Put(record, 30, textAngleDegrees * kGeoPi / 180.0);
    Put(record, 46, charHeight);
    Put(record, 54, charHeight != 0.0 ? charWidth / charHeight : 0.0);
    Put(record, 62, charSpacing);
    const std::string& font = fontName.size() < 32 ? fontName : std::string(kDefaultFont);
    std::memcpy(static_cast<uint8_t*>(record) + 70, font.c_str(), font.size() + 1);
    uint16_t flags = 0;
    if (textVertical) flags |= kTextVertical;
    if (textFlag) flags |= 0x80;
    Put(record, 102, flags);
    Put(record, 104, secondAngleDegrees * kGeoPi / 180.0);
    Put(record, 112, position.x);
    Put(record, 120, position.y);
    Put(record, 136, text);
}

CadElement QmCadDocument::AppendText(const GeoVector& position, const char* text)
{
    if (database == nullptr || text == nullptr || text[0] == '\0') return nullptr;
    uint8_t record[kElementRecordSize];
    BuildTextRecord(record, position, text);
    CadElement element = ZUriAppendElement(record, database);
    AddToOpenGroup(element);
    return element;
}

// ---- Groups --------------------------------------------------------------------------------------

void QmCadDocument::AddToOpenGroup(CadElement element)
{
    if (element == nullptr || m_groupStack.empty()) return;
    const int top = m_groupStack.back();
    if (top < 1 || top >= kGroupSlots) return;
    m_groups[top].members.push_back(element);
}

void QmCadDocument::OpenGroup()
{
    for (int slot = 1; slot < kGroupSlots; ++slot) {
        if (!m_groups[slot].inUse) {
            m_groups[slot].inUse = true;
            m_groupStack.push_back(slot);
            return;
        }
    }
    m_groupStack.push_back(kNoGroupSlot);
}

CadElement QmCadDocument::GetNextGroupMember(CadElement after)
{
    if (m_groupStack.empty()) return nullptr;
    const int top = m_groupStack.back();
    if (top < 1 || top >= kGroupSlots) return nullptr;
    GroupSlot& slot = m_groups[top];
    if (after == nullptr) {
        slot.cursor = 0;
        return slot.members.empty() ? nullptr : slot.members[0];
    }
    size_t found = slot.members.size();
    for (size_t i = slot.cursor; i < slot.members.size() && found == slot.members.size(); ++i) {
        if (slot.members[i] == after) found = i;
    }
    for (size_t i = 0; i < slot.cursor && found == slot.members.size(); ++i) {
        if (slot.members[i] == after) found = i;
    }
    if (found + 1 >= slot.members.size()) return nullptr;
    slot.cursor = found + 1;
    return slot.members[found + 1];
}

int QmCadDocument::CollectGroupMembers(std::vector<CadElement>& members)
{
    int count = 0;
    for (CadElement member = GetNextGroupMember(nullptr); member != nullptr; member = GetNextGroupMember(member)) {
        members.push_back(member);
        ++count;
    }
    return count;
}

CadElement QmCadDocument::CloseGroup()
{
    if (m_groupStack.empty()) return nullptr;
    std::vector<CadElement> members;
    CollectGroupMembers(members);
    const int top = m_groupStack.back();
    if (top >= 1 && top < kGroupSlots) {
        GroupSlot& slot = m_groups[top];
        slot.members.clear();
        slot.inUse = false;
        slot.cursor = 0;
    }
    m_groupStack.pop_back();
    if (members.empty()) return nullptr;
    return MakeCurveGroup(members, 1);
}

int QmCadDocument::FilterCurveElements(const std::vector<CadElement>& in, std::vector<CadElement>& out) const
{
    int kept = 0;
    for (CadElement element : in) {
        uint8_t record[kEngineNodeSize] = {};
        if (database == nullptr || ZUriReadElement(element, 0, record, database) == nullptr) continue;
        if (IsCurveType(Get<uint16_t>(record, 0))) {
            out.push_back(element);
            ++kept;
        }
    }
    return kept;
}

CadElement QmCadDocument::MakeGroup(const std::vector<CadElement>& handles)
{
    if (handles.empty() || database == nullptr) return nullptr;
    std::vector<void*> copy(handles.begin(), handles.end());
    return ZUriMakeGroupExtrIdx(static_cast<int>(copy.size()), copy.data(), database);
}

CadElement QmCadDocument::MakeCurveGroup(const std::vector<CadElement>& handles, int kind)
{
    std::vector<CadElement> curves;
    if (FilterCurveElements(handles, curves) == 0) return nullptr;
    CadElement group = MakeGroup(curves);
    if (group == nullptr) return nullptr;

    uint8_t record[kEngineNodeSize] = {};
    ZUriReadElement(group, 0, record, database);
    Put<uint16_t>(record, 0, kElementGroup);
    Put<uint16_t>(record, 2, kind == 1 ? kGroupKindCurves : 0);
    Put<int16_t>(record, 4, currentLayer);
    Put<uint8_t>(record, 6, elementByte);
    Put<int32_t>(record, 7, 0);
    const uint8_t noExtraData[kGroupExtraDataSize] = {};
    ZUriSetExtrData(group, kGroupExtraDataSlot, 0, kGroupExtraDataSize, noExtraData);

    bool written = false;
    if (ownerWindow != nullptr) {
        HostLib::VyCHG_GCHKOFF();
        written = HostLib::VyCHG_ELEMENT(group, 0, record) != 0;
    }
    // Without a host that changes elements, the record goes to the engine directly.
    if (!written) ChangeElementDirect(record, &changeState, group, database);

    AddToOpenGroup(group);
    return group;
}
