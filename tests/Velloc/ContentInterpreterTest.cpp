#include "GTest.h"

#include "PdfImportHarness.h"

#include <cmath>

namespace {

double Length(const RecordedElement& e) { return std::hypot(e.x2 - e.x1, e.y2 - e.y1); }

}  // namespace

TEST(ContentInterpreter, OperatorsGiveTheirElements)
{
    struct Case { const char* content; size_t lines; size_t circles; };
    const Case cases[] = {
        {"0 0 m 100 0 l S", 1, 0},
        {"0 0 m S", 0, 0},
        {"10 20 30 40 re S", 4, 0},
        {"10 20 30 40 re W n", 0, 0},                  // a clipping path draws nothing
        {"0 0 m 10 0 l 10 10 l h S", 3, 0},
        {"0 0 m 10 0 l 10 10 l s", 3, 0},
        {"0 0 m 10 0 l 10 10 l f", 3, 0},              // f closes the subpath
        {"0 0 m 10 0 l 10 10 l F", 2, 0},              // F does not
        {"0 0 m 10 0 l 10 10 l b*", 3, 0},
        {"0 0 m 10 10 20 10 30 0 c S", 12, 0},
        {"0 0 m 10 10 30 0 v S", 12, 0},               // v and y are curves too
        {"0 0 m 10 10 30 0 y S", 12, 0},
        {"0 0 m 50 50 l", 1, 0},                       // what is left at the end runs
        {"0 0 m 0 0 l S", 0, 0},                       // no zero-length line
        {"0 0 m 10 0 l 10 10 l 0 0 l 0 0 m 5 5 l S", 4, 0},
        {"w 0 0 m 10 0 l S", 1, 0},                    // operators missing operands are ignored
        {"BI /W 1 /H 1 /BPC 8 /CS /G ID \x01 EI 0 0 m 1 0 l S", 1, 0},
    };
    for (const Case& c : cases) {
        ImportRun run;
        ASSERT_EQ(0, run.Run(c.content)) << c.content;
        EXPECT_EQ(c.lines, run.document.Of('L').size()) << c.content;
        EXPECT_EQ(c.circles, run.document.Of('C').size()) << c.content;
    }
}

TEST(ContentInterpreter, LinesAreRelativeToThePageCentre)
{
    ImportRun run;
    ASSERT_EQ(0, run.Run("10 20 30 40 re S"));
    const auto lines = run.document.Of('L');
    ASSERT_EQ(4u, lines.size());
    EXPECT_DOUBLE_EQ(-90, lines[0].x1);
    EXPECT_DOUBLE_EQ(-30, lines[0].y1);
    EXPECT_DOUBLE_EQ(-60, lines[0].x2);
    EXPECT_DOUBLE_EQ(10, lines[2].y1);
}

TEST(ContentInterpreter, FourCurvesOfACircleBecomeOneCircle)
{
    auto circle = [](double cx, double cy, double r, double kf) {
        const double k = kf * r;
        char text[512];
        std::snprintf(text, sizeof text,
                      "%g %g m %g %g %g %g %g %g c %g %g %g %g %g %g c %g %g %g %g %g %g c %g %g %g %g %g %g c S",
                      cx - r, cy, cx - r, cy + k, cx - k, cy + r, cx, cy + r, cx + k, cy + r, cx + r, cy + k, cx + r,
                      cy, cx + r, cy - k, cx + k, cy - r, cx, cy - r, cx - k, cy - r, cx - r, cy - k, cx - r, cy);
        return std::string(text);
    };
    struct Case { std::string content; const char* bezierToCircle; size_t lines; size_t circles; };
    const Case cases[] = {
        {circle(100, 50, 20, 0.552), "1", 0, 1},
        {circle(100, 50, 100, 0.5523), "1", 48, 0},
        {circle(100, 50, 20, 0.552), "0", 48, 0},
    };
    for (const Case& c : cases) {
        ImportRun run;
        run.fake.settings.values["BezierToCircle"] = c.bezierToCircle;
        ASSERT_EQ(0, run.Run(c.content));
        EXPECT_EQ(c.lines, run.document.Of('L').size()) << c.content;
        ASSERT_EQ(c.circles, run.document.Of('C').size()) << c.content;
        if (c.circles) {
            const RecordedElement e = run.document.Of('C')[0];
            EXPECT_NEAR(0, e.x1, 1e-9);
            EXPECT_NEAR(0, e.y1, 1e-9);
            EXPECT_NEAR(20, e.x2, 1e-9);
        }
    }
}

