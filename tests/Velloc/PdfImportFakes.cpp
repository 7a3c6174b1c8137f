#include "GTest.h"

#include "PdfImportFakes.h"

std::string TestProgramFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    const size_t slash = folder.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
}

FakeImportServices::FakeImportServices() : FakeImportServices(TestProgramFolder()) {}

FakeImportServices::FakeImportServices(const std::string& dataFolder)
    : files(dataFolder), services{&codePage, &settings, &textMeasure, &files, &messages}
{
}

std::string Bytes(std::initializer_list<int> values)
{
    std::string s;
    for (int v : values) s.push_back(static_cast<char>(v));
    return s;
}

StartCmdExFn LoadVellocStartCmdEx()
{
    static HMODULE module = LoadLibraryA((TestProgramFolder() + "Velloc.dll.so").c_str());
    return module ? reinterpret_cast<StartCmdExFn>(GetProcAddress(module, "StartCmdEx")) : nullptr;
}
