// Little-endian byte writing and bounds-checked reading for the drawing files.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace dravikdb {
namespace drawingfile {

class ByteWriter {
public:
    explicit ByteWriter(std::vector<uint8_t>& out) : m_out(out) {}
    void U8(uint8_t v) { m_out.push_back(v); }
    void U16(uint16_t v) { Raw(&v, 2); }
    void U32(uint32_t v) { Raw(&v, 4); }
    void I32(int32_t v) { Raw(&v, 4); }
    void Raw(const void* data, size_t size)
    {
        const uint8_t* p = static_cast<const uint8_t*>(data);
        m_out.insert(m_out.end(), p, p + size);
    }
    void Bytes(const std::string& text)
    {
        U32(static_cast<uint32_t>(text.size()));
        Raw(text.data(), text.size());
    }
    size_t Size() const { return m_out.size(); }
    void PatchU32(size_t at, uint32_t v) { std::memcpy(m_out.data() + at, &v, 4); }

private:
    std::vector<uint8_t>& m_out;
};

// Every read fails (and keeps failing) once the data runs out.
class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    bool Ok() const { return m_ok; }
    size_t Left() const { return m_ok ? m_size - m_pos : 0; }
    bool AtEnd() const { return m_ok && m_pos == m_size; }
    bool Raw(void* out, size_t size)
    {
        if (!m_ok || size > m_size - m_pos) return Fail();
        std::memcpy(out, m_data + m_pos, size);
        m_pos += size;
        return true;
    }
    bool Skip(size_t size)
    {
        if (!m_ok || size > m_size - m_pos) return Fail();
        m_pos += size;
        return true;
    }
    const uint8_t* Here() const { return m_data + m_pos; }
    uint8_t U8() { uint8_t v = 0; Raw(&v, 1); return v; }
    uint16_t U16() { uint16_t v = 0; Raw(&v, 2); return v; }
    uint32_t U32() { uint32_t v = 0; Raw(&v, 4); return v; }
    int32_t I32() { int32_t v = 0; Raw(&v, 4); return v; }
    // A length-prefixed byte string of at most `limit` bytes.
    bool Bytes(std::string& out, size_t limit)
    {
        uint32_t n = U32();
        if (!m_ok || n > limit || n > Left()) return Fail();
        out.assign(reinterpret_cast<const char*>(m_data + m_pos), n);
        m_pos += n;
        return true;
    }

private:
    bool Fail()
    {
        m_ok = false;
        return false;
    }
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
    bool m_ok = true;
};

}  // namespace drawingfile
}  // namespace dravikdb
