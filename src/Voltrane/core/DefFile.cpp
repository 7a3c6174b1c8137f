#include "core/DefFile.h"

#include <cctype>
#include <cstdio>
#include <exception>

#include "core/CodePage932.h"
#include "core/Dbcs.h"
#include "core/XmlSupport.h"

namespace {

const char kReadFailed[] = "設定ファイルの読込みに失敗しました。\nError: %08X: %s\n";
const char kWriteFailed[] = "設定ファイルの書き込みに失敗しました。\nError: %08X: %s\n";

constexpr DWORD kFail = 0x80004005;       // E_FAIL: a path or name the document refuses
constexpr DWORD kInvalidPointer = 0x80004003; // E_POINTER: nothing to work on

std::string Join(const char* a, const char* b)
{
    std::string out = a ? a : "";
    out += '/';
    out += b ? b : "";
    return out;
}

// An XML name as the document accepts it for a new element.
bool IsXmlName(const std::string& utf8)
{
    if (utf8.empty())
        return false;
    for (size_t i = 0; i < utf8.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        if (c >= 0x80)
            continue;
        const bool start = std::isalpha(c) || c == '_' || c == ':';
        if (i == 0 ? !start : !(start || std::isdigit(c) || c == '-' || c == '.'))
            return false;
    }
    return true;
}

// The first text child of a node: the node's value in these files.
pugi::xml_node FirstText(pugi::xml_node node)
{
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling())
        if (child.type() == pugi::node_pcdata)
            return child;
    return pugi::xml_node();
}

void AppendWholeText(pugi::xml_node node, std::string& out)
{
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata)
            out += child.value();
        else if (child.type() == pugi::node_element)
            AppendWholeText(child, out);
    }
}

std::string NodeName(pugi::xml_node node)
{
    switch (node.type()) {
    case pugi::node_pcdata: return "#text";
    case pugi::node_cdata: return "#cdata-section";
    case pugi::node_comment: return "#comment";
    default: return node.name();
    }
}

} // namespace

CDefFile::CDefFile() = default;

CDefFile::CDefFile(const char* path)
{
    Load(path);
}

namespace {

// XPath evaluation below a context node; false (with the reason) when the expression is refused.
bool SelectFirst(pugi::xml_node context, const std::string& sjisPath, pugi::xpath_node& out, std::string& reason)
{
    try {
        pugi::xpath_query query(SjisToUtf8(sjisPath).c_str());
        out = query.evaluate_node(context);
        return true;
    } catch (const std::exception& e) {
        reason = e.what();
        return false;
    }
}

bool SelectAll(pugi::xml_node context, const std::string& sjisPath, pugi::xpath_node_set& out, std::string& reason)
{
    try {
        pugi::xpath_query query(SjisToUtf8(sjisPath).c_str());
        out = query.evaluate_node_set(context);
        out.sort();
        return true;
    } catch (const std::exception& e) {
        reason = e.what();
        return false;
    }
}

std::string ErrorText(const char* format, DWORD code, const std::string& reason)
{
    std::string text = FormatSystemText(code);
    if (!reason.empty())
        text = text.empty() ? reason : text + " (" + reason + ")";
    return FormatXmlError(format, code, text);
}

} // namespace

int CDefFile::GetString(const char* section, const char* key, const char* defaultText, std::string& out)
{
    pugi::xml_node root = Root();
    if (!root) {
        lastError = ErrorText(kReadFailed, kInvalidPointer, std::string());
        return -1;
    }
    pugi::xpath_node found;
    std::string reason;
    if (!SelectFirst(root, Join(section, key), found, reason)) {
        lastError = ErrorText(kReadFailed, kFail, reason);
        return -1;
    }
    if (found.attribute()) {
        out = Utf8ToSjis(found.attribute().value());
        return 0;
    }
    if (found.node()) {
        if (pugi::xml_node text = FirstText(found.node())) {
            out = Utf8ToSjis(text.value());
            return 0;
        }
    }
    out = defaultText ? defaultText : "";
    return 1;
}

int CDefFile::GetString(const char* section, const char* key, const char* defaultText, char* out, size_t outSize)
{
    std::string value;
    const int result = GetString(section, key, defaultText, value);
    if (result >= 0)
        DbcsCopy(out, outSize, value.c_str());
    return result;
}

int CDefFile::GetStringList(const char* path, const char* key, std::vector<std::string>& out)
{
    pugi::xml_node root = Root();
    if (!root) {
        lastError = ErrorText(kReadFailed, kInvalidPointer, std::string());
        return -1;
    }
    pugi::xpath_node_set nodes;
    std::string reason;
    if (!SelectAll(root, Join(path, key), nodes, reason)) {
        lastError = ErrorText(kReadFailed, kFail, reason);
        return -1;
    }
    for (const pugi::xpath_node& n : nodes) {
        std::string text;
        if (n.attribute())
            text = n.attribute().value();
        else if (n.node().type() == pugi::node_pcdata || n.node().type() == pugi::node_cdata)
            text = n.node().value();
        else
            AppendWholeText(n.node(), text);
        out.push_back(Utf8ToSjis(text));
    }
    return nodes.empty() ? -1 : 0;
}

