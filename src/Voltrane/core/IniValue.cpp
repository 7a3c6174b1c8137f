#include "core/IniValue.h"

#include <cstdio>

#include "core/ConfigIo.h"

namespace {
constexpr int kValueSize = 257;
}  // namespace

CIniValue::CIniValue(const char* section_, const char* key_)
    : section(section_ ? section_ : ""), key(key_ ? key_ : "")
{
}

void CIniValue::Read()
{
    std::string flagKey = key + "_FLG";
    ReadConfigValue(&flag, 1, kValueSize, section.c_str(), flagKey.c_str(), flag != 0 ? "1" : "0");
}

int CIniValue::Write(const char* value, bool withFlag)
{
    int result = 0;
    if (withFlag) {
        std::string flagKey = key + "_FLG";
        result = WriteConfigString(section.c_str(), flagKey.c_str(), flag != 0 ? "1" : "0");
    }
    result = WriteConfigString(section.c_str(), key.c_str(), value ? value : "");
    return result;
}

CIniValueInt::CIniValueInt(const char* section_, const char* key_, int initial)
    : CIniValue(section_, key_), value(initial)
{
}

void CIniValueInt::Load(const char* defaultText)
{
    Read();
    ReadConfigValue(&value, 1, kValueSize, section.c_str(), key.c_str(), defaultText);
}

int CIniValueInt::Save(bool withFlag)
{
    char text[32];
    std::snprintf(text, sizeof text, "%ld", static_cast<long>(value));
    return Write(text, withFlag);
}

CIniValueDouble::CIniValueDouble(const char* section_, const char* key_, double initial)
    : CIniValue(section_, key_), value(initial)
{
}

void CIniValueDouble::Load(const char* defaultText)
{
    Read();
    ReadConfigValue(&value, 4, kValueSize, section.c_str(), key.c_str(), defaultText);
}

CIniValueString::CIniValueString(const char* section_, const char* key_, const char* initial)
    : CIniValue(section_, key_), value(initial ? initial : "")
{
}

void CIniValueString::Load(const char* defaultText)
{
    Read();
    char buffer[1024] = {};
    ReadConfigValue(buffer, 5, kValueSize, section.c_str(), key.c_str(), defaultText);
    value = buffer;
}

int CIniValueString::Save(bool withFlag) { return Write(value.c_str(), withFlag); }
