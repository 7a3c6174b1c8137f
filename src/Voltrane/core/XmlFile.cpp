#include "core/XmlFile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "core/CodePage932.h"
#include "core/WholeFileRead.h"
#include "core/XmlSupport.h"

int (WINAPI* CXMLFile::errorBox)(HWND, LPCSTR, LPCSTR, UINT) = MessageBoxA;

namespace {

const char kLoadFailed[] = "設定ファイル処理でエラーが発生しました。\n%s";
const char kWriteFailed[] = "設定ファイルの書き込みに失敗しました。\nError: %08X: %s\n";

bool IsShiftJisName(std::string name)
{
    for (auto& c : name)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return name == "shift_jis" || name == "shift-jis" || name == "sjis" || name == "x-sjis" ||
           name == "windows-31j" || name == "cp932" || name == "ms_kanji" || name == "csshiftjis";
}

// The encoding named by the XML declaration at the start of the bytes, empty when none.
std::string DeclaredEncoding(const std::string& bytes)
{
    if (bytes.compare(0, 5, "<?xml") != 0)
        return std::string();
    const size_t end = bytes.find("?>");
    if (end == std::string::npos)
        return std::string();
    const std::string decl = bytes.substr(0, end);
    size_t pos = decl.find("encoding");
    if (pos == std::string::npos)
        return std::string();
    pos = decl.find_first_of("\"'", pos);
    if (pos == std::string::npos)
        return std::string();
    const size_t close = decl.find(decl[pos], pos + 1);
    if (close == std::string::npos)
        return std::string();
    return decl.substr(pos + 1, close - pos - 1);
}

// Strict code page 932 to UTF-8: false when the bytes are not valid Shift-JIS.
bool StrictSjisToUtf8(const std::string& sjis, std::string& utf8)
{
    utf8.clear();
    if (sjis.empty())
        return true;
    const int n = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, sjis.data(), static_cast<int>(sjis.size()), nullptr, 0);
    if (n <= 0)
        return false;
    std::u16string wide(static_cast<size_t>(n), u'\0');
    MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, sjis.data(), static_cast<int>(sjis.size()),
                        reinterpret_cast<WCHAR*>(&wide[0]), n);
    const int m = WideCharToMultiByte(CP_UTF8, 0, reinterpret_cast<const WCHAR*>(wide.data()), n, nullptr, 0, nullptr, nullptr);
    if (m <= 0)
        return false;
    utf8.assign(static_cast<size_t>(m), '\0');
    WideCharToMultiByte(CP_UTF8, 0, reinterpret_cast<const WCHAR*>(wide.data()), n, &utf8[0], m, nullptr, nullptr);
    return true;
}

class StringWriter : public pugi::xml_writer {
public:
    std::string text;
    void write(const void* data, size_t size) override { text.append(static_cast<const char*>(data), size); }
};

// Comments, the declaration and the document type are not part of the indented output.
void StripForIndentedOutput(pugi::xml_node node)
{
    for (pugi::xml_node child = node.first_child(); child;) {
        pugi::xml_node next = child.next_sibling();
        const pugi::xml_node_type t = child.type();
        if (t == pugi::node_comment || t == pugi::node_declaration || t == pugi::node_doctype)
            node.remove_child(child);
        else if (t == pugi::node_element)
            StripForIndentedOutput(child);
        child = next;
    }
}

// Pruning: true when the node has a non-empty text somewhere below it.
bool PruneEmpty(pugi::xml_node node)
{
    bool content = false;
    for (pugi::xml_node child = node.first_child(); child;) {
        pugi::xml_node next = child.next_sibling();
        const pugi::xml_node_type t = child.type();
        if (t == pugi::node_pcdata || t == pugi::node_cdata) {
            if (*child.value())
                content = true;
        } else if (PruneEmpty(child)) {
            content = true;
        } else {
            node.remove_child(child);
        }
        child = next;
    }
    return content;
}

// Whether every element, attribute and processing-instruction name below the node can be
// written in code page 932: a character reference stands in for other characters in text, but
// a name cannot hold one.
bool NamesFitCodePage932(pugi::xml_node node)
{
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element && child.type() != pugi::node_pi)
            continue;
        if (Utf8ToSjisForXml(child.name()).find('&') != std::string::npos)
            return false;
        for (pugi::xml_attribute a = child.first_attribute(); a; a = a.next_attribute()) {
            if (Utf8ToSjisForXml(a.name()).find('&') != std::string::npos)
                return false;
        }
        if (!NamesFitCodePage932(child))
            return false;
    }
    return true;
}

} // namespace

