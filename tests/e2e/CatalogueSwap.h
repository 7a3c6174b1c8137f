// Replaces the installed command catalogue "LumbraCmd.def" of the program folder for one test
// and puts the original back afterwards.
#pragma once

#include <string>

// A catalogue with the test plug-in's Echo command as 5990 only, for tests that need no other
// command (OpenEmptyDrawingWindow waits for its trace).
extern const char kEchoOnlyCatalogue[];

class CatalogueSwap {
public:
    explicit CatalogueSwap(const std::string& xml);
    ~CatalogueSwap();
    CatalogueSwap(const CatalogueSwap&) = delete;
    CatalogueSwap& operator=(const CatalogueSwap&) = delete;

    bool Written() const { return m_written; }

private:
    std::string m_path;
    std::string m_saved;
    bool m_hadFile = false;
    bool m_written = false;
};
