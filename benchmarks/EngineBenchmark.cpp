// The engine with a large drawing: append, walk, save and load 100,000 mixed elements, beside
// the time the system takes to copy a file of the same size.
//   scripts/run-test-exe <build folder> EngineBenchmark [element count]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "DravikDb.h"
#include "BenchmarkSupport.h"
#include "EngineRecords.h"

using benchmark::Seconds;

namespace {

ElementRecord MakeElement(int i)
{
    ElementRecord r;
    std::memset(&r, 0, sizeof r);
    r.layer = static_cast<uint16_t>(i % 1024);
    r.colour = static_cast<uint16_t>(1 + i % 256);
    r.lineType = static_cast<uint8_t>(i % 32);
    r.lineWidth = static_cast<uint8_t>(i % 16);
    double x = (i % 1000) * 1.5, y = (i / 1000) * 2.5;
    switch (i % 5) {
    case 0: {
        r.type = kElementLine;
        auto& l = reinterpret_cast<LineRecord&>(r);
        l.x1 = x;
        l.y1 = y;
        l.x2 = x + 10;
        l.y2 = y + 5;
        break;
    }
    case 1: {
        r.type = kElementCircle;
        auto& c = reinterpret_cast<CircleRecord&>(r);
        c.cx = x;
        c.cy = y;
        c.radius = 3;
        c.nz = 1;
        break;
    }
    case 2: {
        r.type = kElementArc;
        auto& a = reinterpret_cast<ArcRecord&>(r);
        a.cx = x;
        a.cy = y;
        a.radius = 4;
        a.endAngle = 1.0;
        break;
    }
    case 3: {
        r.type = kElementText;
        auto& t = reinterpret_cast<TextRecord&>(r);
        t.x = x;
        t.y = y;
        t.height = 2.5;
        t.widthRatio = 1;
        std::strcpy(t.font, "ＭＳ ゴシック");
        t.text = "分電盤 L-1";
        break;
    }
    default: {
        r.type = kElementPoint;
        auto& p = reinterpret_cast<PointRecord&>(r);
        p.x = x;
        p.y = y;
        break;
    }
    }
    return r;
}

long long FileSize(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace

int main(int argc, char** argv)
{
    if (!benchmark::BindEngine()) return 2;
    const int count = benchmark::CountArgument(argc, argv, 100000);
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string drawing = std::string(temp) + "engine-benchmark.tcf";
    std::string copy = std::string(temp) + "engine-benchmark-copy.tcf";

    EngineDbRecord db;
    std::memset(&db, 0, sizeof db);
    if (!ZUriCreateDB(&db)) return 3;

    // Mixed elements; every tenth one is a group with three line members.
    double t0 = Seconds();
    int appended = 0;
    for (int i = 0; appended < count; ++i) {
        ElementRecord r = MakeElement(i);
        if (i % 10 == 9) {
            ElementRecord group;
            std::memset(&group, 0, sizeof group);
            group.type = kElementGroup;
            void* head = ZUriAppendElement(&group, &db);
            if (head == nullptr) return 4;
            ++appended;
            for (int m = 0; m < 3 && appended < count; ++m, ++appended) {
                ElementRecord member = MakeElement(i * 5);  // lines
                if (ZUriAppendMemberElement(&member, head, &db) == nullptr) return 4;
            }
            continue;
        }
        if (ZUriAppendElement(&r, &db) == nullptr) return 4;
        ++appended;
    }
    double appendTime = Seconds() - t0;

    t0 = Seconds();
    long long walked = 0;
    ElementRecord out;
    for (void* e = ZUriReadElement(nullptr, 0, &out, &db); e != nullptr; e = ZUriReadElement(e, 1, &out, &db)) {
        ++walked;
        if (out.type == kElementGroup) {
            for (void* m = ZUriReadFirstMember(e, &out, &db); m != nullptr; m = ZUriReadNextMember(m, &out, &db))
                ++walked;
        }
    }
    double walkTime = Seconds() - t0;

    uint32_t flags = 0;
    t0 = Seconds();
    int saved = ZUriSaveFileOfCWX(drawing.c_str(), &db, &flags);
    double saveTime = Seconds() - t0;

    EngineDbRecord loaded;
    std::memset(&loaded, 0, sizeof loaded);
    ZUriCreateDB(&loaded);
    flags = 0;
    t0 = Seconds();
    int load = ZUriLoadFileOfCWX(drawing.c_str(), &loaded, &flags);
    double loadTime = Seconds() - t0;

    t0 = Seconds();
    BOOL copied = CopyFileA(drawing.c_str(), copy.c_str(), FALSE);
    double copyTime = Seconds() - t0;

    std::printf("elements (members included)  %d\n", appended);
    std::printf("append                       %8.3f s\n", appendTime);
    std::printf("walk (%lld read)         %8.3f s\n", walked, walkTime);
    std::printf("save .tcf (result %d)         %8.3f s, %lld bytes\n", saved, saveTime, FileSize(drawing));
    std::printf("load .tcf (result %d, flags 0x%x) %8.3f s, %d top-level elements\n", load, flags, loadTime,
                ZUriGetElmNum(&loaded));
    std::printf("copy of the same file (%s)    %8.3f s\n", copied ? "ok" : "failed", copyTime);

    ZUriDeleteDB(&loaded);
    ZUriDeleteDB(&db);
    DeleteFileA(drawing.c_str());
    DeleteFileA(copy.c_str());
    return saved == 1 && load == 1 ? 0 : 1;
}
