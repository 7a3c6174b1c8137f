// The plug-in's command objects: a base with the host's seven-argument call, and the base of
// the three PDF commands, which keeps the parameter text and the caller's context.
#pragma once

#include <cstdint>
#include <string>

class CCmdBase {
public:
    virtual ~CCmdBase() = default;
    // Nothing in the system calls it; every command answers 1.
    virtual int Call(int32_t a1, int32_t a2, int32_t a3, int32_t a4, int32_t a5, int32_t a6, int32_t a7);
    virtual void SetParam(const char* parameterText, void* context);
};

class CCmdBaseEx : public CCmdBase {
public:
    // Keeps the text (empty for a null pointer) and the context.
    void SetParam(const char* parameterText, void* context) override;

    const std::string& ParameterText() const { return m_parameterText; }
    // The target database handle of a stand-alone host, or null.
    void* Context() const { return m_context; }

protected:
    std::string m_parameterText;
    void* m_context = nullptr;
};