int CDefFile::GetChildNames(const char* path, std::vector<std::string>& out)
{
    pugi::xml_node root = Root();
    if (!root) {
        lastError = ErrorText(kReadFailed, kInvalidPointer, std::string());
        return -1;
    }
    pugi::xpath_node found;
    std::string reason;
    if (!SelectFirst(root, path ? path : "", found, reason)) {
        lastError = ErrorText(kReadFailed, kFail, reason);
        return -1;
    }
    if (!found) {
        lastError = ErrorText(kReadFailed, kInvalidPointer, std::string());
        return -1;
    }
    if (found.attribute()) {
        if (!*found.attribute().value())
            return -1;
        out.push_back("#text");
        return 0;
    }
    if (!found.node().first_child())
        return -1;
    for (pugi::xml_node child = found.node().first_child(); child; child = child.next_sibling())
        out.push_back(Utf8ToSjis(NodeName(child)));
    return 0;
}

namespace {

enum class Walk { Stored, NotStored, Failed };

// Appends <name>value</name> (no text child for a null value) to parent.
bool AppendElement(pugi::xml_node parent, const std::string& sjisName, const char* utf8Value, pugi::xml_node* made,
                   std::string& reason)
{
    const std::string name = SjisToUtf8(sjisName);
    if (!IsXmlName(name)) {
        reason = "Invalid element name.";
        return false;
    }
    pugi::xml_node element = parent.append_child(name.c_str());
    if (!element) {
        reason = "The element cannot be added.";
        return false;
    }
    if (utf8Value)
        element.append_child(pugi::node_pcdata).set_value(utf8Value);
    if (made)
        *made = element;
    return true;
}

// The store walk: one step of the path at a time from the parent down.
Walk StoreByPath(pugi::xml_node parent, std::string path, const std::string& utf8Value, bool create, std::string& reason)
{
    for (;;) {
        const size_t slash = path.find('/');
        const bool last = slash == std::string::npos;
        const std::string head = last ? path : path.substr(0, slash);
        const std::string rest = last ? std::string() : path.substr(slash + 1);

        pugi::xpath_node found;
        if (head.empty()) {
            // Nothing is selected by an empty step; only a new element could take the value,
            // and an element needs a name.
            if (!create)
                return Walk::NotStored;
            reason = "Invalid element name.";
            return Walk::Failed;
        }
        if (!SelectFirst(parent, head, found, reason))
            return Walk::Failed;

        if (found.attribute()) {
            if (create) {
                reason = "Invalid element name.";
                return Walk::Failed;
            }
            if (std::string(found.attribute().value()) != utf8Value)
                found.attribute().set_value(utf8Value.c_str());
            return Walk::Stored;
        }
        if (pugi::xml_node node = found.node()) {
            if (pugi::xml_node text = FirstText(node)) {
                if (create)
                    return AppendElement(parent, head, utf8Value.c_str(), nullptr, reason) ? Walk::Stored : Walk::Failed;
                if (std::string(text.value()) != utf8Value)
                    text.set_value(utf8Value.c_str());
                return Walk::Stored;
            }
            // An empty element at the end of the path takes the value as its first text.
            if (last && node.type() == pugi::node_element) {
                bool hasElement = false;
                for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling())
                    if (c.type() == pugi::node_element)
                        hasElement = true;
                if (!hasElement) {
                    node.append_child(pugi::node_pcdata).set_value(utf8Value.c_str());
                    return Walk::Stored;
                }
            }
            parent = node;
            path = rest;
            continue;
        }
        if (!create)
            return Walk::NotStored;
        if (last)
            return AppendElement(parent, head, utf8Value.c_str(), nullptr, reason) ? Walk::Stored : Walk::Failed;
        pugi::xml_node made;
        if (!AppendElement(parent, head, nullptr, &made, reason))
            return Walk::Failed;
        parent = made;
        path = rest;
    }
}

} // namespace

int CDefFile::SetString(const char* section, const char* key, const char* value, int create)
{
    pugi::xml_node root = Root();
    if (!root) {
        lastError = ErrorText(kWriteFailed, kInvalidPointer, std::string());
        return -1;
    }
    std::string reason;
    switch (StoreByPath(root, Join(section, key), SjisToUtf8(value ? value : ""), create != 0, reason)) {
    case Walk::Stored:
        return 0;
    case Walk::NotStored:
        return -1;
    case Walk::Failed:
    default:
        lastError = ErrorText(kWriteFailed, kFail, reason);
        return -1;
    }
}

int CDefFile::SetStringAt(const char* section, const char* path, const char* value, int index)
{
    if (index < 0)
        return SetString(section, path, value, 1);
    pugi::xml_node root = Root();
    if (!root) {
        lastError = ErrorText(kWriteFailed, kInvalidPointer, std::string());
        return -1;
    }
    pugi::xpath_node_set nodes;
    std::string reason;
    if (!SelectAll(root, Join(section, path), nodes, reason)) {
        lastError = ErrorText(kWriteFailed, kFail, reason);
        return -1;
    }
    if (static_cast<size_t>(index) >= nodes.size())
        return -1;
    const std::string utf8 = SjisToUtf8(value ? value : "");
    const pugi::xpath_node& target = nodes[static_cast<size_t>(index)];
    if (target.attribute()) {
        target.attribute().set_value(utf8.c_str());
        return 0;
    }
    pugi::xml_node node = target.node();
    if (node.type() != pugi::node_element) {
        node.set_value(utf8.c_str());
        return 0;
    }
    while (pugi::xml_node child = node.first_child())
        node.remove_child(child);
    node.append_child(pugi::node_pcdata).set_value(utf8.c_str());
    return 0;
}