TEST(ContentInterpreter, MatricesScaleAndQRestores)
{
    struct Case { const char* content; double length; };
    const Case cases[] = {
        {"2 0 0 2 0 0 cm 0 0 m 10 0 l S", 20},
        {"q 2 0 0 2 0 0 cm Q 0 0 m 10 0 l S", 10},
        {"Q Q 0 0 m 10 0 l S", 10},                           // Q without q does nothing
        {"0 1 -1 0 0 0 cm 0 0 m 10 0 l S", 10},
        {"1 0 0 1 5 5 cm 2 0 0 1 0 0 cm 0 0 m 10 0 l S", 20},
    };
    for (const Case& c : cases) {
        ImportRun run;
        ASSERT_EQ(0, run.Run(c.content));
        ASSERT_EQ(1u, run.document.Of('L').size()) << c.content;
        EXPECT_NEAR(c.length, Length(run.document.Of('L')[0]), 1e-9) << c.content;
    }
}

TEST(ContentInterpreter, ColoursMatchTheDrawingOrBecomeNew)
{
    struct Case { const char* content; int colour; };
    const Case cases[] = {
        {"1 0 0 RG 0 0 m 100 0 l S", 2},
        {"0 0 1 rg 0 0 m 100 0 l S", 4},           // no stroking colour: the fill colour
        {"0 0 1 rg 1 0 0 RG 0 0 m 100 0 l S", 2},  // paths take the stroking colour
        {"0 g 0 0 m 100 0 l S", 1},
        {"0 0 0 1 k 0 0 m 100 0 l S", 1},
        {"0.5 0.5 sc 0 0 m 100 0 l S", 7},         // two components change nothing
        {"/P0 scn 0 0 m 100 0 l S", 7},            // a pattern name changes nothing
        {"0.5 0.2 0.1 RG 0 0 m 100 0 l S", 200},   // a new colour
        {"1 0 0 RG q 0 0 1 RG Q 0 0 m 100 0 l S", 2},
    };
    for (const Case& c : cases) {
        ImportRun run;
        ASSERT_EQ(0, run.Run(c.content));
        ASSERT_EQ(1u, run.document.Of('L').size()) << c.content;
        EXPECT_EQ(c.colour, run.document.Of('L')[0].colour) << c.content;
    }
    ImportRun run;
    ASSERT_EQ(0, run.Run("0.5 0.2 0.1 RG 0 0 m 1 0 l S 0.5 0.2 0.1 RG 0 0 m 2 0 l S 0.2 0.3 0.4 RG 0 0 m 3 0 l S"));
    const auto lines = run.document.Of('L');
    ASSERT_EQ(3u, lines.size());
    EXPECT_EQ(200, lines[1].colour);
    EXPECT_EQ(201, lines[2].colour);
    EXPECT_EQ(128, run.document.colours[200][0]);
}

TEST(ContentInterpreter, NearestColourBySquaredDistanceOnceNewNumbersRunOut)
{
    std::string content;
    for (int i = 0; i < 57; ++i) {
        char op[64];
        std::snprintf(op, sizeof op, "0.%02d 0.99 0.99 RG 0 0 m 1 0 l S ", i + 1);
        content += op;
    }
    // Red 250, green 10, blue 10: the sum of squares lies nearest a grey, the distance nearest red.
    content += "0.98 0.04 0.04 RG 0 0 m 2 0 l S";
    ImportRun run;
    ASSERT_EQ(0, run.Run(content));
    const auto lines = run.document.Of('L');
    ASSERT_EQ(58u, lines.size());
    EXPECT_EQ(256, lines[56].colour);
    EXPECT_EQ(2, lines[57].colour);
}

TEST(ContentInterpreter, WidthsFollowTheMatrixInEveryDirection)
{
    struct Case { const char* content; int width; };
    const Case cases[] = {
        {"2 w 0 0 m 10 0 l S", 6},                        // 0.7056 mm -> 0.7
        {"0 1 -1 0 0 0 cm 2 w 0 0 m 10 0 l S", 6},        // turned: the same width
        {"3 0 0 3 0 0 cm 0.5 w 0 0 m 10 0 l S", 4},       // 0.529 mm -> 0.5
        {"0 w 0 0 m 10 0 l S", 0},
        {"100 w 0 0 m 10 0 l S", 15},
    };
    for (const Case& c : cases) {
        ImportRun run;
        ASSERT_EQ(0, run.Run(c.content));
        ASSERT_EQ(1u, run.document.Of('L').size()) << c.content;
        EXPECT_EQ(c.width, run.document.Of('L')[0].lineWidth) << c.content;
    }
}

