// A database made for one test, and builders of element records.
#pragma once

#include "DravikDb.h"

#include <cstring>

struct TestDb {
    EngineDbRecord record{};
    bool created = false;

    TestDb() { created = ZUriCreateDB(&record) == 1; }
    ~TestDb()
    {
        if (created) ZUriDeleteDB(&record);
    }
    TestDb(const TestDb&) = delete;
    TestDb& operator=(const TestDb&) = delete;
    void* db() { return &record; }
};

template <typename T>
ElementRecord AsRecord(const T& typed)
{
    static_assert(sizeof(T) == sizeof(ElementRecord), "overlay size");
    ElementRecord record;
    std::memcpy(&record, &typed, sizeof record);
    return record;
}

template <typename T>
T Typed(const ElementRecord& record)
{
    T typed;
    std::memcpy(&typed, &record, sizeof typed);
    return typed;
}

inline void SetHeader(uint8_t* header, uint16_t type, uint16_t layer = 0, int32_t page = 0, uint16_t colour = 1)
{
    ElementRecord r;
    std::memset(&r, 0, sizeof r);
    r.type = type;
    r.layer = layer;
    r.page = page;
    r.colour = colour;
    std::memcpy(header, &r, 33);
}

inline ElementRecord MakeLine(double x1, double y1, double x2, double y2, uint16_t layer = 0, int32_t page = 0)
{
    LineRecord line{};
    SetHeader(line.header, kElementLine, layer, page);
    line.x1 = x1, line.y1 = y1, line.x2 = x2, line.y2 = y2;
    return AsRecord(line);
}

inline ElementRecord MakePoint(double x, double y)
{
    PointRecord p{};
    SetHeader(p.header, kElementPoint);
    p.x = x, p.y = y;
    return AsRecord(p);
}

inline ElementRecord MakeCircle(double cx, double cy, double r)
{
    CircleRecord c{};
    SetHeader(c.header, kElementCircle);
    c.cx = cx, c.cy = cy, c.radius = r, c.nz = 1.0;
    return AsRecord(c);
}

inline ElementRecord MakeComposite(uint16_t type = kElementGroup)
{
    ElementRecord r;
    std::memset(&r, 0, sizeof r);
    r.type = type;
    return r;
}

inline EngineNode* Node(void* handle)
{
    return static_cast<EngineNode*>(handle);
}
