// The plug-in's view of one drawing database of the engine. The PDF import writes through it:
// the attributes the next element receives, lines, circles and texts, nested groups, layers,
// paper, scale and file information. The PDF export reads its attribute lists.
//
// The operations the import uses are virtual: the engine-backed behaviour is this class's, and
// a test or fuzz sink derives and overrides them to record what the import asks for without
// an engine. The document never owns the engine's records; it borrows the database handle it
// is given or the one it creates, and does not close it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "GeoVector.h"
#include "QmCadLists.h"

// Element handle of the engine (the address of its node); null when nothing was appended.
using CadElement = void*;

// Kept by ChangeElementDirect callers: whether the three-dimensional fields are kept and
// whether a direct change was made.
struct ElementChangeState {
    int keep3d = 0;
    int modified = 0;
};

// Writes an element record straight into the engine: the node's record is replaced by the
// first 174 bytes of `record` (the node's links stay), the 3D fields reset by type unless the
// state keeps them. 1 when the engine accepted the change, else 0.
int ChangeElementDirect(const void* record, ElementChangeState* state, CadElement element, void* database);

// Reads the active drawing's header through the host library and writes it back unchanged.
void ReapplyActiveDbHead();

class QmCadDocument {
public:
    static constexpr int kGroupSlots = 100;   // slot 0 is never used
    static constexpr int kNoGroupSlot = 100;  // a level opened when slots 1..99 are all in use

    QmCadDocument();
    explicit QmCadDocument(HWND ownerWindow);
    virtual ~QmCadDocument();
    QmCadDocument(const QmCadDocument&) = delete;
    QmCadDocument& operator=(const QmCadDocument&) = delete;

    // ---- Attributes of the next element --------------------------------------------------
    virtual void SetElementPage(int page);
    virtual void SetElementLayer(int layer);
    virtual void SetElementColor(int color);
    virtual void SetElementLinetype(int lineType);
    virtual void SetElementLinewidth(int lineWidth);

    // ---- Text state of the next text -----------------------------------------------------
    // 3 horizontal, 4 vertical (5 at construction).
    virtual void SetTextMode(int mode);
    virtual void SetTextVertical(int vertical);
    virtual void SetTextSize(double width, double height);
    virtual void SetTextAngles(double angleDegrees, double secondAngleDegrees);
    virtual void SetTextSpacing(double spacing);
    // Stores the font name; "MS-Gothic", "MSGothic", "MS-PGothic", "MSPGothic", "MS-UIGothic"
    // and "MSUIGothic" are stored as "ＭＳ ゴシック".
    virtual void SetTextFont(const char* fontName);

    // ---- Lists ---------------------------------------------------------------------------
    // Refills the layer, colour, line-type and line-width lists from the information block of
    // the document's page; nothing happens without a database.
    virtual void LoadLists();
    virtual const QmCadLayerList& Layers() const { return m_layers; }
    virtual const QmCadColorList& Colors() const { return m_colors; }
    virtual const QmCadLinetypeList& Linetypes() const { return m_linetypes; }
    virtual const QmCadLinewidthList& Linewidths() const { return m_linewidths; }
    // The colour of a colour number from the colour list; false when the list has none.
    virtual bool GetColor(int number, COLORREF* color) const;
    // Appends line type n's dash lengths (n below 32) and sets its name: 0, or -1 without a
    // database or information, or for n of 32 or more.
    virtual int GetLinetypeDashes(std::vector<double>& dashes, int lineType, std::string& name) const;

    // ---- Database and drawing information ------------------------------------------------
    // Makes a drawing through the host library (only with an owner window): 0, or -1.
    virtual int CreateDatabase();
    // Path into the file name, "tcf" into the file type, title into the title; a null
    // argument leaves its field alone.
    virtual void SetFileInfo(const char* path, const char* title);
    // Standard paper within 2 mm, else the size rounded to whole millimetres with code 0.
    virtual void SetPaperSize(double widthMm, double heightMm);
    virtual void SetScale(double scale);
    // Series (0 A, 1 B, 255 other) and size number of the stored paper code; outputs left
    // alone when the code is not in the table. Either pointer may be null.
    virtual void GetPaperKind(int* series, int* size) const;