TEST(ContentInterpreter, DashArraysSelectLineTypes)
{
    struct Case { const char* content; int lineType; };
    const Case cases[] = {
        {"[3 2] 0 d 0 0 m 10 0 l S", 1},
        {"[3.4 2.0] 0 d 0 0 m 10 0 l S", 1},   // reals are read, in whole points
        {"[6 3] 0 d 0 0 m 10 0 l S", 2},
        {"[6 3] 0 d [] 0 d 0 0 m 10 0 l S", 0},
        {"[5 1] 0 d 0 0 m 10 0 l S", 1},       // nearest of two dashes, first on ties
        {"[1 1 1] 0 d 0 0 m 10 0 l S", 0},     // no line type with three dashes
        {"[3 2] 0 D 0 0 m 10 0 l S", 1},
    };
    for (const Case& c : cases) {
        ImportRun run;
        ASSERT_EQ(0, run.Run(c.content));
        ASSERT_EQ(1u, run.document.Of('L').size()) << c.content;
        EXPECT_EQ(c.lineType, run.document.Of('L')[0].lineType) << c.content;
    }
}

TEST(ContentInterpreter, FilledPathsWithModeFillDrawAreGrouped)
{
    ImportRun run;
    run.fake.settings.values["modeFillDraw"] = "1";
    ASSERT_EQ(0, run.Run("0 0 1 rg 1 0 0 RG 10 10 30 40 re B"));
    const auto lines = run.document.Of('L');
    ASSERT_EQ(8u, lines.size());
    EXPECT_EQ(4, lines[0].colour);  // outline in the fill colour
    EXPECT_EQ(2, lines[4].colour);  // copies in the stroking colour
    ASSERT_EQ(2u, run.document.groups.size());
    EXPECT_EQ(100, run.document.groups[0].kind);
    EXPECT_EQ(4u, run.document.groups[0].members.size());
    EXPECT_EQ(0, run.document.groups[1].kind);
    PdfImportConverter::modeFillDraw = 0;
}

TEST(ContentInterpreter, MarkedContentWithPartPopsTheGraphicsStateOnly)
{
    // /P as the first operand of another operator (a text show of a name) changes nothing.
    ImportRun run;
    ASSERT_EQ(0, run.Run("q 2 0 0 2 0 0 cm /P gs 0 0 m 10 0 l S /P <</MCID 0>> BDC 0 0 m 10 0 l S EMC"));
    const auto lines = run.document.Of('L');
    ASSERT_EQ(2u, lines.size());
    EXPECT_NEAR(20, Length(lines[0]), 1e-9);
    EXPECT_NEAR(10, Length(lines[1]), 1e-9);
}

TEST(ContentInterpreter, TouchUpMarksRaiseTheWarningOnce)
{
    ImportRun run;
    ASSERT_EQ(0, run.Run("/TouchUp_TextEdit MP 0 0 m 1 0 l S /TouchUp_TextEdit MP 0 0 m 1 0 l S"));
    EXPECT_EQ("PDFの注釈等で編集されている図形・文字は、正しく変換できません。", run.converter->MessageText());
}

TEST(ContentInterpreter, HostileStreamsEndWithoutACrash)
{
    const std::string cases[] = {
        std::string(100000, '['),
        std::string(5000, '[') + "0 0 m",
        "0 0 m 1e308 1e308 l 1e308 0 0 1e308 0 0 cm 0 0 m 1 1 l S",
        "q q q q q q q q Q Q Q Q Q Q Q Q Q Q Q Q",
        "(unterminated",
        "<< /A [ 1 2 3",
        "BT /NoFont 12 Tf (x) Tj ET",
    };
    for (const std::string& content : cases) {
        ImportRun run;
        run.Run(content);
        for (const RecordedElement& e : run.document.elements) {
            EXPECT_TRUE(std::isfinite(e.x1) && std::isfinite(e.y1) && std::isfinite(e.x2) && std::isfinite(e.y2));
        }
    }
}