CXMLFile::CXMLFile() = default;

CXMLFile::~CXMLFile() = default;

pugi::xml_node CXMLFile::Root() const
{
    return document ? document->document_element() : pugi::xml_node();
}

int CXMLFile::Load(const char* path)
{
    document.reset();
    std::string bytes;
    const DWORD error = ReadWholeFile(path, &bytes);
    if (error != 0) {
        char buffer[1024];
        std::snprintf(buffer, sizeof(buffer), kLoadFailed, FormatSystemText(error).c_str());
        lastError = buffer;
        return 0;
    }

    pugi::xml_encoding encoding = pugi::encoding_auto;
    const bool hasBom = bytes.size() >= 2 &&
        ((static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE) ||
         (static_cast<unsigned char>(bytes[0]) == 0xFE && static_cast<unsigned char>(bytes[1]) == 0xFF) ||
         (static_cast<unsigned char>(bytes[0]) == 0xEF && static_cast<unsigned char>(bytes[1]) == 0xBB));
    if (!hasBom && IsShiftJisName(DeclaredEncoding(bytes))) {
        std::string utf8;
        if (!StrictSjisToUtf8(bytes, utf8)) {
            char buffer[1024];
            std::snprintf(buffer, sizeof(buffer), kLoadFailed, "The text is not valid Shift_JIS.");
            lastError = buffer;
            return 0;
        }
        bytes.swap(utf8);
        encoding = pugi::encoding_utf8;
    }

    auto doc = std::make_shared<pugi::xml_document>();
    // Blanks that are an element's whole content are a value (a setting may be one blank);
    // blanks between elements are only layout and are dropped.
    const unsigned options = pugi::parse_default | pugi::parse_declaration | pugi::parse_comments | pugi::parse_pi |
                             pugi::parse_doctype | pugi::parse_ws_pcdata_single;
    const pugi::xml_parse_result result = doc->load_buffer(bytes.data(), bytes.size(), options, encoding);
    if (!result || !doc->document_element()) {
        char reason[512];
        if (result)
            std::snprintf(reason, sizeof(reason), "No document element.");
        else
            std::snprintf(reason, sizeof(reason), "%s (offset %ld)", result.description(),
                          static_cast<long>(result.offset));
        char buffer[1024];
        std::snprintf(buffer, sizeof(buffer), kLoadFailed, reason);
        lastError = buffer;
        return 0;
    }
    document = std::move(doc);
    return 1;
}

void CXMLFile::RemoveEmptyElements()
{
    pugi::xml_node root = Root();
    if (root)
        PruneEmpty(root);
}

int CXMLFile::Save(const char* path)
{
    DWORD error = 0;
    if (!document) {
        error = ERROR_INVALID_HANDLE;
    } else {
        pugi::xml_document copy;
        copy.reset(*document);
        StripForIndentedOutput(copy);
        if (!NamesFitCodePage932(copy)) {
            // Written anyway, the file could not be read again: the old one is kept instead.
            error = ERROR_NO_UNICODE_TRANSLATION;
        } else {
            StringWriter writer;
            copy.save(writer, "\t", pugi::format_indent | pugi::format_no_declaration, pugi::encoding_utf8);
            std::string bytes = "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n";
            bytes += Utf8ToSjisForXml(writer.text);
            error = WriteFileReplacing(path, bytes);
        }
    }
    if (error) {
        const std::string text = FormatXmlError(kWriteFailed, HRESULT_FROM_WIN32(error), FormatSystemText(error));
        errorBox(nullptr, text.c_str(), "エラー", MB_OK | MB_ICONERROR);
        return 0;
    }
    return 1;
}

void CXMLFile::SaveRaw(const char* path)
{
    if (!document)
        return;
    StringWriter writer;
    document->save(writer, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
    // The bytes follow the document's own declaration, as a loaded document is written back.
    std::string bytes = writer.text;
    for (pugi::xml_node child = document->first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_declaration) {
            if (IsShiftJisName(child.attribute("encoding").value())) {
                if (!NamesFitCodePage932(*document)) {
                    lastError = FormatXmlError(kWriteFailed, HRESULT_FROM_WIN32(ERROR_NO_UNICODE_TRANSLATION),
                                               FormatSystemText(ERROR_NO_UNICODE_TRANSLATION));
                    return;
                }
                bytes = Utf8ToSjisForXml(writer.text);
            }
            break;
        }
    }
    if (const DWORD error = WriteFileReplacing(path, bytes)) {
        lastError = FormatXmlError(kWriteFailed, HRESULT_FROM_WIN32(error), FormatSystemText(error));
    }
}