    // ---- Layers --------------------------------------------------------------------------
    // The engine's name of the layer on the document page: 0, or -1 (no database, no name).
    virtual int GetLayerName(std::string& name, int layer) const;
    // The first layer 0..1023 of that exact name on the page (-1: the document page), or -1.
    virtual int FindLayerByName(const char* name, int page) const;
    // Names the layer (n = -1: the current layer; an empty name gives "レイヤ n+1"), makes it
    // current, shown, selectable and unlocked: 0, or -1 for n above 1023.
    virtual int SetLayer(int layer, const char* name);
    // Current layer 0 in the database and in the active view.
    virtual void ResetCurrentLayer();

    // ---- Elements ------------------------------------------------------------------------
    virtual CadElement AppendLine(const GeoVectorPair& line);
    virtual CadElement AppendCircle(const GeoVector& centre, double radius);
    virtual CadElement AppendText(const GeoVector& position, const char* text);
    // The 174-byte text record from the text state (zeroed first).
    void BuildTextRecord(void* record, const GeoVector& position, const char* text) const;

    // ---- Groups --------------------------------------------------------------------------
    virtual void OpenGroup();
    // Closes the open level; its curve elements become an engine group, which joins the
    // enclosing level. The group, or null when the level held no curve.
    virtual CadElement CloseGroup();
    int CollectGroupMembers(std::vector<CadElement>& members);
    // The handles of line, circle, arc, ellipse and elliptic-arc elements, in order.
    virtual int FilterCurveElements(const std::vector<CadElement>& in, std::vector<CadElement>& out) const;
    virtual CadElement MakeCurveGroup(const std::vector<CadElement>& handles, int kind);
    CadElement MakeGroup(const std::vector<CadElement>& handles);
    // Depth of the group stack (open levels).
    size_t OpenGroupLevels() const { return m_groupStack.size(); }

    // ---- Drawing tables the PDF import matches against (QmCadDocumentImport.cpp) -----------
    // True when the working database has its information block.
    virtual bool HasDrawingInformation() const;
    // Line width n (0..15) in mm: true, or false without information.
    virtual bool GetLinewidthMm(int number, double* widthMm) const;
    // Colour record n (0..256): the low bytes of its red, green and blue.
    virtual bool GetColorRecord(int number, int* red, int* green, int* blue) const;
    // Writes colour record n (0..256): true when written.
    virtual bool SetColorRecord(int number, int red, int green, int blue);
    // Paper millimetres per drawing unit of page 0; 0 without information.
    virtual double GetDrawingScale() const;
    // Appends a copy of the element whose colour number becomes `color` (when above 0): the
    // copy, or null.
    virtual CadElement CopyElementWithColor(CadElement element, int color);

    // ---- Fields the export reads and sets -----------------------------------------------
    HWND ownerWindow = nullptr;
    HWND messageOwner = nullptr;
    void* createdDatabase = nullptr;  // the second handle: made by CreateDatabase
    void* database = nullptr;         // the working database every engine call names
    uint16_t page = 0;                // the page whose information block is used

    // Text state.
    int32_t textValue = 0;
    std::string textStyleName;
    int16_t textMode = 5;
    int16_t textVertical = 0;
    int16_t textFlag = 1;
    double charWidth = 150.0;
    double charHeight = 150.0;
    double secondAngleDegrees = 0.0;
    double textAngleDegrees = 0.0;
    double charSpacing = 0.0;
    std::string fontName;

    // Element attributes.
    uint16_t elementValue = 0;  // written at byte 2 of every record
    uint8_t elementByte = 0;    // written at byte 6
    uint16_t elementPage = 0;
    int16_t currentLayer = 0;
    uint8_t lineType = 0;
    uint16_t color = 7;
    uint8_t lineWidth = 0;

    ElementChangeState changeState;

protected:
    // Adds an appended element to the open level.
    void AddToOpenGroup(CadElement element);
    // The drawing information block of the document's page, or null.
    void* InfoBlock() const;
    // Writes the current layer into the active view's block (through the owner window).
    void WriteActiveViewLayer(int layer) const;
    // Drawing width and height from paper size and scale.
    void UpdateDrawingSize(void* info) const;

    QmCadLayerList m_layers;
    QmCadColorList m_colors;
    QmCadLinetypeList m_linetypes;
    QmCadLinewidthList m_linewidths;
    QmCadTextStyleList m_textStyles;

    std::vector<CadElement> m_queue;

    struct GroupSlot {
        std::vector<CadElement> members;
        bool inUse = false;
        size_t cursor = 0;
    };
    GroupSlot m_groups[kGroupSlots];
    std::vector<int> m_groupStack;

private:
    // The member after `after` (null: the first) of the open level, moving the slot's cursor;
    // null at the end or when `after` is not a member.
    CadElement GetNextGroupMember(CadElement after);
};
