// Typed settings values of the program's ini file (or of "ConfigData.xml" for section
// "SYSTEM"), each with a companion flag stored under the key followed by "_FLG".
#pragma once

#include <string>

class CIniValue {
public:
    CIniValue(const char* section, const char* key);
    virtual ~CIniValue() = default;

    // Reads the flag (key + "_FLG"), keeping the current flag as the default.
    virtual void Read();
    // Writes key + "_FLG" from the flag when withFlag is set, then key = value; the result
    // of the last write (1 stored, 0 not).
    virtual int Write(const char* value, bool withFlag);

    std::string section;
    std::string key;
    int flag = 0;
};

class CIniValueInt : public CIniValue {
public:
    CIniValueInt(const char* section, const char* key, int initial);
    void Load(const char* defaultText);
    int Save(bool withFlag);

    int value;
};

class CIniValueDouble : public CIniValue {
public:
    CIniValueDouble(const char* section, const char* key, double initial);
    void Load(const char* defaultText);

    double value;
};

class CIniValueString : public CIniValue {
public:
    CIniValueString(const char* section, const char* key, const char* initial);
    void Load(const char* defaultText);
    int Save(bool withFlag);

    std::string value;
};
